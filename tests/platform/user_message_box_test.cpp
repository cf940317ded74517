// Message boxes drawn by the window manager: their picture, their keys and
// clicks, the headless host's scripted answers, and the path without a
// display.
#include "headless_window_fixture.h"

#include "host/headless/headless_host.h"
#include "screens/full_screen.h"
#include "user/message_box_session.h"
#include "user/message_box_view.h"

#include <algorithm>
#include <string>

namespace {

using namespace menu_test;
using platform::host::MessageBoxButtons;
using platform::user::ButtonAt;
using platform::user::Canvas;
using platform::user::LayOutMessageBox;
using platform::user::MessageBoxContent;
using platform::user::MessageBoxLayout;
using platform::user::WrapText;

// "終了していい？" and "終了確認" as the program passes them, in CP932.
const char* const kQuestion = "\x8f\x49\x97\xb9\x82\xb5\x82\xc4\x82\xa2\x82\xa2\x81\x48";
const char* const kCaption = "\x8f\x49\x97\xb9\x8a\x6d\x94\x46";

MessageBoxLayout ClientLayout(MessageBoxButtons buttons)
{
    return LayOutMessageBox(MessageBoxContent { "終了確認", "終了していい？", buttons }, 640, 480);
}

std::pair<int, int> Centre(const platform::Rectangle& box)
{
    return { (box.left + box.right) / 2, (box.top + box.bottom) / 2 };
}

int CountWhere(const std::vector<uint32_t>& pixels, int width, const platform::Rectangle& box, uint32_t colour)
{
    int count = 0;
    for (int y = box.top; y < box.bottom; ++y)
        for (int x = box.left; x < box.right; ++x)
            count += pixels[size_t(y) * size_t(width) + size_t(x)] == colour;
    return count;
}

using MessageBoxKeysTest = HeadlessWindowTest;

TEST_F(MessageBoxKeysTest, KeysAnswerAsOnWindows)
{
    // The last key of each case is one the box must not need: it is left
    // for the program, which shows the box answered at the key before.
    struct Case {
        std::vector<UINT> keys;
        UINT type;
        int answer;
    };
    const Case cases[] = {
        { { 'Y', VK_F12 }, MB_YESNO, IDYES },
        { { 'N', 'Y' }, MB_YESNO, IDNO },
        { { VK_RETURN, 'N' }, MB_YESNO, IDYES }, // はい is the default button
        { { VK_ESCAPE, 'Y', VK_F12 }, MB_YESNO, IDYES }, // no Cancel button: Esc is swallowed, ignored
        { { VK_TAB, VK_RETURN, 'Y' }, MB_YESNO, IDNO },
        { { VK_RIGHT, VK_SPACE, 'Y' }, MB_YESNO, IDNO },
        { { VK_RIGHT, VK_LEFT, VK_RETURN, 'N' }, MB_YESNO, IDYES },
        { { VK_TAB, VK_TAB, VK_RETURN, 'N' }, MB_YESNO, IDYES }, // focus wraps
        { { VK_RETURN, VK_F12 }, MB_OK, IDOK },
        { { VK_ESCAPE, VK_F12 }, MB_OK, IDOK },
    };
    for (const Case& c : cases) {
        Log().clear();
        for (UINT key : c.keys)
            headless::PushKeyPress(key);
        EXPECT_EQ(MessageBoxA(window, kQuestion, kCaption, c.type), c.answer) << "first key " << c.keys[0];
        Pump();
        EXPECT_EQ(KeyDowns(), std::vector<UINT> { c.keys.back() }) << "first key " << c.keys[0];
    }
    ASSERT_EQ(headless::MessageBoxesShown().size(), std::size(cases));
    EXPECT_EQ(headless::MessageBoxesShown()[0].captionUtf8, "終了確認");
    EXPECT_EQ(headless::MessageBoxesShown()[0].textUtf8, "終了していい？");
    EXPECT_EQ(headless::MessageBoxesShown()[1].answer, IDNO);
}

TEST_F(MessageBoxKeysTest, LettersOfMissingButtonsDoNothing)
{
    // No "Yes" on an OK box: Y is ignored, Enter then answers OK.
    headless::PushKeyPress('Y');
    headless::PushKeyPress('N');
    headless::PushKeyPress(VK_RETURN);
    EXPECT_EQ(MessageBoxA(window, "a", "b", MB_OK), IDOK);
    EXPECT_EQ(platform::host::TheHeadlessHost().PendingInputCount(), 0u) << "all three keys went to the box";
}

TEST_F(MessageBoxKeysTest, ClicksOnButtonsAnswer)
{
    MessageBoxLayout layout = ClientLayout(MessageBoxButtons::YesNo);
    ASSERT_EQ(layout.buttons.size(), 2u);
    auto [yesX, yesY] = Centre(layout.buttons[0].box);
    auto [noX, noY] = Centre(layout.buttons[1].box);
    headless::PushClick(noX, noY);
    EXPECT_EQ(MessageBoxA(window, kQuestion, kCaption, MB_YESNO), IDNO);

    // Pressed on one button and released on the other is no click.
    headless::PushMouseButton(yesX, yesY, true);
    headless::PushMouseButton(noX, noY, false);
    headless::PushClick(10, 10); // outside the box
    headless::PushClick(yesX, yesY);
    EXPECT_EQ(MessageBoxA(window, kQuestion, kCaption, MB_YESNO), IDYES);

    MessageBoxLayout ok = ClientLayout(MessageBoxButtons::Ok);
    ASSERT_EQ(ok.buttons.size(), 1u);
    auto [okX, okY] = Centre(ok.buttons[0].box);
    headless::PushClick(okX, okY);
    EXPECT_EQ(MessageBoxA(window, kQuestion, kCaption, MB_OK), IDOK);
}

TEST_F(MessageBoxKeysTest, BoxKeysNeverReachTheProgramButLaterOnesDo)
{
    headless::PushKeyPress('N');
    headless::PushKeyPress(VK_UP);
    EXPECT_EQ(MessageBoxA(window, kQuestion, kCaption, MB_YESNO), IDNO);
    Pump();
    EXPECT_EQ(KeyDowns(), std::vector<UINT> { VK_UP });
}

TEST_F(MessageBoxKeysTest, CloseRequestEndsTheBoxAndThenTheWindow)
{
    headless::PushClose();
    EXPECT_EQ(MessageBoxA(window, kQuestion, kCaption, MB_YESNO), IDNO);
    Pump();
    bool destroyed = std::any_of(Log().begin(), Log().end(), [](const Received& r) { return r.message == WM_DESTROY; });
    EXPECT_TRUE(destroyed);
}

using ScriptedAnswerTest = HeadlessWindowTest;

TEST_F(ScriptedAnswerTest, QueuedAnswersAndDefaultsStillDecide)
{
    headless::QueueAnswer(IDYES);
    headless::QueueAnswer(IDNO);
    headless::QueueAnswer(IDYES); // for an OK box: OK is its only button
    EXPECT_EQ(MessageBoxA(window, kQuestion, kCaption, MB_YESNO), IDYES);
    EXPECT_EQ(MessageBoxA(window, kQuestion, kCaption, MB_YESNO), IDNO);
    EXPECT_EQ(MessageBoxA(window, "x", "", MB_OK), IDOK);
    EXPECT_EQ(MessageBoxA(window, kQuestion, kCaption, MB_YESNO), IDNO) << "default of a Yes/No box";
    EXPECT_EQ(MessageBoxA(window, "x", "", MB_OK), IDOK);
    const auto& shown = headless::MessageBoxesShown();
    ASSERT_EQ(shown.size(), 5u);
    EXPECT_EQ(shown[0].answer, IDYES);
    EXPECT_EQ(shown[1].answer, IDNO);
    EXPECT_EQ(shown[2].answer, IDOK);
    EXPECT_EQ(shown[2].captionUtf8, "");
}

TEST_F(ScriptedAnswerTest, QueuedAnswerGoesAheadOfTheProgramsKeys)
{
    headless::QueueAnswer(IDYES);
    headless::PushKeyPress('N');
    EXPECT_EQ(MessageBoxA(window, kQuestion, kCaption, MB_YESNO), IDYES);
    Pump();
    EXPECT_EQ(KeyDowns(), std::vector<UINT> { 'N' });
}

TEST_F(ScriptedAnswerTest, ReplayLinesAndAnswersThroughTheDrawnBox)
{
    std::vector<std::string> lines;
    platform::host::TheHeadlessHost().SetOutputSink([&](const std::string& line) { lines.push_back(line); });
    headless::QueueAnswer(IDYES);
    MessageBoxA(window, kQuestion, kCaption, MB_YESNO);
    headless::PushKeyPress(VK_TAB); // the box's own input runs dry: default
    MessageBoxA(window, kQuestion, kCaption, MB_YESNO);
    platform::host::TheHeadlessHost().SetOutputSink({});
    EXPECT_EQ(lines,
        (std::vector<std::string> {
            "messagebox 終了確認 | 終了していい？ | yes", "messagebox 終了確認 | 終了していい？ | no" }));
}

TEST_F(ScriptedAnswerTest, WithoutADisplayTheBoxGoesToStandardError)
{
    platform::host::TheHeadlessHost().SetNoDisplay();
    headless::QueueAnswer(IDYES);
    testing::internal::CaptureStderr();
    int answer = MessageBoxA(window, kQuestion, kCaption, MB_YESNO);
    std::string written = testing::internal::GetCapturedStderr();
    EXPECT_EQ(answer, IDYES);
    EXPECT_NE(written.find("終了確認"), std::string::npos);
    EXPECT_NE(written.find("終了していい？"), std::string::npos);
    ASSERT_EQ(headless::MessageBoxesShown().size(), 1u);
    EXPECT_EQ(headless::CaptureScreen().At(320, 240), 0u) << "nothing drawn";
}

TEST_F(ScriptedAnswerTest, BoxAndMenuLeaveTheCursorCounterAlone)
{
    ShowCursor(FALSE);
    headless::PushKeyPress('Y');
    MessageBoxA(window, kQuestion, kCaption, MB_YESNO);
    headless::PushKeyPress(VK_F10);
    headless::PushKeyPress(VK_ESCAPE);
    Pump();
    EXPECT_EQ(headless::CursorCounter(), -1);
    EXPECT_FALSE(headless::CursorVisible());
}

TEST(MessageBoxPicture, CaptionTextAndButtonsAreDrawnInsideTheBoxOnly)
{
    headless::Reset();
    constexpr uint32_t kBackdrop = 0x123456;
    std::vector<uint32_t> pixels(640 * 480, kBackdrop);
    MessageBoxLayout layout = ClientLayout(MessageBoxButtons::YesNo);
    platform::user::DrawMessageBox(Canvas { platform::PixelView::OfPixels(pixels.data(), 640, 480, 640) }, layout, {});

    const platform::Rectangle& frame = layout.frame;
    auto [centreX, centreY] = Centre(frame);
    EXPECT_NEAR(centreX, 320, 1) << "centred over the client area";
    EXPECT_NEAR(centreY, 240, 1);
    // White caption text on the blue bar, dark text on the white body.
    EXPECT_GT(CountWhere(pixels, 640, layout.captionBar, 0xFFFFFF), 20);
    platform::Rectangle text { layout.textLeft, layout.textTop, frame.right, layout.buttonStrip.top };
    EXPECT_GT(CountWhere(pixels, 640, text, 0x000000), 40);
    for (const auto& button : layout.buttons)
        EXPECT_GT(CountWhere(pixels, 640, button.box, 0x000000), 20) << "labelled button";
    // Nothing outside the frame changed.
    int touched = 0;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
            touched += !frame.Contains(x, y) && pixels[size_t(y) * 640 + size_t(x)] != kBackdrop;
    EXPECT_EQ(touched, 0);
}

TEST(MessageBoxPicture, LongTextWrapsAndHugeTextStaysOnTheTarget)
{
    headless::Reset();
    std::string line;
    for (int i = 0; i < 80; ++i)
        line += "終了";
    MessageBoxLayout layout = LayOutMessageBox(MessageBoxContent { "c", line, MessageBoxButtons::Ok }, 640, 480);
    EXPECT_GT(layout.lines.size(), 1u);
    EXPECT_LE(layout.frame.right, 640);
    EXPECT_GE(layout.frame.left, 0);

    std::string huge;
    for (int i = 0; i < 2000; ++i)
        huge += "長い文章\n";
    MessageBoxLayout tall = LayOutMessageBox(MessageBoxContent { huge, huge, MessageBoxButtons::YesNo }, 640, 480);
    EXPECT_LE(tall.frame.bottom, 480) << "lines that do not fit are left out";
    EXPECT_LE(tall.frame.right, 640);

    // A target smaller than any box: drawn clipped, nothing outside written.
    std::vector<uint32_t> tiny(30 * 20 + 1, 7);
    MessageBoxLayout small = LayOutMessageBox(MessageBoxContent { huge, huge, MessageBoxButtons::YesNo }, 30, 20);
    platform::user::DrawMessageBox(Canvas { platform::PixelView::OfPixels(tiny.data(), 30, 20, 30) }, small, {});
    EXPECT_EQ(tiny.back(), 7u);
    EXPECT_EQ(ButtonAt(small, -5, -5), -1);
}

TEST(MessageBoxPicture, WrapKeepsEveryCharacterAndBreaksAtLineEnds)
{
    headless::Reset();
    std::u32string text = U"あいうえおかきくけこさしすせそ";
    std::vector<std::u32string> lines = WrapText(text, 50);
    ASSERT_GT(lines.size(), 2u);
    std::u32string joined;
    for (const std::u32string& l : lines) {
        EXPECT_LE(platform::user::UiTextWidth(l), 50);
        joined += l;
    }
    EXPECT_EQ(joined, text);
    EXPECT_EQ(WrapText(U"a\r\nb\nc", 500), (std::vector<std::u32string> { U"a", U"b", U"c" }));
    EXPECT_EQ(WrapText(U"", 500).size(), 1u);
}

using MessageBoxScreenTest = HeadlessWindowTest;

TEST_F(MessageBoxScreenTest, ABackdropSourceTakesTheBoxOffTheClientArea)
{
    // As full screen would: its own frame under the box, its own way to show it.
    constexpr uint32_t kFrame = 0x204060;
    std::vector<std::vector<uint32_t>> shown;
    platform::user::SetMessageBoxBackdropSource([&](platform::user::ModalBackdrop& backdrop) {
        backdrop.pixels.assign(640 * 480, kFrame);
        backdrop.width = 640;
        backdrop.height = 480;
        backdrop.present = [&](const platform::ReadOnlyPixelView& view) {
            const uint32_t* first = view.Row<uint32_t>(0);
            shown.emplace_back(first, first + size_t(view.width) * size_t(view.height));
        };
        return true;
    });
    headless::Capture client = headless::CaptureScreen();
    headless::PushKeyPress('Y');
    EXPECT_EQ(MessageBoxA(window, kQuestion, kCaption, MB_YESNO), IDYES);
    ASSERT_GE(shown.size(), 2u);
    EXPECT_NE(shown.front()[240 * 640 + 320], kFrame) << "the box over the frame";
    EXPECT_EQ(shown.back(), std::vector<uint32_t>(640 * 480, kFrame)) << "the frame alone again";
    EXPECT_EQ(headless::CaptureScreen().pixels, client.pixels) << "the client area was not drawn on";

    // A source whose backdrop lacks its pixels is not used.
    shown.clear();
    platform::user::SetMessageBoxBackdropSource([&](platform::user::ModalBackdrop& backdrop) {
        backdrop.width = 640;
        backdrop.height = 480;
        backdrop.present = [&](const platform::ReadOnlyPixelView&) { shown.emplace_back(); };
        return true;
    });
    headless::PushKeyPress('N');
    EXPECT_EQ(MessageBoxA(window, kQuestion, kCaption, MB_YESNO), IDNO);
    EXPECT_TRUE(shown.empty());
}

} // namespace

namespace {

using namespace menu_test;
using FullScreenModalTest = HeadlessWindowTest;

TEST_F(FullScreenModalTest, BoxGoesOverTheFullScreenPictureAndTheMenuStaysShut)
{
    platform::screens::EnterFullScreen(640, 480);
    platform::host::HeadlessHost& host = platform::host::TheHeadlessHost();
    headless::Capture before = headless::CaptureScreen();
    int presentations = host.FullScreenPresentations();
    headless::PushKeyPress('N');
    EXPECT_EQ(MessageBoxA(window, kQuestion, kCaption, MB_YESNO), IDNO);
    EXPECT_GE(host.FullScreenPresentations() - presentations, 2) << "the box, then the picture without it";
    EXPECT_EQ(headless::CaptureScreen().pixels, before.pixels);

    // No bar on screen, so F10 opens nothing and the next key is the program's.
    headless::PushKeyPress(VK_F10);
    headless::PushKeyPress(VK_DOWN);
    Pump();
    EXPECT_EQ(KeyDowns(), std::vector<UINT> { VK_DOWN });
    platform::screens::LeaveFullScreen();
}

} // namespace
