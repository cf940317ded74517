// The replay script parser: what it accepts, and the line it blames.
#include "replay_script.h"

#include <gtest/gtest.h>

#include <windows.h>

#include "common/diagnostics.h"

namespace {

using replay::ParseReplayScript;
using replay::ReplayCommand;
using Kind = ReplayCommand::Kind;

std::vector<ReplayCommand> ParseGood(const std::string& text)
{
    std::vector<ReplayCommand> commands;
    std::string error;
    EXPECT_TRUE(ParseReplayScript(text, commands, error)) << error;
    return commands;
}

std::string ParseBad(const std::string& text)
{
    std::vector<ReplayCommand> commands { ReplayCommand {} };
    std::string error;
    EXPECT_FALSE(ParseReplayScript(text, commands, error)) << text;
    EXPECT_TRUE(commands.empty()) << "a rejected script must leave nothing to run";
    return error;
}

TEST(ReplayScript, FrameTakesDefaultsAndExplicitValues)
{
    auto commands = ParseGood("frame\nframe 0\nframe 10000000 4294967295\nframe 0x10 0\n");
    ASSERT_EQ(commands.size(), 4u);
    EXPECT_EQ(commands[0].count, 1);
    EXPECT_EQ(commands[0].milliseconds, 16u);
    EXPECT_EQ(commands[1].count, 0);
    EXPECT_EQ(commands[2].count, 10000000);
    EXPECT_EQ(commands[2].milliseconds, 4294967295u);
    EXPECT_EQ(commands[3].count, 16);
    EXPECT_EQ(commands[3].milliseconds, 0u);
}

TEST(ReplayScript, RecordTakesAFileFramesAndOptionalMilliseconds)
{
    auto commands = ParseGood("record a.webp 1\nrecord b/c.webp 1000 10000\nrecord d.webp 0x10 20\n");
    ASSERT_EQ(commands.size(), 3u);
    EXPECT_EQ(commands[0].kind, Kind::Record);
    EXPECT_EQ(commands[0].word, "a.webp");
    EXPECT_EQ(commands[0].count, 1);
    EXPECT_EQ(commands[0].milliseconds, 40u);
    EXPECT_EQ(commands[1].word, "b/c.webp");
    EXPECT_EQ(commands[1].count, 1000);
    EXPECT_EQ(commands[1].milliseconds, 10000u);
    EXPECT_EQ(commands[2].count, 16);
    EXPECT_EQ(commands[2].milliseconds, 20u);
}

TEST(ReplayScript, ReadsEveryCommandWithItsLineNumber)
{
    auto commands = ParseGood("# start\n"
                              "nosound\n"
                              "  nodisplay  \n"
                              "\n"
                              "key ESC\n"
                              "key up\n"
                              "key 0x7B\n"
                              "key 254 # the last key\n"
                              "menu 40001\n"
                              "mouse 0 65535\n"
                              "answer yes\r\n"
                              "close\n"
                              "lose\n"
                              "capture shots/a#1.png\n"
                              "fail GetDC\n"
                              "fail DirectDrawCreate 3\n"
                              "frame");
    ASSERT_EQ(commands.size(), 15u);
    EXPECT_EQ(commands[0].kind, Kind::NoSound);
    EXPECT_EQ(commands[0].line, 2);
    EXPECT_EQ(commands[1].kind, Kind::NoDisplay);
    EXPECT_EQ(commands[2].value, unsigned(VK_ESCAPE));
    EXPECT_EQ(commands[2].line, 5);
    EXPECT_EQ(commands[3].value, unsigned(VK_UP));
    EXPECT_EQ(commands[4].value, unsigned(VK_F12));
    EXPECT_EQ(commands[5].value, 254u);
    EXPECT_EQ(commands[6].kind, Kind::Menu);
    EXPECT_EQ(commands[6].value, 40001u);
    EXPECT_EQ(commands[7].x, 0);
    EXPECT_EQ(commands[7].y, 65535);
    EXPECT_EQ(commands[8].value, unsigned(IDYES));
    EXPECT_EQ(commands[9].kind, Kind::Close);
    EXPECT_EQ(commands[10].kind, Kind::Lose);
    EXPECT_EQ(commands[11].word, "shots/a#1.png");
    EXPECT_EQ(commands[12].word, "GetDC");
    EXPECT_EQ(commands[12].count, 1);
    EXPECT_EQ(commands[13].count, 3);
    EXPECT_EQ(commands[14].kind, Kind::Frame);
    EXPECT_EQ(commands[14].line, 17);
}

TEST(ReplayScript, EmptyAndCommentOnlyScriptsHaveNoCommands)
{
    EXPECT_TRUE(ParseGood("").empty());
    EXPECT_TRUE(ParseGood("\n  \t\n# nothing\n   # still nothing\n").empty());
}

TEST(ReplayScript, RejectsBadLinesNamingTheLine)
{
    const struct {
        const char* script;
        const char* error;
    } cases[] = {
        { "frame\nframe x\n", "line 2: 'x' is not a number of frames" },
        { "frame -1", "line 1: '-1' is not a number of frames" },
        { "frame 10000001", "line 1: '10000001' is not a number of frames" },
        { "frame 1 4294967296", "line 1: '4294967296' is not a number of milliseconds" },
        { "frame 1 2 3", "line 1: unexpected '3' after frame" },
        { "key", "line 1: key needs a key" },
        { "key 0", "line 1: '0' is not a key" },
        { "key 255", "line 1: '255' is not a key" },
        { "key ENTER", "line 1: 'ENTER' is not a key" },
        { "menu 65536", "line 1: '65536' is not a menu id" },
        { "menu 0x", "line 1: '0x' is not a menu id" },
        { "mouse 3", "line 1: mouse needs X and Y" },
        { "mouse 3 65536", "line 1: '65536' is not a y position" },
        { "mouse +3 4", "line 1: '+3' is not an x position" },
        { "answer maybe", "line 1: 'maybe' is not an answer" },
        { "close now", "line 1: unexpected 'now' after close" },
        { "capture", "line 1: capture needs a file name" },
        { "capture a b", "line 1: unexpected 'b' after capture" },
        { "fail", "line 1: fail needs an operation name" },
        { "fail Get-DC", "line 1: 'Get-DC' is not an operation that can fail (CreateClipper, CreateSurface, " },
        { "frame\nfail NoSuchOperation 2", "line 2: 'NoSuchOperation' is not an operation that can fail" },
        { "fail getdc", "line 1: 'getdc' is not an operation that can fail" },
        { "fail GetDC 0", "line 1: '0' is not a number of calls" },
        { "record a.webp", "line 1: record needs a file name and a number of frames" },
        { "record a.webp 0", "line 1: '0' is not a number of frames to record (1 to 1000)" },
        { "record a.webp 1001", "line 1: '1001' is not a number of frames to record (1 to 1000)" },
        { "record a.webp 10 19", "line 1: '19' is not a number of milliseconds a recorded frame lasts (20 to 10000)" },
        { "record a.webp 10 10001", "line 1: '10001' is not a number of milliseconds a recorded frame lasts" },
        { "record a.webp 10 40 x", "line 1: unexpected 'x' after record" },
        { "frame 2\nnodisplay", "line 2: nodisplay must come before the first frame" },
        { "record a.webp 1\nnosound", "line 2: nosound must come before the first frame" },
        { "frame 0\n\nnosound", "line 3: nosound must come before the first frame" },
        { "Frame", "line 1: unknown command 'Frame'" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseBad(c.script).rfind(c.error, 0), 0u) << ParseBad(c.script);
}

// Editors on Windows start a UTF-8 file with a byte-order mark; only there
// is it skipped, and the line numbers stay those of the file.
TEST(ReplayScript, AByteOrderMarkBeforeTheFirstLineIsSkipped)
{
    auto commands = ParseGood("\xEF\xBB\xBF"
                              "frame 2\nkey ESC\n");
    ASSERT_EQ(commands.size(), 2u);
    EXPECT_EQ(commands[0].kind, Kind::Frame);
    EXPECT_EQ(commands[0].line, 1);
    EXPECT_EQ(commands[1].line, 2);
    EXPECT_EQ(ParseBad("frame\n\xEF\xBB\xBF"
                       "frame\n"),
        "line 2: unknown command '\xEF\xBB\xBF"
        "frame'");
}

// The names a script may fail are the platform's own list, every one of them.
TEST(ReplayScript, FailTakesEveryOperationThePlatformCanFail)
{
    for (std::string_view name : platform::diagnostics::kFaultableOperations) {
        auto commands = ParseGood("fail " + std::string(name) + " 2\n");
        ASSERT_EQ(commands.size(), 1u);
        EXPECT_EQ(commands[0].word, name);
        EXPECT_EQ(commands[0].count, 2);
    }
}

TEST(ReplayScript, BlamesTheFirstBadLine)
{
    EXPECT_EQ(ParseBad("frame\n# fine\nkey 999\nbogus\n").rfind("line 3: ", 0), 0u);
}

// A script may hold terminal escape sequences and endless words; errors
// quote them escaped and cut, so they reach a terminal harmless and short.
TEST(ReplayScript, QuotesHostileWordsEscapedAndCut)
{
    EXPECT_EQ(ParseBad("key \x1b[2J\x07\n"),
        "line 1: '\\x1B[2J\\x07' is not a key (ESC, UP, DOWN, F12 or a "
        "virtual-key number 1 to 254)");
    std::string error = ParseBad("frame " + std::string(1'000'000, '9') + "\n");
    EXPECT_LT(error.size(), 200u);
    EXPECT_NE(error.find("'9999999999999999999999999999999999999999...'"), std::string::npos) << error;
    EXPECT_EQ(ParseBad("\xff\xfe\n"), "line 1: unknown command '\\xFF\\xFE'");
}

} // namespace
