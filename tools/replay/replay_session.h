// A parsed replay script played against the headless host: the commands run
// in script order, a `frame` line at a time, as the program goes idle.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "animation_writer.h"
#include "host/headless/headless_host.h"
#include "replay_script.h"

namespace replay {

using platform::host::HeadlessHost;

class ReplaySession {
public:
    // Idle turns the program gets after the script closed its window, before
    // the run is given up as hung.
    static constexpr int kGraceTurns = 10'000;
    static constexpr uint32_t kGraceMilliseconds = 16;

    ReplaySession(
        HeadlessHost& host, std::vector<ReplayCommand> commands, std::function<void(const std::string&)> printLine);
    ~ReplaySession();
    ReplaySession(const ReplaySession&) = delete;
    ReplaySession& operator=(const ReplaySession&) = delete;

    // Takes over the host's idle turns and output, and runs the commands
    // that come before the first frame.
    void Begin();
    // The program has ended with `exitCode`: the closing lines of output.
    void Finish(int exitCode);

    const std::vector<std::string>& Output() const { return output; }
    // Problems the run went on after ("line 4: cannot write ...").
    const std::vector<std::string>& Errors() const { return errors; }

private:
    bool OnBudgetSpent();
    void RunUntilFrame(bool includingFrame);
    void Run(const ReplayCommand& command);
    void Capture(const ReplayCommand& command);
    void StartRecording(const ReplayCommand& command);
    bool RecordFrame();
    void FinishRecording();
    void Spoil(const ReplayCommand& command, const std::string& reason);
    bool GraceTurn();
    void Emit(const std::string& line);

    HeadlessHost& host;
    std::vector<ReplayCommand> commands;
    std::function<void(const std::string&)> printLine;
    size_t next = 0;
    // The animation of the last `record` line, open until a frame is drawn
    // for something else; its frames are let through one budget each.
    struct Recording {
        const ReplayCommand* command = nullptr;
        int64_t framesLeft = 0; // of its line, the one on its way included
        bool spoilt = false;
        replay::AnimationWriter writer;
    };
    std::unique_ptr<Recording> recording;
    bool closeSent = false;
    int graceTurns = 0;
    std::vector<std::string> output;
    std::vector<std::string> errors;
};

} // namespace replay
