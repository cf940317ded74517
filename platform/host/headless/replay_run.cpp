// Running the program under a replay script. Kept in a file of its own: it is
// the only part of the headless host that needs the program's WinMain, so
// tests that do not replay link without the program.
#include "testing.h"

#include "host/headless/headless_host.h"
#include "host/headless/replay_session.h"

namespace headless {

bool RunReplay(const std::string& script, ReplayResult& result, std::string& error,
    const std::function<void(const std::string&)>& printLine)
{
    std::vector<platform::host::ReplayCommand> commands;
    if (!platform::host::ParseReplayScript(script, commands, error)) return false;

    Reset();
    result = ReplayResult {};
    platform::host::HeadlessHost& host = platform::host::TheHeadlessHost();
    platform::host::ReplaySession session(host, std::move(commands), printLine);
    session.Begin();
    char noArguments[] = "";
    int exitCode = WinMain(GetModuleHandleA(nullptr), nullptr, noArguments, SW_SHOWDEFAULT);
    session.Finish(exitCode);

    result.exitCode = exitCode;
    result.frames = host.FramesDrawn();
    result.output = session.Output();
    result.errors = session.Errors();
    return true;
}

} // namespace headless
