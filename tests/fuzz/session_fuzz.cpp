// libFuzzer target: whole sessions of the real program on the headless host,
// driven by replay scripts: mode switches, menu commands, keys, losses,
// mouse moves anywhere, frames with any clock step, failing operations and
// message boxes, in any order. Pixel memory ends against guard pages, so a
// loop drawing past a surface faults even where the sanitizers cannot see
// it; the program always ends with status 0.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "replay_run.h"
#include "replay_script.h"

namespace {

// Bounds that keep an input to a fraction of a second: frames are cheap,
// recorded ones are encoded as they come.
constexpr int64_t kMaxFrames = 240;
constexpr int64_t kMaxRecordedFrames = 4;

// Captures and recordings go to one scratch folder of the process's own.
const std::filesystem::path& ScratchFolder()
{
    static const std::filesystem::path folder = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "session-fuzz-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) std::abort();
        return std::filesystem::path(pattern);
    }();
    return folder;
}

// False for scripts that would take too long to be worth running.
bool Bounded(std::vector<replay::ReplayCommand>& commands)
{
    int64_t frames = 0, recorded = 0;
    for (replay::ReplayCommand& command : commands) {
        if (command.kind == replay::ReplayCommand::Kind::Frame) frames += command.count;
        if (command.kind == replay::ReplayCommand::Kind::Record) recorded += command.count;
        if (frames > kMaxFrames || recorded > kMaxRecordedFrames) return false;
        if (command.kind == replay::ReplayCommand::Kind::Capture)
            command.word = (ScratchFolder() / "capture.png").string();
        if (command.kind == replay::ReplayCommand::Kind::Record)
            command.word = (ScratchFolder() / (command.word.size() % 2 ? "a.webp" : "b.webp")).string();
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<replay::ReplayCommand> commands;
    std::string error;
    if (!replay::ParseReplayScript(std::string_view(reinterpret_cast<const char*>(data), size), commands, error))
        return 0;
    if (!Bounded(commands)) return 0;
    const replay::Result result = replay::Run(std::move(commands));
    // The program knows no other exit code.
    if (result.exitCode != 0) std::abort();
    return 0;
}
