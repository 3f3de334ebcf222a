// The about box on the real controls: driven from a timer while its modal loop runs.
#include "app/about_box_win.h"

#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "app/about_box.h"
#include "ui/message_box_win.h"
#include "ui/resource_ids.h"
#include "widgets/clip_animation_win.h"
#include "windows/screenshot.h"
#include "windows/window_text.h"

namespace kelvaro::testing {
namespace {

std::function<void(HWND box)> whileOpen;

// Runs whileOpen once inside the box's own modal loop, then the box is expected to be closed by it.
void CALLBACK OnTimer(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND box = FindWindowA(TfrmAbout::kClassName, nullptr);
    if (!box || !IsWindowVisible(box)) return;
    KillTimer(nullptr, timer);
    whileOpen(box);
}

RECT Bounds(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

struct AboutBoxWin : ::testing::Test {
    HWND main = nullptr;
    std::vector<std::string> messages;
    MessageBoxFunction previous;

    void SetUp() override {
        main = CreateWindowExA(0, "STATIC", "main", WS_POPUP | WS_VISIBLE, 50, 40, 549, 400, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
        previous = SetMessageBoxFunction([this](HWND, const std::string& text, const std::string&, UINT) {
            messages.push_back(text);
            return IDOK;
        });
    }
    void TearDown() override {
        SetMessageBoxFunction(previous);
        DestroyWindow(main);
        whileOpen = nullptr;
    }
    int OpenAndRun(std::function<void(HWND box)> action) {
        whileOpen = std::move(action);
        UINT_PTR timer = SetTimer(nullptr, 0, 30, OnTimer);
        TfrmAbout box(main);
        int result = box.ShowModal();
        KillTimer(nullptr, timer);
        return result;
    }
};

TEST_F(AboutBoxWin, ShowsItsTextsCentredOverTheMainWindowAndClosesWithOK) {
    bool seen = false;
    int result = OpenAndRun([&](HWND box) {
        seen = true;
        EXPECT_EQ(WindowText(box), "About Kelvaro");
        EXPECT_FALSE(IsWindowEnabled(main));  // modal
        RECT r = Bounds(box);
        EXPECT_EQ(r.left, 50 + (549 - (r.right - r.left)) / 2);
        EXPECT_EQ(r.top, 40 + (400 - (r.bottom - r.top)) / 2);
        RECT client{};
        GetClientRect(box, &client);
        EXPECT_EQ(client.right, 340);
        EXPECT_EQ(client.bottom, 258);

        auto item = [&](int id) { return GetDlgItem(box, id); };
        EXPECT_EQ(WindowText(item(TfrmAbout::kLblAppId)), "Kelvaro");
        EXPECT_EQ(WindowText(item(TfrmAbout::kLblWindowsId)), "Windows 95");
        EXPECT_EQ(WindowText(item(TfrmAbout::kLblPhysId)), "Physical Memory Available to Windows:");
        EXPECT_EQ(WindowText(item(TfrmAbout::kLblSysResId)), "System Resources:");
        MEMORYSTATUSEX memory{};
        memory.dwLength = sizeof memory;
        GlobalMemoryStatusEx(&memory);
        EXPECT_EQ(WindowText(item(TfrmAbout::kLblPhysicalId)), MemoryFigureText(memory.ullTotalPhys));
        for (int figure : {TfrmAbout::kLblPhysicalId, TfrmAbout::kLblResFreeId})
            EXPECT_LE(Bounds(item(figure)).right, Bounds(box).right - GetSystemMetrics(SM_CXFIXEDFRAME))
                << figure;
        const std::string resources = WindowText(item(TfrmAbout::kLblResFreeId));
        EXPECT_EQ(resources, ResourceFigureText(*FreeUserResources()));
        EXPECT_FALSE(WindowText(item(TfrmAbout::kNoticeId)).empty());

        HWND ok = item(IDOK);
        EXPECT_EQ(WindowText(ok), "OK");
        EXPECT_EQ(GetFocus(), ok);
        RECT okBounds = Bounds(ok);
        MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&okBounds), 2);
        EXPECT_EQ(okBounds.left, 254);
        EXPECT_EQ(okBounds.top, 224);
        // A label as wide as its text: the value column starts where the long caption leaves room.
        EXPECT_LT(Bounds(item(TfrmAbout::kLblPhysId)).right,
                  Bounds(item(TfrmAbout::kLblPhysicalId)).left + 4);

        // The clip is open and playing: a stop succeeds only on an opened clip.
        EXPECT_TRUE(SendMessageA(item(TfrmAbout::kAnimate1Id), ACM_STOP, 0, 0));
        SendMessageA(item(TfrmAbout::kAnimate1Id), ACM_PLAY, static_cast<WPARAM>(-1), MAKELPARAM(0, 0xFFFF));
        if (const char* shot = std::getenv("KELVARO_ABOUT_SHOT")) {
            // Let the clip's timer draw a few frames first.
            for (DWORD end = GetTickCount() + 1200; GetTickCount() < end; Sleep(20)) {
                MSG message;
                while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
            }
            SaveScreenshot(shot);
        }
        SendMessageA(ok, BM_CLICK, 0, 0);
    });
    EXPECT_TRUE(seen);
    EXPECT_EQ(result, IDOK);
    EXPECT_TRUE(IsWindowEnabled(main));
    EXPECT_TRUE(messages.empty());
}

TEST_F(AboutBoxWin, EnterAndTheCloseBoxEndItEscDoesNot) {
    struct Case {
        const char* how;
        std::function<void(HWND)> close;
        int result;
    };
    const std::vector<Case> cases = {
        {"Enter",
         [](HWND box) {
             PostMessageA(box, WM_KEYDOWN, VK_ESCAPE, 0);  // ignored: there is no cancel button
             PostMessageA(GetDlgItem(box, TfrmAbout::kLblAppId), WM_KEYDOWN, VK_RETURN, 0);
         },
         IDOK},
        {"close box", [](HWND box) { PostMessageA(box, WM_SYSCOMMAND, SC_CLOSE, 0); }, IDCANCEL},
    };
    for (const Case& c : cases) {
        HWND previousBox = nullptr;
        int result = OpenAndRun([&](HWND box) {
            previousBox = box;
            c.close(box);
        });
        EXPECT_EQ(result, c.result) << c.how;
        EXPECT_TRUE(IsWindowEnabled(main)) << c.how;
        EXPECT_FALSE(IsWindow(previousBox)) << c.how;  // destroyed with the object, made anew each time
    }
}

TEST(AboutBoxClip, OpensAndPlaysFromTheProgramsResources) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_ANIMATE_CLASS};
    InitCommonControlsEx(&controls);
    HWND parent =
        CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 64, 64, nullptr, nullptr, nullptr, nullptr);
    HWND clip = CreateWindowExA(0, ANIMATE_CLASSA, "", WS_CHILD | WS_VISIBLE | ACS_TIMER, 0, 0, 32, 32,
                                parent, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(clip);
    EXPECT_FALSE(OpenClip(clip, IDA_SEARCH_CLIP + 1)) << "a clip the program does not hold";
    ASSERT_TRUE(OpenClip(clip));
    EXPECT_TRUE(SendMessageA(clip, ACM_PLAY, static_cast<WPARAM>(-1), MAKELPARAM(0, 0xFFFF)));
    DestroyWindow(parent);

    // The main header: six 32 x 32 frames, two a second.
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(IDA_SEARCH_CLIP), "AVI");
    ASSERT_TRUE(found);
    const auto* bytes = static_cast<const unsigned char*>(LockResource(LoadResource(nullptr, found)));
    auto at = [&](std::size_t offset) {
        DWORD value;
        std::memcpy(&value, bytes + offset, sizeof value);
        return value;
    };
    ASSERT_EQ(std::string(reinterpret_cast<const char*>(bytes) + 24, 4), "avih");
    EXPECT_EQ(at(32), 500000u);  // microseconds per frame
    EXPECT_EQ(at(48), 6u);
    EXPECT_EQ(at(64), 32u);
    EXPECT_EQ(at(68), 32u);
}

}  // namespace
}  // namespace kelvaro::testing
