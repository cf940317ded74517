// The resource-script reader: what it understands, and the clear errors for
// what it does not.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "rc_error.h"
#include "rc_parser.h"

namespace {

using rc::ParseScript;
using rc::RcError;

// The message of the error the script raises, or "" when it parses.
std::string ErrorOf(const std::string& script)
{
    try {
        ParseScript(script, "test.rc");
    } catch (const RcError& error) {
        return error.what();
    }
    return "";
}

TEST(RcParser, ReadsNestedMenusWithDefinedIdsAndSeparators)
{
    auto script = ParseScript("#pragma code_page(65001)\n"
                              "#include <windows.h>\n"
                              "#define IDM_OPEN 0x9C41 // 40001\n"
                              "#define MAIN 7\n"
                              "LANGUAGE LANG_JAPANESE, SUBLANG_DEFAULT\n"
                              "MAIN MENU DISCARDABLE\n"
                              "BEGIN\n"
                              "  POPUP \"ﾌｧｲﾙ(&F)\" {\n"
                              "    MENUITEM \"開く\", IDM_OPEN\n"
                              "    POPUP \"Sub\" BEGIN MENUITEM \"Deep\", 5 END\n"
                              "    MENUITEM SEPARATOR\n"
                              "  }\n"
                              "END\n"
                              "/* a comment */ 3 ICON \"a.ico\"\n",
        "test.rc");
    ASSERT_EQ(script.menus.size(), 1u);
    EXPECT_EQ(script.menus[0].id, 7);
    const auto& items = script.menus[0].items;
    ASSERT_EQ(items.size(), 5u);
    EXPECT_TRUE(items[0].popup);
    EXPECT_EQ(items[0].depth, 0);
    EXPECT_EQ(items[0].text, "ﾌｧｲﾙ(&F)");
    EXPECT_EQ(items[1].text, "開く");
    EXPECT_EQ(items[1].id, 40001);
    EXPECT_EQ(items[1].depth, 1);
    EXPECT_TRUE(items[2].popup);
    EXPECT_EQ(items[3].depth, 2);
    EXPECT_EQ(items[3].id, 5);
    EXPECT_TRUE(items[4].separator);
    EXPECT_EQ(items[4].depth, 1);
    ASSERT_EQ(script.icons.size(), 1u);
    EXPECT_EQ(script.icons[0].id, 3);
    EXPECT_EQ(script.icons[0].file, "a.ico");
    EXPECT_EQ(script.icons[0].line, 14);
}

TEST(RcParser, DoubledQuotesAndEscapesInTexts)
{
    auto script = ParseScript("1 MENU BEGIN MENUITEM \"say \"\"hi\"\"\\tnow\", 2 END", "test.rc");
    EXPECT_EQ(script.menus[0].items[0].text, "say \"hi\"\tnow");
}

TEST(RcParser, ErrorsNameTheLine)
{
    EXPECT_EQ(ErrorOf("1 MENU\nBEGIN\n  MENUITEM \"a\", 2\n  BOGUS\nEND\n"),
        "test.rc:4: expected POPUP, MENUITEM or END, found 'BOGUS'");
    EXPECT_EQ(ErrorOf("1 MENU\nBEGIN\n  POPUP \"a\"\n  BEGIN\n"),
        "test.rc:5: expected POPUP, MENUITEM or END, found the end of the script");
    EXPECT_EQ(ErrorOf("\n\n1 MENU BEGIN MENUITEM \"open\n END"), "test.rc:3: unterminated string");
    EXPECT_EQ(ErrorOf("1 MENU BEGIN MENUITEM \"a\", IDM_NOPE END"), "test.rc:1: 'IDM_NOPE' is not a defined number");
}

TEST(RcParser, RejectsWhatItCannotRepresent)
{
    EXPECT_NE(ErrorOf("1 DIALOG BEGIN END").find("unsupported resource type 'DIALOG'"), std::string::npos);
    EXPECT_NE(ErrorOf("1 MENU BEGIN MENUITEM \"a\", 2, CHECKED END").find("CHECKED"), std::string::npos);
    EXPECT_NE(ErrorOf("#ifdef X\n1 ICON \"a.ico\"\n#endif\n").find("unsupported preprocessor line '#ifdef X'"),
        std::string::npos);
    EXPECT_NE(ErrorOf("#pragma code_page(932)\n").find("only #pragma code_page(65001)"), std::string::npos);
    EXPECT_NE(
        ErrorOf("1 ICON \"a.ico\"\n1 ICON \"b.ico\"\n").find("test.rc:2: icon 1 is defined twice"), std::string::npos);
    EXPECT_NE(ErrorOf("1 MENU BEGIN MENUITEM \"a\", 70000 END").find("above 65535"), std::string::npos);
}

// Headers in memory, by name; a name it does not know is a missing file.
rc::IncludeLoader Headers(std::map<std::string, std::string> files)
{
    return [files](const std::string& name, const std::string& where) {
        auto file = files.find(name);
        if (file == files.end()) throw RcError(where + ": cannot find \"" + name + "\"");
        return rc::IncludedFile { name, file->second };
    };
}

// The two headers include each other: each is taken once, and the script
// sees the defines of both.
TEST(RcParser, TakesIdsFromIncludedHeaders)
{
    auto headers = Headers({ { "resource.h",
                                 "// shared ids\n#pragma once\n#define IDM_MAIN 102\n"
                                 "#include \"commands.h\"\n" },
        { "commands.h", "#include \"resource.h\"\n#define IDM_EXIT 40001\n/* more */\n" } });
    auto script = ParseScript("#include <windows.h>\n#include \"resource.h\"\n#include \"resource.h\"\n"
                              "IDM_MAIN MENU BEGIN MENUITEM \"Exit\", IDM_EXIT END\n",
        "test.rc", headers);
    ASSERT_EQ(script.menus.size(), 1u);
    EXPECT_EQ(script.menus[0].id, 102);
    EXPECT_EQ(script.menus[0].items[0].id, 40001);
}

TEST(RcParser, HeaderErrorsNameTheHeaderAndItsLine)
{
    auto headers = Headers({ { "bad.h", "#define A 1\n1 ICON \"a.ico\"\n" }, { "big.h", "\n#define A 70000\n" } });
    auto errorWith = [&](const std::string& script) {
        try {
            ParseScript(script, "test.rc", headers);
        } catch (const RcError& error) {
            return std::string(error.what());
        }
        return std::string();
    };
    EXPECT_EQ(
        errorWith("#include \"bad.h\"\n"), "bad.h:2: only preprocessor lines may stand in an included file, found '1'");
    EXPECT_EQ(errorWith("#include \"big.h\"\n"), "big.h:2: #define value '70000' is not a number from 0 to 65535");
    EXPECT_EQ(errorWith("\n#include \"gone.h\"\n"), "test.rc:2: cannot find \"gone.h\"");
    EXPECT_EQ(ErrorOf("#include \"resource.h\"\n"), "test.rc:1: cannot include \"resource.h\" here");
}

// Without the pragma, Windows' resource compiler would read the bytes in
// another code page and store different texts.
TEST(RcParser, RequiresTheUtf8PragmaBeforeJapaneseText)
{
    EXPECT_EQ(
        ErrorOf("1 MENU BEGIN MENUITEM \"終了\", 2 END"), "test.rc:1: non-ASCII text before #pragma code_page(65001)");
    EXPECT_EQ(ErrorOf("#pragma code_page(65001)\n1 MENU BEGIN MENUITEM \"終了\", 2 END"), "");
}

} // namespace
