// The main window's commands that open the rule editor and write the start-up shortcut.
#include <windows.h>
#include <gtest/gtest.h>

#include <deque>
#include <functional>

#include "rules/rule_editor_win.h"
#include "windows/main_window_fixture.h"
#include "windows/test_tree.h"

namespace kelvaro::testing {
namespace {

std::deque<std::function<void(HWND)>> editorSteps;

// Drives the modal editor from inside its own message loop, one step per timer tick.
void CALLBACK NextEditorStep(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = FindWindowA(TForm2::kClassName, nullptr);
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
