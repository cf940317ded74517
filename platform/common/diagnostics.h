// Fault injection and the call log: how tests make a platform operation fail
// and see which operations the program called, in which order. Both cost a
// branch when unused, so the hot paths may consult them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform::diagnostics {

// Every operation that can be made to fail, by the name its ShouldFail asks
// with: the Win32 / COM method's name, or a narrower case of it in brackets.
// What arms a fault from outside (a replay script) checks names against it.
inline constexpr std::string_view kFaultableOperations[] = {
    "CreateClipper",
    "CreateSurface",
    "CreateSurface(backbuffer)", // only that kind of surface
    "CreateSurface(offscreen)",
    "CreateSurface(primary)",
    "DirectDrawCreate",
    "DirectSoundCreate",
    "DirectSoundSetCooperativeLevel",
    "GetDC",
    "LoadImageA",
    "Lock",
    "LockStillDrawing", // a Lock without DDLOCK_WAIT: DDERR_WASSTILLDRAWING
    "SetDisplayMode",
};
bool IsFaultableOperation(std::string_view operation);

// True when the next call of `operation` is to fail (and counts it down).
bool ShouldFail(std::string_view operation);
void FailNext(std::string_view operation, int count);
void ClearFaults();

// A line on standard error for the user, as OutputDebugString would give a
// Windows program's debugger: "platform: " and the text.
void DebugOutput(std::string_view line);

// The log is off until a test starts it. Entries look like
// "CreateSurface(primary)" or "Restore(backbuffer)".
// A plain flag, read inline: every blit asks.
inline bool callLogOn = false;
inline bool CallLogEnabled() { return callLogOn; }
void StartCallLog();
void StopCallLog();
void LogCall(std::string entry);
const std::vector<std::string>& CallLog();
void ClearCallLog();

} // namespace platform::diagnostics
