#include "common/diagnostics.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <map>

namespace platform::diagnostics {
namespace {

std::map<std::string, int, std::less<>>& Faults()
{
    static std::map<std::string, int, std::less<>> faults;
    return faults;
}

std::vector<std::string>& Log()
{
    static std::vector<std::string> log;
    return log;
}

} // namespace

bool IsFaultableOperation(std::string_view operation)
{
    // std::find, not std::ranges::find: the page's C++ library (Debian's
    // emscripten) has no ranges algorithms.
    return std::find(std::begin(kFaultableOperations), std::end(kFaultableOperations), operation)
        != std::end(kFaultableOperations);
}

bool ShouldFail(std::string_view operation)
{
    auto& faults = Faults();
    if (faults.empty()) return false;
    auto found = faults.find(operation);
    if (found == faults.end()) return false;
    if (--found->second <= 0) faults.erase(found);
    return true;
}

void FailNext(std::string_view operation, int count)
{
    if (count > 0) Faults()[std::string(operation)] += count;
}

void ClearFaults() { Faults().clear(); }

void DebugOutput(std::string_view line)
{
    std::fprintf(stderr, "platform: %.*s\n", static_cast<int>(line.size()), line.data());
    std::fflush(stderr);
}

void StartCallLog() { callLogOn = true; }
void StopCallLog() { callLogOn = false; }

void LogCall(std::string entry)
{
    if (callLogOn) Log().push_back(std::move(entry));
}

const std::vector<std::string>& CallLog() { return Log(); }
void ClearCallLog() { Log().clear(); }

} // namespace platform::diagnostics
