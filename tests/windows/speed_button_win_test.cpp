// The toolbar's speed buttons on real windows: groups, clicks, looks, hints, tooltips and pictures.
#include "widgets/speed_button_win.h"

#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "ui/resource_ids.h"

namespace kelvaro::testing {
namespace {

constexpr Glyph kDeleteGlyph{IDB_DELETE, 16, 16, 1};
constexpr Glyph kAddGlyph{IDB_ADD, 32, 16, 2};
constexpr Glyph kToolbarPictures[] = {{IDB_SETUP, 17, 17, 1},       {IDB_CONFIRM, 16, 16, 1},
                                      {IDB_NOT_CONFIRM, 16, 16, 1}, {IDB_RECYCLE, 16, 16, 1},
                                      {IDB_NOT_RECYCLE, 16, 16, 1}, {IDB_DELETE, 16, 16, 1},
                                      {IDB_START, 20, 20, 1},       kAddGlyph,
                                      {IDB_LARGE_ICONS, 16, 16, 1}, {IDB_SMALL_ICONS, 16, 16, 1},
                                      {IDB_LIST, 16, 16, 1},        {IDB_DETAILS, 16, 16, 1},
                                      {IDB_EXIT, 16, 16, 1}};

struct Command {
    int id;
    int code;
    HWND control;
};

// Stands in for the main window: records what the toolbar forwards.
class ParentWindow : public Window {
public:
    ParentWindow() {
        RegisterClassOnce("KelvaroToolbarTestParent", nullptr);
        Create("KelvaroToolbarTestParent", "", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 0, 549, 100,
               nullptr, nullptr);
    }
    std::vector<Command> commands;
    std::function<void(int id)> onCommand;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message != WM_COMMAND) return DefaultHandling(message, wParam, lParam);
        commands.push_back({LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)});
        if (onCommand) onCommand(LOWORD(wParam));
        return 0;
    }
};

