#include "replay_session.h"

#include <cstdio>
#include <cstdlib>

#include "common/diagnostics.h"
#include "file_replacement.h"
#include "printable_text.h"

namespace replay {
namespace {

using platform::host::InputEvent;

// File names come from the script and may hold anything.
constexpr size_t kShownNameCharacters = 80;

InputEvent Event(InputEvent::Kind kind)
{
    InputEvent event;
    event.kind = kind;
    return event;
}

InputEvent KeyEvent(unsigned virtualKey)
{
    InputEvent event = Event(InputEvent::Kind::KeyDown);
    event.virtualKey = virtualKey;
    event.alt = virtualKey == VK_MENU;
    return event;
}

// A key is pressed and released: Alt and F10 open the menu on release.
InputEvent KeyUpEvent(unsigned virtualKey)
{
    InputEvent event = Event(InputEvent::Kind::KeyUp);
    event.virtualKey = virtualKey;
    return event;
}

InputEvent MouseEvent(int x, int y)
{
    InputEvent event = Event(InputEvent::Kind::MouseMove);
    event.x = x;
    event.y = y;
    return event;
}

} // namespace

ReplaySession::ReplaySession(
    HeadlessHost& host, std::vector<ReplayCommand> commands, std::function<void(const std::string&)> printLine)
    : host(host)
    , commands(std::move(commands))
    , printLine(std::move(printLine))
{
}

ReplaySession::~ReplaySession()
{
    // The host outlives the session; it must not call back into it.
    host.SetBudgetSpentHandler({});
    host.SetOutputSink({});
    host.SetModalStarvedHandler({});
}

void ReplaySession::Begin()
{
    host.SetOutputSink([this](const std::string& line) { Emit(line); });
    host.SetBudgetSpentHandler([this] { return OnBudgetSpent(); });
    // An open menu takes the script's next input; the frames of it wait.
    host.SetModalStarvedHandler([this] {
        if (next >= commands.size()) return false;
        RunUntilFrame(true);
        return true;
    });
    RunUntilFrame(false);
}

void ReplaySession::Finish(int exitCode)
{
    // A recording still open (the program ended during it) keeps what it drew.
    FinishRecording();
    Emit("frames " + std::to_string(host.FramesDrawn()));
    Emit("exit " + std::to_string(exitCode));
}

// The frames themselves come on the following idle turns: returning false
// first lets the input just pushed reach the message queue.
bool ReplaySession::OnBudgetSpent()
{
    if (recording && recording->framesLeft > 0 && RecordFrame()) return false;
    if (next < commands.size()) {
        RunUntilFrame(true);
        return false;
    }
    FinishRecording();
    if (!closeSent) {
        closeSent = true;
        host.PushInput(Event(InputEvent::Kind::Close));
        return false;
    }
    return GraceTurn();
}

void ReplaySession::RunUntilFrame(bool includingFrame)
{
    while (next < commands.size()) {
        const ReplayCommand& command = commands[next];
        bool isFrame = command.DrawsFrames();
        if (isFrame && !includingFrame) return;
        ++next;
        Run(command);
        if (isFrame) return;
    }
}

void ReplaySession::Run(const ReplayCommand& command)
{
    switch (command.kind) {
    case ReplayCommand::Kind::Frame:
        FinishRecording();
        host.SetFrameBudget(command.count, command.milliseconds);
        break;
    case ReplayCommand::Kind::Key:
        host.PushInput(KeyEvent(command.value));
        host.PushInput(KeyUpEvent(command.value));
        break;
    case ReplayCommand::Kind::Menu:
        host.PushMenuCommand(int(command.value));
        break;
    case ReplayCommand::Kind::Mouse:
        host.PushInput(MouseEvent(command.x, command.y));
        break;
    case ReplayCommand::Kind::Close:
        host.PushInput(Event(InputEvent::Kind::Close));
        break;
    case ReplayCommand::Kind::Answer:
        host.QueueAnswer(int(command.value));
        break;
    case ReplayCommand::Kind::Lose:
        host.PushInput(Event(InputEvent::Kind::DisplayLost));
        break;
    case ReplayCommand::Kind::Capture:
        Capture(command);
        break;
    case ReplayCommand::Kind::Record:
        StartRecording(command);
        break;
    case ReplayCommand::Kind::NoSound:
        host.SetNoSound();
        break;
    case ReplayCommand::Kind::NoDisplay:
        host.SetNoDisplay();
        break;
    case ReplayCommand::Kind::Fail:
        platform::diagnostics::FailNext(command.word, int(command.count));
        break;
    }
}

// A capture or recording that cannot be written spoils the run's result,
// not the run.
void ReplaySession::Spoil(const ReplayCommand& command, const std::string& reason)
{
    errors.push_back("line " + std::to_string(command.line) + ": cannot write "
        + PrintableText(command.word, kShownNameCharacters) + ": " + reason);
}

void ReplaySession::Capture(const ReplayCommand& command)
{
    std::vector<uint8_t> png;
    std::string reason;
    if (!headless::EncodePng(host.CaptureScreen(), png, &reason) || !ReplaceFile(command.word, png, reason))
        Spoil(command, reason);
}

// The frames of a recording are let through one at a time, so that each is
// captured as soon as it is shown. A `record` line naming the file of the
// recording just drawn, with no other frame between, continues it: the
// input lines between them show in the animation.
void ReplaySession::StartRecording(const ReplayCommand& command)
{
    bool continues = recording && recording->command->word == command.word;
    if (!continues) {
        FinishRecording();
        recording = std::make_unique<Recording>();
        std::string reason;
        if (!recording->writer.Open(command.word, reason)) {
            recording->spoilt = true;
            Spoil(command, reason);
        }
    }
    recording->command = &command;
    recording->framesLeft = command.count;
    host.SetFrameBudget(1, command.milliseconds);
}

// After each frame of a recording: false once the line's frames are drawn.
bool ReplaySession::RecordFrame()
{
    const ReplayCommand& command = *recording->command;
    std::string reason;
    if (!recording->spoilt && !recording->writer.Add(host.CaptureScreen(), command.milliseconds, reason)) {
        recording->spoilt = true;
        Spoil(command, reason);
    }
    if (--recording->framesLeft == 0) return false;
    host.SetFrameBudget(1, command.milliseconds);
    return true;
}

void ReplaySession::FinishRecording()
{
    if (!recording) return;
    std::string reason;
    if (!recording->spoilt && !recording->writer.Finish(reason)) Spoil(*recording->command, reason);
    recording.reset();
}

// The window was closed and the program still runs: let it draw, but not for
// ever, and there is no unwinding WinMain from here.
bool ReplaySession::GraceTurn()
{
    if (++graceTurns > kGraceTurns) {
        for (const std::string& error : errors)
            std::fprintf(stderr, "sample-replay: %s\n", error.c_str());
        std::fputs("sample-replay: the program did not end after the window was closed\n", stderr);
        std::fflush(stdout);
        std::exit(3);
    }
    host.AdvanceClock(kGraceMilliseconds);
    host.CountFrame();
    return true;
}

void ReplaySession::Emit(const std::string& line)
{
    output.push_back(line);
    if (printLine) printLine(line);
}

} // namespace replay
