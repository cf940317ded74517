// Kept in a file of its own: it is the only part of the replay runner that
// needs the program's WinMain, so tests of the rest link without the program.
#include "replay_run.h"

#include "host/headless/headless_host.h"
#include "replay_session.h"
#include "testing/testing.h"

namespace replay {

bool Run(const std::string& script, Result& result, std::string& error,
    const std::function<void(const std::string&)>& printLine)
{
    std::vector<ReplayCommand> commands;
    if (!ParseReplayScript(script, commands, error)) return false;
    result = Run(std::move(commands), printLine);
    return true;
}

Result Run(std::vector<ReplayCommand> commands, const std::function<void(const std::string&)>& printLine)
{
    headless::Reset();
    HeadlessHost& host = platform::host::TheHeadlessHost();
    ReplaySession session(host, std::move(commands), printLine);
    session.Begin();
    char noArguments[] = "";
    const int exitCode = WinMain(GetModuleHandleA(nullptr), nullptr, noArguments, SW_SHOWDEFAULT);
    session.Finish(exitCode);

    Result result;
    result.exitCode = exitCode;
    result.frames = host.FramesDrawn();
    result.output = session.Output();
    result.errors = session.Errors();
    return result;
}

} // namespace replay
