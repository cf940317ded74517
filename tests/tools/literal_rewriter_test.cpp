// The program's literals as code page 932 bytes: only plain string
// literals change, each line stays where it was, and what cannot be copied
// faithfully is refused with its line.
#include "literal_rewriter.h"

#include <gtest/gtest.h>

#include <map>

namespace {

// A few characters with their code page 932 bytes, enough to see where
// each one went; anything else is refused.
bool FakeEncode(std::string_view utf8, std::string& codePage)
{
    static const std::map<std::string, std::string> known
        = { { "終", "\x8F\x49" }, { "了", "\x97\xB9" }, { "ソ", "\x83\x5C" }, { "ｽ", "\xBD" }, { "１", "\x82\x50" } };
    codePage.clear();
    size_t at = 0;
    while (at < utf8.size()) {
        size_t length = static_cast<unsigned char>(utf8[at]) >= 0xE0 ? 3 : 2;
        auto found = known.find(std::string(utf8.substr(at, length)));
        if (found == known.end()) return false;
        codePage += found->second;
        at += length;
    }
    return true;
}

std::string Rewritten(std::string_view source)
{
    std::string out, error;
    EXPECT_TRUE(literals::RewriteLiterals(source, FakeEncode, out, error)) << error;
    return out;
}

std::string Refusal(std::string_view source)
{
    std::string out, error;
    EXPECT_FALSE(literals::RewriteLiterals(source, FakeEncode, out, error)) << "accepted: " << out;
    return error;
}

TEST(LiteralRewriter, JapaneseTextBecomesOctalEscapesOfItsBytes)
{
    EXPECT_EQ(Rewritten("MessageBoxA(w, \"終了\", \"\", MB_OK);\n"),
        "MessageBoxA(w, \"\\217\\111\\227\\271\", \"\", MB_OK);\n");
    // Three octal digits each: a digit after the text stays a digit, and a
    // second byte 0x5C is no backslash any more.
    EXPECT_EQ(Rewritten("\"ｽ１2\\n\""), "\"\\275\\202\\1202\\n\"");
    EXPECT_EQ(Rewritten("\"ソ\""), "\"\\203\\134\"");
    // Escapes of the source are kept as written, an escaped quote included.
    EXPECT_EQ(Rewritten("\"a\\\"終\\x41\""), "\"a\\\"\\217\\111\\x41\"");
}

TEST(LiteralRewriter, EverythingElseIsCopiedAsItIs)
{
    const std::string source = "#include \"shell/input.h\"\n"
                               "// 終了: a comment keeps its UTF-8\n"
                               "/* ソ\n   and on */ int x = 10'000; char c = '\\'';\n"
                               "const char* r = R\"x(\"quoted\")x\";\n";
    EXPECT_EQ(Rewritten(source), source);
}

// Their encoding is their own under either compiler: UTF-8, UTF-16, UTF-32.
TEST(LiteralRewriter, WideAndUtf8LiteralsAreCopiedAsTheyStand)
{
    const std::string source = "auto a = u8\"終了\"; auto b = L\"終\"; auto c = u\"ｽ\\\"\"; \"終\";\n";
    EXPECT_EQ(Rewritten(source), "auto a = u8\"終了\"; auto b = L\"終\"; auto c = u\"ｽ\\\"\"; \"\\217\\111\";\n");
}

TEST(LiteralRewriter, WhatCannotBeCopiedFaithfullyIsRefusedWithItsLine)
{
    EXPECT_EQ(Refusal("int a;\nint 終 = 0;\n"), "line 2: non-ASCII text outside a string literal or comment");
    EXPECT_EQ(Refusal("char c = '終';"), "line 1: non-ASCII text in a character literal");
    EXPECT_EQ(Refusal("\n\nauto s = R\"(終)\";"), "line 3: non-ASCII text in a raw string literal");
    EXPECT_EQ(Refusal("\"漢\""), "line 1: text that code page 932 cannot hold, or that is not UTF-8");
    EXPECT_EQ(Refusal("\"\xE7\x5C\""), "line 1: text that code page 932 cannot hold, or that is not UTF-8");
    EXPECT_EQ(Refusal("\"abc\nx\""), "line 1: a string literal is not closed");
    EXPECT_EQ(Refusal("x; /* open"), "line 1: a comment is not closed");
    EXPECT_EQ(Refusal("R\"x(abc)y\""), "line 1: a raw string literal is not closed");
    EXPECT_EQ(Refusal("\"abc\\"), "line 1: a string literal is not closed");
}

} // namespace
