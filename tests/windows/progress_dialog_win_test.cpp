// The path-fitting label with a real font, and the progress window as a user meets it.
#include "app/progress_dialog_win.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "ui/message_box_win.h"
#include "windows/window_text.h"

namespace kelvaro::testing {
namespace {

// A plain top-level window: the parent of a lone label, or the main window the dialog centres on.
struct StandIn {
    HWND handle;
    StandIn(int x, int y, int width, int height)
        : handle(CreateWindowA("STATIC", "", WS_OVERLAPPEDWINDOW, x, y, width, height, nullptr, nullptr,
                               nullptr, nullptr)) {}
    ~StandIn() { DestroyWindow(handle); }
};

struct Font {
    HFONT handle;
    explicit Font(int height)
        : handle(CreateFontA(height, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, "MS Sans Serif")) {}
    ~Font() { DeleteObject(handle); }
};

int TextWidth(HFONT font, const std::string& text) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size{};
    GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return size.cx;
}

// A key as the keyboard driver posts it, through the translation that makes characters of it.
void PressKey(HWND target, UINT key, UINT scanCode, bool alt = false) {
    const LPARAM down = 1 | (static_cast<LPARAM>(scanCode) << 16) | (alt ? 1 << 29 : 0);
    PostMessageA(target, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, key, down);
    PostMessageA(target, alt ? WM_SYSKEYUP : WM_KEYUP, key, down | (3u << 30));
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

TEST(FileLabelWin, FitsWithTheRealFontAndRefitsOnEveryResize) {
    StandIn parent(0, 0, 600, 200);
    Font font(-11);
    auto tw = [&](const std::string& text) { return TextWidth(font.handle, text); };
    const std::string path = "G:\\WINDOWS\\TEMP\\SUB\\a.tmp";
    TFileLabel label(parent.handle, 10, 10, tw(path), 13);
    label.SetFont(font.handle);
    label.SetFileName(path);
    EXPECT_EQ(label.Pieces(), (std::vector<std::string>{"G:", "WINDOWS", "TEMP", "SUB", "a.tmp"}));
    EXPECT_TRUE(label.HasDrive());
    EXPECT_EQ(label.Caption(), path) << "exactly as wide as the text still fits";

    const int kept = tw("G:\\") + tw("...\\") + tw("a.tmp") + tw("SUB\\");
    label.SetBounds(10, 10, kept, 13);
    EXPECT_EQ(label.Caption(), "G:\\...\\SUB\\a.tmp");
    MoveWindow(label.Handle(), 10, 10, kept - 1, 13, FALSE);
    EXPECT_EQ(label.Caption(), "G:\\...\\a.tmp");
    label.SetDirection(drFromRight);
    SetWindowPos(label.Handle(), nullptr, 0, 0, kept - tw("SUB\\") + tw("WINDOWS\\"), 13,
                 SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(label.Caption(), "G:\\WINDOWS\\...\\a.tmp");

    // Drawing hides "&" as an accelerator marker, yet the fitting counts its width.
    const std::string ampersands = "C:\\R&D\\Q&A\\notes&more.txt";
    label.SetDirection(drFromLeft);
    label.SetFileName(ampersands);
    label.SetBounds(0, 0, tw(ampersands), 13);
    EXPECT_EQ(label.Caption(), ampersands);
    label.SetBounds(0, 0, tw(ampersands) - 1, 13);
    EXPECT_EQ(label.Caption(), "C:\\...\\Q&A\\notes&more.txt");
}

TEST(FileLabelWin, AFontChangeTheSameTextOrTheSameCaptionDoesNotRefitOrRepaint) {
    StandIn parent(0, 0, 600, 200);
    ShowWindow(parent.handle, SW_SHOWNA);
    Font small(-11), big(-40);
    const std::string path = "C:\\Program Files\\Tools\\setup.exe";
    TFileLabel label(parent.handle, 10, 10, TextWidth(small.handle, path), 13);
    label.SetFont(small.handle);
    label.SetFileName(path);
    label.SetFont(big.handle);
    UpdateWindow(parent.handle);
    label.SetFileName(path);
    EXPECT_EQ(label.Caption(), path);
    EXPECT_FALSE(GetUpdateRect(label.Handle(), nullptr, FALSE)) << "same text, yet invalidated";
    label.SetFileName(path + " ");
    EXPECT_EQ(label.Caption(), "setup.exe ");  // now measured with the big font
    EXPECT_TRUE(GetUpdateRect(label.Handle(), nullptr, FALSE));
    label.Repaint();
    EXPECT_FALSE(GetUpdateRect(label.Handle(), nullptr, FALSE)) << "Repaint must draw at once";
    label.SetFileName("D:\\Other\\setup.exe ");
    EXPECT_EQ(label.Caption(), "setup.exe ");
    EXPECT_FALSE(GetUpdateRect(label.Handle(), nullptr, FALSE)) << "same caption, yet invalidated";
}

class ProgressDialogWin : public ::testing::Test {
protected:
    StandIn main{100, 100, 549, 300};
    int aborts = 0;
    TForm3 form{main.handle, [this] { ++aborts; }};
};

TEST_F(ProgressDialogWin, LayoutAndTexts) {
    HWND window = form.Handle();
    ASSERT_TRUE(window);
    EXPECT_FALSE(form.Visible());
    EXPECT_EQ(GetWindow(window, GW_OWNER), main.handle);
    EXPECT_EQ(WindowText(window), "Kelvaro in Progress!");
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 416);
    EXPECT_EQ(client.bottom, 80);
    EXPECT_FALSE(GetWindowLongA(window, GWL_STYLE) & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));

    const struct {
        HWND control;
        const char *bounds, *text;
        LONG weight;
    } controls[] = {
        {form.Animate1(), "8,8 48x50", "", 0},
        {form.Label1(), "64,16 41x13", "Status:", FW_BOLD},
        {form.Label2(), "65,32 40x13", "Found:", FW_BOLD},
        {form.Status().Handle(), "112,32 297x13", "", FW_NORMAL},
        {form.Button1(), "336,48 75x25", "&Stop", FW_NORMAL},
    };
    for (const auto& c : controls) {
        EXPECT_EQ(BoundsText(c.control), c.bounds) << c.text;
        EXPECT_EQ(WindowText(c.control), c.text);
        if (!c.weight) continue;
        LOGFONTA font{};
        GetObjectA(reinterpret_cast<HFONT>(SendMessageA(c.control, WM_GETFONT, 0, 0)), sizeof font, &font);
        EXPECT_EQ(font.lfHeight, -11) << c.text;
        EXPECT_EQ(font.lfWeight, c.weight) << c.text;
        EXPECT_STREQ(font.lfFaceName, "MS Sans Serif");
    }
    EXPECT_TRUE(GetWindowLongA(form.Label1(), GWL_STYLE) & SS_RIGHT);
    EXPECT_TRUE(GetWindowLongA(form.Label2(), GWL_STYLE) & SS_RIGHT);
    EXPECT_EQ(GetNextDlgTabItem(window, nullptr, FALSE), form.Button1());
    EXPECT_EQ(form.Status().Direction(), drFromLeft);
    EXPECT_EQ(form.Status().Separator(), "\\");
    // Wine's stock find-file clip is a still picture wider than the box: the program's own plays.
    EXPECT_TRUE(form.PlaysOwnClip());
    EXPECT_TRUE(SendMessageA(form.Animate1(), ACM_STOP, 0, 0));
}

TEST_F(ProgressDialogWin, RunTextsSizeLabel3FitStatusAndRepaintAtOnce) {
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(form.Label3(), WM_GETFONT, 0, 0));
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    EXPECT_EQ(form.SearchText(), "");
    for (const char* text : {"Searching for *.tmp", "Searching for broken shortcuts"}) {
        form.SetSearchText(text);
        EXPECT_EQ(form.SearchText(), text);
        EXPECT_EQ(BoundsText(form.Label3()),
                  "112,16 " + std::to_string(TextWidth(font, text)) + "x" + std::to_string(metrics.tmHeight));
    }

