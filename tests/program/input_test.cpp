#include <cstring>

#include "common/resources.h"

#include "scene/effects.h"
#include "scene_fixture.h"
#include "shell/input.h"

namespace {

class InputTest : public SceneTest { };

// The tests are compiled to Shift-JIS; the host reports UTF-8.
std::string Utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

TEST_F(InputTest, NineDownsToggleEachSwitchOnceAndEndOnTheFirstBackground)
{
    std::vector<int> selectors;
    for (int i = 0; i < 9; ++i) {
        Key(VK_DOWN);
        selectors.push_back(sceneState.selector);
    }
    EXPECT_EQ(selectors, (std::vector<int> { 1, 2, 3, 4, 5, 6, 7, 8, 1 }));
    EXPECT_EQ(sceneState.backgroundMode, 0);
    EXPECT_EQ(sceneState.tilesOn, 1);
    EXPECT_EQ(sceneState.spriteOn, 1);
    EXPECT_EQ(sceneState.zoomOn, 1);
    EXPECT_EQ(sceneState.wipeOn, 1);
    EXPECT_EQ(sceneState.captionOn, 1);
}

TEST_F(InputTest, UpFromTheStartLandsOnTheCaption)
{
    sceneState.captionLength = 12;
    Key(VK_UP);
    EXPECT_EQ(sceneState.selector, 8);
    EXPECT_EQ(sceneState.captionOn, 1);
    EXPECT_EQ(sceneState.captionLength, 0);
    Key(VK_UP);
    EXPECT_EQ(sceneState.selector, 7);
    EXPECT_EQ(sceneState.wipeOn, 1);
}

TEST_F(InputTest, SteppingBackAndForthTogglesTheLandingAction)
{
    sceneState.selector = 3;
    Key(VK_DOWN);
    EXPECT_EQ(sceneState.tilesOn, 1);
    Key(VK_UP);
    EXPECT_EQ(sceneState.backgroundMode, 2);
    Key(VK_DOWN);
    EXPECT_EQ(sceneState.tilesOn, 0);
    // Other keys change nothing.
    SceneState before = sceneState;
    Key('A');
    Key(VK_F12 + 1);
    EXPECT_EQ(std::memcmp(&before, &sceneState, sizeof(before)), 0);
}

TEST_F(InputTest, MenuItemsOfTheResourceReachTheirActions)
{
    // Take the ids from the compiled menu, by text, so the resource and the
    // program cannot drift apart.
    auto idOf = [](const char* text) {
        const platform::resources::Menu* menu = platform::resources::FindMenu(102);
        for (int i = 0; menu && i < menu->count; ++i)
            if (std::strcmp(menu->entries[i].text, text) == 0) return menu->entries[i].id;
        return -1;
    };
    Menu(idOf("揺れる背景"));
    EXPECT_EQ(sceneState.backgroundMode, 2);
    Menu(idOf("背景２"));
    EXPECT_EQ(sceneState.backgroundMode, 1);
    Menu(idOf("背景１"));
    EXPECT_EQ(sceneState.backgroundMode, 0);
    Menu(idOf("こけし"));
    Menu(idOf("ﾏﾙﾁ"));
    Menu(idOf("ｽﾞｰﾑ"));
    EXPECT_EQ(sceneState.tilesOn + sceneState.spriteOn + sceneState.zoomOn, 3);
    sceneState.stripWidth = 7;
    Menu(idOf("ｷｬﾗ"));
    Menu(idOf("ｷｬﾗ"));
    EXPECT_EQ(sceneState.wipeOn, 0);
    EXPECT_EQ(sceneState.stripWidth, 1);
    Menu(idOf("文字"));
    EXPECT_EQ(sceneState.captionOn, 1);

    SceneState before = sceneState;
    for (int id : { 40012, 40013, 40014, 0, 65535 })
        Menu(id);
    EXPECT_EQ(std::memcmp(&before, &sceneState, sizeof(before)), 0);
    EXPECT_TRUE(headless::MessageBoxesShown().empty());
}

TEST_F(InputTest, CommandIdIsTheLowWordOfWParam)
{
    Send(WM_COMMAND, MAKEWPARAM(IDM_ZOOM, 1), 0);
    EXPECT_EQ(sceneState.zoomOn, 1);
}

TEST_F(InputTest, MousePositionIsTheUnsignedHalvesOfLParam)
{
    Send(WM_MOUSEMOVE, 0, MAKELPARAM(639, 479));
    EXPECT_EQ(sceneState.mouseX, 639);
    EXPECT_EQ(sceneState.mouseY, 479);
    Send(WM_MOUSEMOVE, 0, MAKELPARAM(0xFFFF, 0x8000));
    EXPECT_EQ(sceneState.mouseX, 65535);
    EXPECT_EQ(sceneState.mouseY, 32768);
    // Far off the screen the sprite draws nothing, and nothing outside.
    sceneState.spriteOn = 1;
    EXPECT_TRUE(BoxOf(Frame(0.0f), SPRITE_SLOT).Empty());
}

TEST_F(InputTest, ExitQuestionAnsweredNoChangesNothingAndYesQuits)
{
    Menu(IDM_EXIT);
    ASSERT_EQ(headless::MessageBoxesShown().size(), 1u);
    EXPECT_EQ(headless::MessageBoxesShown()[0].captionUtf8, Utf8(u8"終了確認"));
    EXPECT_EQ(headless::MessageBoxesShown()[0].textUtf8, Utf8(u8"終了していい？"));
    MSG message;
    EXPECT_FALSE(PeekMessageA(&message, NULL, 0, 0, PM_REMOVE) && message.message == WM_QUIT);

    headless::QueueAnswer(IDYES);
    Menu(IDM_EXIT);
    bool quit = false;
    while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE))
        if (message.message == WM_QUIT) quit = true;
    EXPECT_TRUE(quit);
}

TEST_F(InputTest, EscapeClosesTheWindowWithoutAQuestion)
{
    Key(VK_ESCAPE);
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, NULL, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, (UINT)WM_CLOSE);
    EXPECT_TRUE(headless::MessageBoxesShown().empty());
}

} // namespace
