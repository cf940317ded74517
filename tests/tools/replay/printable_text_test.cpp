// Text from scripts and file names on its way to a terminal.
#include "printable_text.h"

#include <gtest/gtest.h>

namespace {

using replay::PrintableText;

TEST(PrintableText, KeepsPrintableAsciiAndUtf8)
{
    EXPECT_EQ(PrintableText("capture a b.png"), "capture a b.png");
    EXPECT_EQ(PrintableText("背景１ ｽﾞｰﾑ é 😀"), "背景１ ｽﾞｰﾑ é 😀");
}

TEST(PrintableText, EscapesControlsAndBrokenUtf8ByteByByte)
{
    EXPECT_EQ(PrintableText(std::string("\x1b[31m\t\n\x7f\0", 9)), "\\x1B[31m\\x09\\x0A\\x7F\\x00");
    // C1 controls (U+009B is a CSI on some terminals), overlong forms,
    // surrogates, code points past U+10FFFF and cut sequences.
    EXPECT_EQ(PrintableText("\xc2\x9b"), "\\xC2\\x9B");
    EXPECT_EQ(PrintableText("\xc0\xaf"), "\\xC0\\xAF");
    EXPECT_EQ(PrintableText("\xed\xa0\x80"), "\\xED\\xA0\\x80");
    EXPECT_EQ(PrintableText("\xf4\x90\x80\x80"), "\\xF4\\x90\\x80\\x80");
    EXPECT_EQ(PrintableText("a\xe3\x81"), "a\\xE3\\x81");
}

TEST(PrintableText, CutsAfterTheGivenNumberOfCharacters)
{
    EXPECT_EQ(PrintableText("abcdef", 3), "abc...");
    EXPECT_EQ(PrintableText("abc", 3), "abc");
    EXPECT_EQ(PrintableText("背景１ｽﾞｰﾑ", 2), "背景...");
    EXPECT_EQ(PrintableText("\x01\x02\x03", 2), "\\x01\\x02...");
    EXPECT_EQ(PrintableText(std::string(1'000'000, 'x'), 10).size(), 13u);
}

} // namespace
