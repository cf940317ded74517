#include "replay_script.h"

#include <cctype>
#include <charconv>
#include <optional>

#include <windows.h>

#include "common/diagnostics.h"
#include "printable_text.h"

namespace replay {
namespace {

using Words = std::vector<std::string_view>;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

// The words of a line; a word starting with '#' begins a comment.
Words SplitWords(std::string_view line)
{
    Words words;
    size_t at = 0;
    while (at < line.size()) {
        while (at < line.size() && IsBlank(line[at]))
            ++at;
        if (at == line.size() || line[at] == '#') break;
        size_t end = at;
        while (end < line.size() && !IsBlank(line[end]))
            ++end;
        words.push_back(line.substr(at, end - at));
        at = end;
    }
    return words;
}

// Words come back in errors escaped and cut: a script may hold anything,
// terminal escape sequences and megabyte-long words included.
constexpr size_t kQuotedCharacters = 40;

std::string Quoted(std::string_view word) { return "'" + PrintableText(word, kQuotedCharacters) + "'"; }

// Decimal, or hexadecimal after 0x; nothing else, not even a sign.
std::optional<uint64_t> ParseNumber(std::string_view word, uint64_t max)
{
    int base = 10;
    if (word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X')) {
        base = 16;
        word.remove_prefix(2);
    }
    if (word.empty() || !std::isxdigit(static_cast<unsigned char>(word[0]))) return std::nullopt;
    uint64_t value = 0;
    auto [end, problem] = std::from_chars(word.data(), word.data() + word.size(), value, base);
    if (problem != std::errc {} || end != word.data() + word.size() || value > max) return std::nullopt;
    return value;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::optional<unsigned> ParseKey(std::string_view word)
{
    static constexpr struct {
        std::string_view name;
        unsigned key;
    } kNames[] = { { "ESC", VK_ESCAPE }, { "UP", VK_UP }, { "DOWN", VK_DOWN }, { "F12", VK_F12 } };
    for (const auto& named : kNames)
        if (EqualsIgnoringCase(word, named.name)) return named.key;
    std::optional<uint64_t> number = ParseNumber(word, 254);
    if (!number || *number == 0) return std::nullopt;
    return unsigned(*number);
}

std::optional<unsigned> ParseAnswer(std::string_view word)
{
    if (word == "yes") return IDYES;
    if (word == "no") return IDNO;
    if (word == "ok") return IDOK;
    return std::nullopt;
}

// The platform's own names, so that the error shows what a script may use.
std::string FaultableList()
{
    std::string list = "an operation that can fail (";
    std::string_view separator;
    for (std::string_view name : platform::diagnostics::kFaultableOperations) {
        list += separator;
        list += name;
        separator = ", ";
    }
    return list + ")";
}

// Each parser fills the command from the words after the command name, or
// says what is wrong with them.
using ArgumentParser = std::optional<std::string> (*)(const Words& args, ReplayCommand& command);

std::optional<std::string> ParseFrame(const Words& args, ReplayCommand& command)
{
    if (args.size() > 0) {
        std::optional<uint64_t> frames = ParseNumber(args[0], kMaxFramesPerLine);
        if (!frames)
            return Quoted(args[0]) + " is not a number of frames (0 to " + std::to_string(kMaxFramesPerLine) + ")";
        command.count = int64_t(*frames);
    }
    if (args.size() > 1) {
        std::optional<uint64_t> milliseconds = ParseNumber(args[1], UINT32_MAX);
        if (!milliseconds) return Quoted(args[1]) + " is not a number of milliseconds (0 to 4294967295)";
        command.milliseconds = uint32_t(*milliseconds);
    }
    return std::nullopt;
}

std::optional<std::string> ParseKeyArgument(const Words& args, ReplayCommand& command)
{
    std::optional<unsigned> key = ParseKey(args[0]);
    if (!key) return Quoted(args[0]) + " is not a key (ESC, UP, DOWN, F12 or a virtual-key number 1 to 254)";
    command.value = *key;
    return std::nullopt;
}

std::optional<std::string> ParseMenu(const Words& args, ReplayCommand& command)
{
    std::optional<uint64_t> id = ParseNumber(args[0], 0xFFFF);
    if (!id) return Quoted(args[0]) + " is not a menu id (0 to 65535)";
    command.value = unsigned(*id);
    return std::nullopt;
}

std::optional<std::string> ParseMouse(const Words& args, ReplayCommand& command)
{
    std::optional<uint64_t> x = ParseNumber(args[0], 0xFFFF);
    if (!x) return Quoted(args[0]) + " is not an x position (0 to 65535)";
    std::optional<uint64_t> y = ParseNumber(args[1], 0xFFFF);
    if (!y) return Quoted(args[1]) + " is not a y position (0 to 65535)";
    command.x = int(*x);
    command.y = int(*y);
    return std::nullopt;
}

std::optional<std::string> ParseAnswerArgument(const Words& args, ReplayCommand& command)
{
    std::optional<unsigned> answer = ParseAnswer(args[0]);
    if (!answer) return Quoted(args[0]) + " is not an answer (yes, no or ok)";
    command.value = *answer;
    return std::nullopt;
}

std::optional<std::string> ParseCapture(const Words& args, ReplayCommand& command)
{
    command.word = std::string(args[0]);
    return std::nullopt;
}

std::optional<std::string> ParseRecord(const Words& args, ReplayCommand& command)
{
    command.word = std::string(args[0]);
    std::optional<uint64_t> frames = ParseNumber(args[1], kMaxRecordedFrames);
    if (!frames || *frames == 0)
        return Quoted(args[1]) + " is not a number of frames to record (1 to " + std::to_string(kMaxRecordedFrames)
            + ")";
    command.count = int64_t(*frames);
    command.milliseconds = kDefaultRecordedMilliseconds;
    if (args.size() > 2) {
        std::optional<uint64_t> milliseconds = ParseNumber(args[2], kMaxRecordedMilliseconds);
        if (!milliseconds || *milliseconds < kMinRecordedMilliseconds)
            return Quoted(args[2]) + " is not a number of milliseconds a recorded frame lasts ("
                + std::to_string(kMinRecordedMilliseconds) + " to " + std::to_string(kMaxRecordedMilliseconds) + ")";
        command.milliseconds = uint32_t(*milliseconds);
    }
    return std::nullopt;
}

std::optional<std::string> ParseFail(const Words& args, ReplayCommand& command)
{
    if (!platform::diagnostics::IsFaultableOperation(args[0])) return Quoted(args[0]) + " is not " + FaultableList();
    command.word = std::string(args[0]);
    if (args.size() > 1) {
        std::optional<uint64_t> count = ParseNumber(args[1], kMaxFailCount);
        if (!count || *count == 0)
            return Quoted(args[1]) + " is not a number of calls (1 to " + std::to_string(kMaxFailCount) + ")";
        command.count = int64_t(*count);
    }
    return std::nullopt;
}

std::optional<std::string> NoArguments(const Words&, ReplayCommand&) { return std::nullopt; }

struct CommandSyntax {
    std::string_view name;
    ReplayCommand::Kind kind;
    size_t minArgs;
    size_t maxArgs;
    std::string_view needs; // what the missing arguments are, for the error
    ArgumentParser parse;
};

constexpr CommandSyntax kCommands[] = {
    { "frame", ReplayCommand::Kind::Frame, 0, 2, "", ParseFrame },
    { "key", ReplayCommand::Kind::Key, 1, 1, "a key", ParseKeyArgument },
    { "menu", ReplayCommand::Kind::Menu, 1, 1, "a menu id", ParseMenu },
    { "mouse", ReplayCommand::Kind::Mouse, 2, 2, "X and Y", ParseMouse },
    { "close", ReplayCommand::Kind::Close, 0, 0, "", NoArguments },
    { "answer", ReplayCommand::Kind::Answer, 1, 1, "yes, no or ok", ParseAnswerArgument },
    { "lose", ReplayCommand::Kind::Lose, 0, 0, "", NoArguments },
    { "capture", ReplayCommand::Kind::Capture, 1, 1, "a file name", ParseCapture },
    { "record", ReplayCommand::Kind::Record, 2, 3, "a file name and a number of frames", ParseRecord },
    { "nosound", ReplayCommand::Kind::NoSound, 0, 0, "", NoArguments },
    { "nodisplay", ReplayCommand::Kind::NoDisplay, 0, 0, "", NoArguments },
    { "fail", ReplayCommand::Kind::Fail, 1, 2, "an operation name", ParseFail },
};

const CommandSyntax* FindCommand(std::string_view name)
{
    for (const CommandSyntax& syntax : kCommands)
        if (syntax.name == name) return &syntax;
    return nullptr;
}

// What is wrong with the line, or nothing.
std::optional<std::string> ParseLine(const Words& words, ReplayCommand& command)
{
    const CommandSyntax* syntax = FindCommand(words[0]);
    if (!syntax) return "unknown command " + Quoted(words[0]);
    Words args(words.begin() + 1, words.end());
    if (args.size() < syntax->minArgs) return std::string(syntax->name) + " needs " + std::string(syntax->needs);
    if (args.size() > syntax->maxArgs)
        return "unexpected " + Quoted(args[syntax->maxArgs]) + " after " + std::string(syntax->name);
    command.kind = syntax->kind;
    return syntax->parse(args, command);
}

bool IsStartOnly(ReplayCommand::Kind kind)
{
    return kind == ReplayCommand::Kind::NoSound || kind == ReplayCommand::Kind::NoDisplay;
}

} // namespace

std::string ScriptLimitText()
{
    static_assert(kMaxScriptBytes % (size_t { 1 } << 20) == 0, "the limit is stated in MiB");
    return std::to_string(kMaxScriptBytes >> 20) + " MiB";
}

bool ParseReplayScript(std::string_view text, std::vector<ReplayCommand>& commands, std::string& error)
{
    commands.clear();
    // Editors on Windows start UTF-8 files with one.
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
    bool framed = false;
    int lineNumber = 0;
    size_t at = 0;
    while (at <= text.size()) {
        size_t end = text.find('\n', at);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(at, end - at);
        at = end + 1;
        ++lineNumber;
        Words words = SplitWords(line);
        if (words.empty()) continue;
        ReplayCommand command;
        command.line = lineNumber;
        std::optional<std::string> problem = ParseLine(words, command);
        if (!problem && framed && IsStartOnly(command.kind))
            problem = std::string(words[0]) + " must come before the first frame";
        if (problem) {
            error = "line " + std::to_string(lineNumber) + ": " + *problem;
            commands.clear();
            return false;
        }
        framed = framed || command.DrawsFrames();
        commands.push_back(std::move(command));
    }
    return true;
}

} // namespace replay
