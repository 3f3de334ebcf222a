// What the window stores of its own shape: the bounds it has when restored and the report columns'
// widths, whatever state and view style it is in when it closes.
#include <windows.h>
#include <gtest/gtest.h>

#include <vector>

#include "app/status_panels.h"
#include "windows/main_window_fixture.h"

namespace kelvaro::testing {
namespace {

class WindowBoundsTest : public MainWindowTest {
protected:
    void StoreBounds() {
        SetString("Settings", "Width", "600");
        SetString("Settings", "Height", "400");
        SetString("Settings", "Left", "70");
        SetString("Settings", "Top", "80");
    }
    void ExpectStoredBounds(const char* when) {
        EXPECT_EQ(GetString("Settings", "Width"), "600") << when;
        EXPECT_EQ(GetString("Settings", "Height"), "400") << when;
        EXPECT_EQ(GetString("Settings", "Left"), "70") << when;
        EXPECT_EQ(GetString("Settings", "Top"), "80") << when;
    }
    // As the start-up shortcut starts the program: minimised, not activated (show command 7).
    TForm1& OpenMinimised(const std::string& commandLine = "Kelvaro.exe") {
        DropForm();
        form = NewForm(MakePlatformMainWindowServices());
        form->CommandLine = commandLine;
        ShowWindow(form->Handle(), SW_SHOWMINNOACTIVE);
        return *form;
    }
};

TEST_F(WindowBoundsTest, AMinimisedStartKeepsTheStoredBoundsAndARestoreShowsThem) {
    StoreBounds();
    ASSERT_TRUE(IsIconic(OpenMinimised().Handle()));
    ASSERT_TRUE(Closes());
    ExpectStoredBounds("closed by hand");

    SetString("Settings", "Confirm", "0");
    TForm1& automatic = OpenMinimised("Kelvaro.exe -a");
    EXPECT_FALSE(IsWindow(automatic.Handle()));
    Pump();
    ExpectStoredBounds("automatic mode");

    TForm1& f = OpenMinimised();
    ShowWindow(f.Handle(), SW_RESTORE);
    RECT shown;
    GetWindowRect(f.Handle(), &shown);
    EXPECT_EQ(shown.left, 70);
    EXPECT_EQ(shown.top, 80);
    EXPECT_EQ(shown.right - shown.left, 600);
    EXPECT_EQ(shown.bottom - shown.top, 400);
}

TEST_F(WindowBoundsTest, AMaximisedWindowStoresItsRestoredBounds) {
    StoreBounds();
    TForm1& f = Open();
    ShowWindow(f.Handle(), SW_MAXIMIZE);
    ASSERT_TRUE(IsZoomed(f.Handle()));
    ASSERT_TRUE(Closes());
    ExpectStoredBounds("maximised");
}

TEST_F(MainWindowTest, ColumnWidthsSurviveAStartAndCloseInEveryViewStyle) {
    for (const char* style : {"List", "Small", "Large"}) {
        SetString("Settings", "Style", style);
        SetString("Settings", "ColumnA0", "111");
        SetString("Settings", "ColumnA4", "77");
        SetString("Settings", "ColumnB0", "123");
        TForm1& f = Open();
        EXPECT_NE(f.ListView().GetViewStyle(), ViewStyle::Report) << style;
        ASSERT_TRUE(Closes()) << style;
        EXPECT_EQ(GetString("Settings", "ColumnA0"), "111") << style;
        EXPECT_EQ(GetString("Settings", "ColumnA4"), "77") << style;
        EXPECT_EQ(GetString("Settings", "ColumnA5"), "40") << style;
        EXPECT_EQ(GetString("Settings", "ColumnB0"), "123") << style;
        // The report view shows the widths the store holds.
        TForm1& again = Open();
        Click(cmd::EBDetails);
        EXPECT_EQ(again.ListView().ColumnWidth(0), 111) << style;
        EXPECT_EQ(again.ListView().ColumnWidth(5), 77) << style;
    }
}

// The pixels a window shows on screen, and those it draws when asked to paint itself now.
std::vector<COLORREF> Pixels(HWND window, bool fresh) {
    RECT client{};
    GetClientRect(window, &client);
    HDC windowDc = GetDC(window);
    HDC memory = CreateCompatibleDC(windowDc);
    HBITMAP bitmap = CreateCompatibleBitmap(windowDc, client.right, client.bottom);
    HGDIOBJ old = SelectObject(memory, bitmap);
    if (fresh)
        SendMessageA(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT | PRF_ERASEBKGND);
    else
        BitBlt(memory, 0, 0, client.right, client.bottom, windowDc, 0, 0, SRCCOPY);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < client.bottom; ++y)
        for (int x = 0; x < client.right; ++x) pixels.push_back(GetPixel(memory, x, y));
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(window, windowDc);
    return pixels;
}

// Made taller, the window moves its status bar down; the bar must be drawn anew in its new place,
// not left blank or showing what was there before.
TEST_F(MainWindowTest, TheStatusBarEndsWithItsLastPanelAndIsDrawnAnewAfterATallerResize) {
    TForm1& f = Open();
    Pump();
    UpdateWindow(f.Handle());
    RECT bounds{};
    GetWindowRect(f.Handle(), &bounds);
    SetWindowPos(f.Handle(), nullptr, 0, 0, bounds.right - bounds.left, bounds.bottom - bounds.top + 120,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Pump();
    EXPECT_TRUE(Pixels(f.StatusBar(), false) == Pixels(f.StatusBar(), true));
    // The last panel reaches the right edge: no empty box after it.
    RECT panel{}, client{};
    SendMessageA(f.StatusBar(), SB_GETRECT, kStatePanel, reinterpret_cast<LPARAM>(&panel));
    GetClientRect(f.StatusBar(), &client);
    EXPECT_GE(panel.right, client.right - 2);
}

// Dragged as small as it goes, the window keeps its toolbar, a row of the list and the selection's summary
// readable: the hint panel gives way before the summary does.
TEST_F(MainWindowTest, TheSmallestWindowKeepsTheToolbarARowAndTheSummaryReadable) {
    TForm1& f = Open();
    SetWindowPos(f.Handle(), nullptr, 0, 0, 40, 40, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Pump();
    RECT client{}, exit{}, panel{};
    GetClientRect(f.Handle(), &client);
    GetWindowRect(f.Button(cmd::EBExit).Handle(), &exit);
    MapWindowPoints(nullptr, f.Handle(), reinterpret_cast<POINT*>(&exit), 2);
    EXPECT_LE(exit.right, client.right) << "the toolbar's last button is cut off";
    EXPECT_GE(client.bottom - client.top, 30 + 64 + 19);
    SendMessageA(f.StatusBar(), SB_GETRECT, kStatePanel, reinterpret_cast<LPARAM>(&panel));
    EXPECT_GE(panel.right - panel.left, 190) << "the selection's summary has no room";
}

}  // namespace
}  // namespace kelvaro::testing