    form.Show();
    const std::string spaces(78, ' ');
    form.Status().SetFileName("C:\\WINDOWS\\TEMP\\a.tmp" + spaces);
    EXPECT_EQ(form.Status().Caption().substr(form.Status().Caption().size() - 83), "a.tmp" + spaces);
    EXPECT_NE(form.Status().Caption().size(), form.Status().FileName().size());
    form.RepaintNow();
    EXPECT_FALSE(GetUpdateRect(form.Status().Handle(), nullptr, FALSE));
    EXPECT_FALSE(GetUpdateRect(form.Handle(), nullptr, FALSE));
    form.Hide();
    EXPECT_FALSE(form.Visible());
}

// The main window is narrower and lower than the dialog by odd amounts: the halves truncate toward
// zero, so the dialog sits 50 (not 51) pixels left of and 25 (not 26) above the main window. A
// minimised main window counts with the bounds it will have when restored.
TEST_F(ProgressDialogWin, ShowCentresOverTheMainWindowAndFocusesStop) {
    RECT own;
    GetWindowRect(form.Handle(), &own);
    const int width = own.right - own.left, height = own.bottom - own.top;
    const struct {
        int mainWidth, mainHeight, dx, dy;
        bool minimised;
    } cases[] = {
        {width - 101, height - 51, -50, -25, false},
        {549, 301, (549 - width) / 2, (301 - height) / 2, true},
    };
    for (const auto& c : cases) {
        MoveWindow(main.handle, 40, 30, c.mainWidth, c.mainHeight, FALSE);
        RECT placed;
        GetWindowRect(main.handle, &placed);
        ASSERT_EQ(placed.bottom - placed.top, c.mainHeight);
        if (c.minimised) ShowWindow(main.handle, SW_SHOWMINNOACTIVE);
        form.Show();
        EXPECT_TRUE(form.Visible());
        GetWindowRect(form.Handle(), &own);
        EXPECT_EQ(own.left, 40 + c.dx);
        EXPECT_EQ(own.top, 30 + c.dy);
        EXPECT_EQ(own.right - own.left, width);
        EXPECT_EQ(GetFocus(), form.Button1());
    }
    // Closed, it stops the work (which hides it) and lives on.
    SendMessageA(form.Handle(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(form.Handle()));
}

TEST(ProgressDialogWinGuard, AnErrorInTheStopButtonsHandlerIsShownAndTheDialogGoesOn) {
    StandIn main(40, 30, 549, 300);
    TForm3 form(main.handle, [] { throw std::runtime_error("cannot stop"); });
    std::vector<std::string> boxes;
    MessageBoxFunction previous =
        SetMessageBoxFunction([&](HWND, const std::string& text, const std::string&, UINT) {
            boxes.push_back(text);
            return IDOK;
        });
    form.Show();
    PressKey(form.Button1(), VK_RETURN, 0x1C);
    PressKey(form.Button1(), 'S', 0x1F, true);
    SetMessageBoxFunction(previous);
    EXPECT_EQ(boxes, (std::vector<std::string>{"cannot stop.", "cannot stop."}));
    EXPECT_TRUE(form.Visible());
}

TEST_F(ProgressDialogWin, StopButtonAndEscCallTheAbortHandlerOnce) {
    form.Show();
    HWND button = form.Button1();
    ASSERT_EQ(GetFocus(), button);
    const struct {
        const char* what;
        std::function<void()> act;
        int calls;
    } cases[] = {
        {"click", [&] { SendMessageA(button, BM_CLICK, 0, 0); }, 1},
        {"Esc on the button", [&] { PressKey(button, VK_ESCAPE, 0x01); }, 1},
        {"Esc on the window", [&] { PressKey(form.Handle(), VK_ESCAPE, 0x01); }, 1},
        {"Alt+S", [&] { PressKey(button, 'S', 0x1F, true); }, 1},
        {"Alt+S on the window", [&] { PressKey(form.Handle(), 'S', 0x1F, true); }, 1},
        {"Enter", [&] { PressKey(button, VK_RETURN, 0x1C); }, 1},
        {"Space", [&] { PressKey(button, VK_SPACE, 0x39); }, 1},
        {"other keys", [&] { PressKey(button, 'X', 0x2D), PressKey(button, VK_TAB, 0x0F); }, 0},
        {"Alt+other", [&] { PressKey(button, 'X', 0x2D, true); }, 0},
        {"the close box", [&] { SendMessageA(form.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); }, 1},
    };
    for (const auto& c : cases) {
        aborts = 0;
        c.act();
        EXPECT_EQ(aborts, c.calls) << c.what;
        EXPECT_TRUE(form.Visible()) << c.what << ": a stop leaves hiding to the run";
    }
}

}  // namespace
}  // namespace kelvaro::testing
