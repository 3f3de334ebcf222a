// The main window as a user meets it, and the way an escaped exception is shown.
#include <gtest/gtest.h>
#include <windows.h>

#include "app/main_window_win.h"
#include "app/message_box_win.h"

namespace kelvaro::testing {
namespace {

std::string Caption(HWND window) {
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

TEST(MainWindowWin, CaptionIsSetWhenFirstShownAndClosingEndsTheLoop) {
    TForm1 form;
    HWND window = form.Handle();
    ASSERT_TRUE(window);
    EXPECT_EQ(Caption(window), "");
    ShowWindow(window, SW_SHOWNORMAL);
    EXPECT_EQ(Caption(window), "Kelvaro for Windows 95");
    RECT bounds;
    GetWindowRect(window, &bounds);
    EXPECT_EQ(bounds.right - bounds.left, 549);
    EXPECT_EQ(bounds.bottom - bounds.top, 300);
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window));
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
}

class ThrowingWindow : public Window {
public:
    ThrowingWindow() {
        RegisterClassOnce("KelvaroThrowingWindow", nullptr);
        Create("KelvaroThrowingWindow", "", WS_OVERLAPPED, 0, 0, 0, 10, 10, nullptr, nullptr);
    }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_APP) throw std::runtime_error("'x' is not a valid integer value");
        return DefaultHandling(message, wParam, lParam);
    }
};

TEST(MainWindowWin, AnExceptionLeavingAHandlerIsShownAndTheProgramGoesOn) {
    std::string text, caption;
    UINT type = 0;
    SetMessageBoxFunction([&](HWND, const std::string& t, const std::string& c, UINT ty) {
        text = t, caption = c, type = ty;
        return IDOK;
    });
    ThrowingWindow window;
    EXPECT_EQ(SendMessageA(window.Handle(), WM_APP, 0, 0), 0);
    SetMessageBoxFunction(nullptr);
    EXPECT_EQ(text, "'x' is not a valid integer value.");
    EXPECT_EQ(caption, "Kelvaro");
    EXPECT_EQ(type, static_cast<UINT>(MB_OK | MB_ICONSTOP));
    EXPECT_TRUE(IsWindow(window.Handle()));
}

}  // namespace
}  // namespace kelvaro::testing