class SpeedButtonWin : public ::testing::Test {
protected:
    TSpeedButton& Add(int id, int x, int group = 0, bool allowAllUp = false,
                      const Glyph& glyph = kDeleteGlyph, bool tooltip = true) {
        TSpeedButton& button = panel.AddButton(
            id, x, 2, 25, 25, glyph, "Short " + std::to_string(id) + "|Long " + std::to_string(id), tooltip);
        button.GroupIndex = group;
        button.AllowAllUp = allowAllUp;
        return button;
    }
    static void MouseClick(const TSpeedButton& button, int x = 10, int y = 10) {
        SendMessageA(button.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
        SendMessageA(button.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    }
    static std::vector<bool> DownStates(const std::vector<TSpeedButton*>& buttons) {
        std::vector<bool> states;
        for (const TSpeedButton* button : buttons) states.push_back(button->Down());
        return states;
    }

    ParentWindow parent;
    TToolbarPanel panel{parent.Handle(), 30};
};

TEST_F(SpeedButtonWin, RadioGroupWhoseButtonsMayAllBeUp) {
    std::vector<TSpeedButton*> views;
    for (int i = 0; i < 4; ++i) views.push_back(&Add(10 + i, 144 + 24 * i, 1, true));
    TSpeedButton& setup = Add(20, 8, 3, true);
    setup.SetDown(true);

    SendMessageA(views[1]->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(DownStates(views), (std::vector<bool>{false, true, false, false}));
    MouseClick(*views[3]);
    EXPECT_EQ(DownStates(views), (std::vector<bool>{false, false, false, true}));
    SendMessageA(views[3]->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(DownStates(views), (std::vector<bool>{false, false, false, false}));
    views[2]->SetDown(true);
    views[0]->SetDown(true);
    EXPECT_EQ(DownStates(views), (std::vector<bool>{true, false, false, false}));
    EXPECT_TRUE(setup.Down()) << "another group is left alone";
}

TEST_F(SpeedButtonWin, LatchingGroupsAndPlainButtons) {
    TSpeedButton& setup = Add(1, 8, 3, true);
    for (bool expected : {true, false, true}) {
        SendMessageA(setup.Handle(), BM_CLICK, 0, 0);
        EXPECT_EQ(setup.Down(), expected);
    }

    // A group that must keep one button down: pressing the down one changes nothing, yet it is a click.
    TSpeedButton& first = Add(2, 32, 5);
    TSpeedButton& second = Add(3, 56, 5);
    MouseClick(first);
    MouseClick(first);
    first.SetDown(false);
    EXPECT_TRUE(first.Down());
    MouseClick(second);
    EXPECT_FALSE(first.Down());
    EXPECT_TRUE(second.Down());

    TSpeedButton& plain = Add(4, 88);
    parent.commands.clear();
    MouseClick(plain);
    SendMessageA(plain.Handle(), BM_CLICK, 0, 0);
    plain.SetDown(true);
    EXPECT_FALSE(plain.Down());
    EXPECT_EQ(parent.commands.size(), 2u);
}

TEST_F(SpeedButtonWin, ClickReachesTheParentAfterTheGroupHasChanged) {
    TSpeedButton& view = Add(42, 144, 1, true);
    bool downWhenHandled = false;
    parent.onCommand = [&](int) { downWhenHandled = view.Down(); };
    MouseClick(view);
    ASSERT_EQ(parent.commands.size(), 1u);
    EXPECT_EQ(parent.commands[0].id, 42);
    EXPECT_EQ(parent.commands[0].code, BN_CLICKED);
    EXPECT_EQ(parent.commands[0].control, view.Handle());
    EXPECT_TRUE(downWhenHandled);

    // Released outside: no click; pressed and released elsewhere: nothing either.
    MouseClick(view, 40, 10);
    MouseClick(view, 10, -3);
    SendMessageA(view.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    EXPECT_EQ(parent.commands.size(), 1u);
    EXPECT_TRUE(view.Down());
}

TEST_F(SpeedButtonWin, HiddenOrDisabledButtonsTakeNoClicks) {
    TSpeedButton& confirm = Add(1, 32);
    TSpeedButton& instant = Add(2, 32);
    TSpeedButton& view = Add(3, 144, 1, true);
    instant.SetVisible(false);
    EXPECT_FALSE(IsWindowVisible(instant.Handle()));
    SendMessageA(instant.Handle(), BM_CLICK, 0, 0);
    confirm.Click();
    instant.SetVisible(true);
    confirm.SetVisible(false);
    SendMessageA(confirm.Handle(), BM_CLICK, 0, 0);
    SendMessageA(instant.Handle(), BM_CLICK, 0, 0);
    view.SetEnabled(false);
    MouseClick(view);
    SendMessageA(view.Handle(), BM_CLICK, 0, 0);
    EXPECT_FALSE(view.Down());

    std::vector<int> ids;
    for (const Command& command : parent.commands) ids.push_back(command.id);
    EXPECT_EQ(ids, (std::vector<int>{1, 2}));
}

TEST_F(SpeedButtonWin, FlatLookSwitchesBevelsAndEveryButton) {
    panel.AddBevel(83, 1, 14, 28);
    TSpeedButton& shown = Add(1, 8);
    TSpeedButton& hidden = Add(2, 8);
    hidden.SetVisible(false);
    EXPECT_TRUE(panel.BevelsVisible());
    EXPECT_TRUE(shown.Flat() && hidden.Flat());
    panel.SetFlatLook(false);
    EXPECT_FALSE(panel.BevelsVisible());
    EXPECT_FALSE(shown.Flat() || hidden.Flat());
    EXPECT_FALSE(Add(3, 32).Flat()) << "a later button takes the panel's look";
    panel.SetFlatLook(true);
    EXPECT_TRUE(shown.Flat() && hidden.Flat());
}

TEST_F(SpeedButtonWin, LongHintWhileTheMouseIsOverAButton) {
    std::vector<std::string> hints;
    panel.OnHint = [&](const std::string& hint) { hints.push_back(hint); };
    TSpeedButton& setup = Add(1, 8, 3, true, {IDB_SETUP, 17, 17, 1}, false);
    TSpeedButton& other = Add(2, 32);
    TSpeedButton& disabled = Add(3, 56);
    disabled.SetEnabled(false);
    auto move = [](HWND window, int x, int y) { SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(x, y)); };

    move(setup.Handle(), 5, 5);
    move(setup.Handle(), 6, 5);
    move(other.Handle(), 5, 5);
    SendMessageA(other.Handle(), WM_MOUSELEAVE, 0, 0);
    move(disabled.Handle(), 5, 5);
    move(panel.Handle(), 300, 5);
    move(panel.Handle(), 301, 5);
    EXPECT_EQ(hints, (std::vector<std::string>{"Long 1", "Long 2", "", "Long 3", ""}));
}

TEST_F(SpeedButtonWin, TooltipShowsTheShortHint) {
    TSpeedButton& withTip = Add(7, 8);
    TSpeedButton& withoutTip = Add(8, 32, 0, false, kDeleteGlyph, false);
    TSpeedButton& plainHint = panel.AddButton(9, 56, 2, 25, 25, kDeleteGlyph, "Exit & close", true);
    EXPECT_EQ(SendMessageA(panel.TooltipHandle(), TTM_GETTOOLCOUNT, 0, 0), 2);

    auto tipText = [&](const TSpeedButton& button) {
        char text[1024] = {};  // the control copies up to this size
        TOOLINFOA tool{};
        tool.cbSize = TTTOOLINFOA_V1_SIZE;
        tool.hwnd = panel.Handle();
        tool.uId = reinterpret_cast<UINT_PTR>(button.Handle());
        tool.lpszText = text;
        SendMessageA(panel.TooltipHandle(), TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
        return std::string(text);
    };
    EXPECT_EQ(tipText(withTip), "Short 7");
    EXPECT_EQ(tipText(withoutTip), "");
    EXPECT_EQ(withoutTip.LongHint(), "Long 8");
    EXPECT_EQ(tipText(plainHint), "Exit & close");
    EXPECT_EQ(plainHint.LongHint(), "Exit & close") << "a hint without a bar is both short and long";
}

TEST(SpeedButtonPictures, EveryPictureIsASixteenColourResourceOfItsSize) {
    for (const Glyph& picture : kToolbarPictures) {
        SCOPED_TRACE(picture.resourceId);
        HBITMAP bitmap =
            static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(picture.resourceId),
                                            IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        ASSERT_TRUE(bitmap);
        BITMAP info{};
        GetObjectA(bitmap, sizeof info, &info);
        EXPECT_EQ(info.bmWidth, picture.width);
        EXPECT_EQ(info.bmHeight, picture.height);
        EXPECT_EQ(info.bmBitsPixel, 4);
        DeleteObject(bitmap);
    }

    // The icon group: one 32 x 32 and one 16 x 16 image, 16 colours each.
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(IDI_MAIN), MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
    ASSERT_TRUE(found);
    const auto* group = static_cast<const BYTE*>(LockResource(LoadResource(nullptr, found)));
    ASSERT_EQ(group[4], 2);
    std::vector<std::vector<int>> entries;
    for (int i = 0; i < 2; ++i) {
        const BYTE* entry = group + 6 + 14 * i;
        entries.push_back({entry[0], entry[1], entry[2], entry[6]});
    }
    EXPECT_EQ(entries, (std::vector<std::vector<int>>{{32, 32, 16, 4}, {16, 16, 16, 4}}));
}

// The button as it paints itself, 0x00RRGGBB pixels.
std::vector<std::uint32_t> Render(const TSpeedButton& button) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, 25, -25, 1, 32, BI_RGB};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    SendMessageA(button.Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    GdiFlush();
    std::vector<std::uint32_t> pixels(static_cast<const std::uint32_t*>(bits),
                                      static_cast<const std::uint32_t*>(bits) + 25 * 25);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bitmap);
    for (std::uint32_t& pixel : pixels) pixel &= 0xFFFFFF;
    return pixels;
}

std::uint32_t System(int index) {
    COLORREF colour = GetSysColor(index);
    return GetRValue(colour) << 16 | GetGValue(colour) << 8 | GetBValue(colour);
}

int Count(const std::vector<std::uint32_t>& pixels, std::uint32_t colour) {
    return static_cast<int>(std::count(pixels.begin(), pixels.end(), colour));
}

TEST_F(SpeedButtonWin, PicturesAreDrawnThroughTheirTransparentColour) {
    constexpr std::uint32_t kMagenta = 0xFF00FF, kRed = 0xFF0000, kLime = 0x00FF00;
    const std::uint32_t face = System(COLOR_BTNFACE), shadow = System(COLOR_BTNSHADOW);
    for (const Glyph& glyph : kToolbarPictures) {
        SCOPED_TRACE(glyph.resourceId);
        std::vector<std::uint32_t> pixels = Render(panel.AddButton(1, 8, 2, 25, 25, glyph, "", false));
        EXPECT_EQ(Count(pixels, kMagenta), 0);
        EXPECT_EQ(pixels[0], face);
        EXPECT_GT(25 * 25 - Count(pixels, face), 20);
    }

    TSpeedButton& cross = Add(1, 8);
    EXPECT_GT(Count(Render(cross), kRed), 20);
    cross.SetEnabled(false);
    std::vector<std::uint32_t> greyed = Render(cross);
    EXPECT_EQ(Count(greyed, kRed), 0);
    EXPECT_GT(Count(greyed, shadow), 20);

    TSpeedButton& add = Add(2, 32, 0, false, kAddGlyph);
    EXPECT_GT(Count(Render(add), kLime), 0);
    add.SetEnabled(false);
    EXPECT_EQ(Count(Render(add), kLime), 0) << "the second picture is the disabled one";
}

TEST_F(SpeedButtonWin, FramesFollowLookHoverAndDownState) {
    const std::uint32_t face = System(COLOR_BTNFACE), shadow = System(COLOR_BTNSHADOW);
    TSpeedButton& button = Add(1, 8, 1, true);
    auto corners = [&] {
        std::vector<std::uint32_t> pixels = Render(button);
        return std::vector<std::uint32_t>{pixels[0], pixels[25 * 25 - 1]};
    };
    EXPECT_EQ(corners(), (std::vector<std::uint32_t>{face, face})) << "flat: no border";
    SendMessageA(button.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(corners()[1], shadow) << "flat under the mouse: raised frame";
    button.SetDown(true);
    EXPECT_EQ(corners()[0], shadow) << "down: sunken frame";
    SendMessageA(button.Handle(), WM_MOUSELEAVE, 0, 0);
    std::vector<std::uint32_t> down = Render(button);
    EXPECT_NE(down[3 * 25 + 3], down[3 * 25 + 4]) << "a latched button's face is dithered";
    button.SetDown(false);
    panel.SetFlatLook(false);
    EXPECT_EQ(corners()[1], System(COLOR_3DDKSHADOW)) << "raised 3-D";
}

}  // namespace
}  // namespace kelvaro::testing
