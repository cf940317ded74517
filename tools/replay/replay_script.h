// The replay script of sample-replay: one command a line, read whole before
// anything runs so that a bad line stops the run before it starts.
//
//   frame [N] [MS]      N frames (default 1), the clock MS ms on before each (16)
//   key NAME            ESC, UP, DOWN, F12 or a virtual key 1..254 (decimal or 0x hex)
//   menu ID             menu item 0..65535 chosen
//   mouse X Y           mouse at client position (0..65535 each)
//   close               the window's close button
//   answer yes|no|ok    the answer of the next message box
//   lose                every surface is lost
//   capture FILE        the client area as PNG (FILE without blanks)
//   record FILE N [MS]  N frames (1..1000), the clock MS ms on before each
//                       (20..10000, default 40), into FILE as an animated
//                       WebP that shows each frame for MS ms; a record
//                       line naming the same FILE, with no frame drawn
//                       between, continues that animation
//   nosound, nodisplay  only before the first frame
//   fail OPERATION [N]  the next N calls (default 1) of OPERATION fail, one of
//                       platform::diagnostics::kFaultableOperations
//
// A word starting with '#' begins a comment; blank lines are ignored. A
// UTF-8 byte-order mark before the first line is skipped. A script holds at
// most kMaxScriptBytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace replay {

struct ReplayCommand {
    enum class Kind { Frame, Key, Menu, Mouse, Close, Answer, Lose, Capture, Record, NoSound, NoDisplay, Fail };
    Kind kind = Kind::Frame;
    int line = 0;
    int64_t count = 1; // Frame, Record: frames; Fail: calls to fail
    uint32_t milliseconds = 16; // Frame, Record: clock step before each frame
    unsigned value = 0; // Key: virtual key; Menu: id; Answer: IDOK, IDYES or IDNO
    int x = 0; // Mouse
    int y = 0;
    std::string word; // Capture, Record: file; Fail: operation

    bool DrawsFrames() const { return kind == Kind::Frame || kind == Kind::Record; }
};

// Far more than any session needs; a bound on what is read and held, so that
// an endless source (/dev/zero, a pipe that never closes) is refused.
inline constexpr size_t kMaxScriptBytes = size_t { 4 } << 20;
inline constexpr int64_t kMaxFramesPerLine = 10'000'000;
inline constexpr int64_t kMaxFailCount = 1'000'000;
// A recording is encoded as it is drawn; a thousand frames already take
// minutes. Browsers play frames shorter than 20 ms unevenly or slowed down.
inline constexpr int64_t kMaxRecordedFrames = 1'000;
inline constexpr uint32_t kMinRecordedMilliseconds = 20;
inline constexpr uint32_t kMaxRecordedMilliseconds = 10'000;
inline constexpr uint32_t kDefaultRecordedMilliseconds = 40;

// "4 MiB": the limit above, for messages and the usage line.
std::string ScriptLimitText();

// False with `error` = "line N: what is wrong" at the first bad line.
bool ParseReplayScript(std::string_view text, std::vector<ReplayCommand>& commands, std::string& error);

} // namespace replay
