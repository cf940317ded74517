// Running the program under a replay script, the format of sample-replay.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "replay_script.h"

namespace replay {

// Lines of output (message boxes, then "frames N" and "exit CODE") go to
// `output`, and to `printLine` as they come.
struct Result {
    int exitCode = 0;
    int frames = 0;
    std::vector<std::string> output;
    // Problems the run went on after ("line 4: cannot write x.png: ..."):
    // the run's result is spoilt, so sample-replay then ends with status 2.
    std::vector<std::string> errors;
};

// Runs WinMain on the headless host. Returns false with `error` set
// ("line 3: ...") when the script is bad; nothing is run then.
bool Run(const std::string& script, Result& result, std::string& error,
    const std::function<void(const std::string&)>& printLine = {});
// The same with the script already parsed.
Result Run(std::vector<ReplayCommand> commands, const std::function<void(const std::string&)>& printLine = {});

} // namespace replay
