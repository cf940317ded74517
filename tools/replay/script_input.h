// Reading a replay script from a file, a device or standard input, within
// kMaxScriptBytes: a source that never ends (/dev/zero, a pipe left open) is
// refused once the limit is passed, having held no more than the limit.
#pragma once

#include <string>

#include "replay_script.h"

namespace replay {

// The whole of what `descriptor` gives, up to its end. False with `error`
// set ("larger than 4 MiB", or the system's reason) otherwise.
bool ReadScriptFrom(int descriptor, std::string& text, std::string& error);

// The file `path` names; a directory is refused. False with `error` set
// ("cannot read PATH: ...").
bool ReadScriptFile(const std::string& path, std::string& text, std::string& error);

} // namespace replay
