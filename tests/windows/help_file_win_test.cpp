// The help file the program ships opens in the platform's help engine at its contents.
#include <windows.h>
#include <gtest/gtest.h>

#include "app/help_win.h"
#include "windows/test_tree.h"

namespace kelvaro::testing {
namespace {

// The caption and the texts of every window inside the help window.
std::string AllTexts(HWND window) {
    std::string texts;
    auto add = [](HWND child, LPARAM into) -> BOOL {
        char text[4096] = {};
        SendMessageA(child, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
        *reinterpret_cast<std::string*>(into) += std::string(text) + "\n";
        return TRUE;
    };
    add(window, reinterpret_cast<LPARAM>(&texts));
    EnumChildWindows(window, add, reinterpret_cast<LPARAM>(&texts));
    return texts;
}

TEST(HelpFileWin, ContentsOpenTheProgramsHelpFile) {
    // ctest runs the tests in the build folder, where the help file is copied beside the program.
    // Wine's help engine opens the file it finds through OpenFile, which takes no path of 128
    // characters or more: the engine is shown a copy in a short folder, wherever the build lies.
    TempFolder shortFolder;
    ASSERT_TRUE(CopyFileA("Kelvaro.hlp", (shortFolder.Path() + "\\Kelvaro.hlp").c_str(), FALSE));
    char buildFolder[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, buildFolder);
    ASSERT_TRUE(SetCurrentDirectoryA(shortFolder.Path().c_str()));
    HWND owner =
        CreateWindowA("STATIC", "owner", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    RunHelpCommand(owner, HELP_FINDER, 0);
    HWND help = nullptr;
    for (int wait = 0; wait < 100 && !help; ++wait) {
        Sleep(100);
        help = FindWindowA("MS_WINHELP", nullptr);
    }
    ASSERT_TRUE(help) << "no help window";
    // The contents topic is shown.
    std::string texts;
    for (int wait = 0; wait < 50 && texts.find("Kelvaro Help Contents") == std::string::npos; ++wait) {
        Sleep(100);
        texts = AllTexts(help);
    }
    EXPECT_NE(texts.find("Kelvaro Help Contents"), std::string::npos) << texts;
    // The caption is the help file's own title, not the help engine's name.
    char caption[256] = {};
    GetWindowTextA(help, caption, sizeof caption);
    EXPECT_STREQ(caption, "Kelvaro Help");
    RunHelpCommand(owner, HELP_QUIT, 0);
    DestroyWindow(owner);
    SetCurrentDirectoryA(buildFolder);
}

}  // namespace
}  // namespace kelvaro::testing
