// The main window's commands that open the rule editor and write the start-up shortcut.
#include <windows.h>
#include <gtest/gtest.h>

#include <deque>
#include <functional>

#include "rules/protected_folders_win.h"
#include "rules/rule_editor_win.h"
#include "windows/main_window_fixture.h"
#include "windows/test_tree.h"

namespace kelvaro::testing {
namespace {

std::deque<std::function<void(HWND)>> editorSteps;
const char* editorClass = TForm2::kClassName;

// Drives the modal editor (or the dialog of editorClass) from inside its own message loop, one step per
// timer tick.
void CALLBACK NextEditorStep(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = FindWindowA(editorClass, nullptr);
    if (!dialog) return;
    if (editorSteps.empty()) {
        KillTimer(nullptr, timer);
        return;
    }
    auto step = std::move(editorSteps.front());
    editorSteps.pop_front();
    step(dialog);
}

void SetItemText(HWND dialog, int id, const char* text) {
    SetWindowTextA(GetDlgItem(dialog, id), text);
}
void Press(HWND dialog, int id) {
    PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

TEST_F(MainWindowTest, AddAndDoubleClickOpenTheRuleEditorOnTheSetupList) {
    TForm1& f = Open();
    Command(cmd::Setup2);
    editorSteps = {[](HWND d) { SetItemText(d, TForm2::kEditLocId, "D:\\X"); },
                   [](HWND d) { SetItemText(d, TForm2::kEditFileId, "*.bak"); },
                   [](HWND d) { Press(d, TForm2::kButton1Id); }};
    SetTimer(nullptr, 0, 10, NextEditorStep);
    Click(cmd::EBAdd);
    ASSERT_EQ(f.LVSetup().RowCount(), 1);
    EXPECT_EQ(f.LVSetup().Text(0, 0), "D:\\X");
    EXPECT_EQ(f.LVSetup().Text(0, 1), "*.bak");
    EXPECT_TRUE(f.AddingRule);

    NMHDR doubleClick{f.LVSetup().Handle(), static_cast<UINT_PTR>(cmd::LVSetup),
                      static_cast<UINT>(NM_DBLCLK)};
    SendMessageA(f.Handle(), WM_NOTIFY, cmd::LVSetup,
                 reinterpret_cast<LPARAM>(&doubleClick));  // nothing selected
    EXPECT_EQ(f.LVSetup().Text(0, 0), "D:\\X");
    f.LVSetup().SetSelected(0, true);
    editorSteps = {[](HWND d) { SetItemText(d, TForm2::kEditLocId, "E:\\Y"); },
                   [](HWND d) { Press(d, TForm2::kButton1Id); }};
    SetTimer(nullptr, 0, 10, NextEditorStep);
    SendMessageA(f.Handle(), WM_NOTIFY, cmd::LVSetup, reinterpret_cast<LPARAM>(&doubleClick));
    ASSERT_EQ(f.LVSetup().RowCount(), 1);
    EXPECT_EQ(f.LVSetup().Text(0, 0), "E:\\Y");
    EXPECT_EQ(f.LVSetup().Text(0, 1), "*.bak");
    EXPECT_FALSE(f.AddingRule);
}

// F1 as the keyboard gives it, with the focus on a control of the window. The desktop settles its
// activation a moment after a window of an earlier test went: the window is made the foreground again
// until it stays so.
void PressF1(HWND control) {
    HWND window = GetAncestor(control, GA_ROOT);
    for (int settled = 0, tries = 0; settled < 5 && tries < 100; ++tries) {
        if (GetForegroundWindow() != window)
            settled = 0, SetForegroundWindow(window);
        else
            ++settled;
        // Reads what the desktop said, without running the messages of a dialog's loop.
        MSG message;
        PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
        Sleep(10);
    }
    SetFocus(control);
    keybd_event(VK_F1, 0x3B, 0, 0);
    keybd_event(VK_F1, 0x3B, KEYEVENTF_KEYUP, 0);
}

// F1 in the main window opens the help's contents, as Help > Contents does; in the rule editor and the
// Protected Folders dialog it opens their own topics.
TEST_F(MainWindowTest, F1OpensTheHelpAtTheTopicOfItsWindow) {
    static std::vector<std::pair<UINT, ULONG_PTR>> asked;
    asked.clear();
    const HelpFunction fixtureHelp = SetHelpFunction(
        [](HWND, const std::string&, UINT command, ULONG_PTR data) { asked.emplace_back(command, data); });
    TForm1& f = Open();
    PressF1(f.ListView().Handle());
    for (int wait = 0; wait < 100 && asked.empty(); ++wait) Sleep(10), Pump();
    const struct {
        const char* dialogClass;
        int command, field, cancel;
    } dialogs[] = {{TForm2::kClassName, cmd::Add1, TForm2::kEditLocId, TForm2::kButton3Id},
                   {TProtectedFolders::kClassName, cmd::ProtectedFolders1, TProtectedFolders::kEditId,
                    TProtectedFolders::kCancelId}};
    const auto idle = [](HWND) {};
    for (const auto& dialog : dialogs) {
        editorClass = dialog.dialogClass;
        editorSteps = {[&dialog](HWND d) { PressF1(GetDlgItem(d, dialog.field)); },
                       idle,
                       idle,
                       idle,
                       idle,
                       [&dialog](HWND d) { Press(d, dialog.cancel); }};
        SetTimer(nullptr, 0, 10, NextEditorStep);
        Command(dialog.command);
    }
    editorClass = TForm2::kClassName;
    SetHelpFunction(fixtureHelp);
    EXPECT_EQ(asked,
              (std::vector<std::pair<UINT, ULONG_PTR>>{{HELP_FINDER, 0},
                                                       {HELP_CONTEXT, help_topic::kRules},
                                                       {HELP_CONTEXT, help_topic::kProtectedFolders}}));
}

TEST_F(MainWindowTest, RunAtBootWritesAndRemovesTheStartupShortcut) {
    const char* shellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
    char saved[MAX_PATH] = {};
    DWORD savedSize = sizeof saved;
    bool hadValue = RegGetValueA(HKEY_CURRENT_USER, shellFolders, "Startup", RRF_RT_REG_SZ, nullptr, saved,
                                 &savedSize) == ERROR_SUCCESS;
    TempFolder startup;
    RegSetKeyValueA(HKEY_CURRENT_USER, shellFolders, "Startup", REG_SZ, startup.Path().c_str(),
                    static_cast<DWORD>(startup.Path().size() + 1));
    TForm1& f = Open();
    std::string link = startup.Path() + "\\Kelvaro.lnk";
    Command(cmd::RunduringWin95Boot1);
    EXPECT_TRUE(f.Menu().Checked(cmd::RunduringWin95Boot1));
    EXPECT_NE(GetFileAttributesA(link.c_str()), INVALID_FILE_ATTRIBUTES);
    // Switched on, it says once what that means; switched off, nothing.
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], kRunAtStartupNotice);
    Command(cmd::RunduringWin95Boot1);
    EXPECT_FALSE(f.Menu().Checked(cmd::RunduringWin95Boot1));
    EXPECT_EQ(GetFileAttributesA(link.c_str()), INVALID_FILE_ATTRIBUTES);
    if (hadValue)
        RegSetKeyValueA(HKEY_CURRENT_USER, shellFolders, "Startup", REG_SZ, saved, savedSize);
    else
        RegDeleteKeyValueA(HKEY_CURRENT_USER, shellFolders, "Startup");
    EXPECT_EQ(boxes.size(), 1u);
}

}  // namespace
}  // namespace kelvaro::testing
