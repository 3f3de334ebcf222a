// The rule editor as a user meets it: opened modally over a stand-in main window and driven through
// window messages from a timer that runs inside the dialog's own message loop.
#include "rules/rule_editor_win.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "ui/message_box_win.h"
#include "windows/screenshot.h"
#include "windows/test_tree.h"
#include "windows/window_text.h"

namespace kelvaro::testing {
namespace {

using Step = std::function<void(HWND dialog)>;

struct StandInHost : RuleEditorHost {
    HWND window = CreateWindowA("STATIC", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 80, 600, 400, nullptr,
                                nullptr, nullptr, nullptr);
    bool adding = true;
    bool office = false;
    std::vector<RuleRow> rows;  // rows[0] is the first selected one
    std::vector<RuleRow> appended;
    std::string hint;
    ~StandInHost() override { DestroyWindow(window); }

    HWND Window() const override { return window; }
    bool AddingRule() const override { return adding; }
    bool Office97Tick() const override { return office; }
    bool HasSelectedRule() const override { return !rows.empty(); }
    RuleRow FirstSelectedRule() const override { return rows.front(); }
    void ReplaceFirstSelectedRule(const RuleRow& row) override { rows.front() = row; }
    void AppendRule(const RuleRow& row) override { appended.push_back(row); }
    void DisplayHint(const std::string& longHint) override { hint = longHint; }
};

std::deque<Step> steps;

void CALLBACK NextStep(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = FindWindowA(TForm2::kClassName, nullptr);
    if (steps.empty() || !dialog) {
        KillTimer(nullptr, timer);
        // A script that forgot to close the dialog must not hang the run.
        if (dialog) PostMessageA(GetDlgItem(dialog, TForm2::kButton3Id), BM_CLICK, 0, 0);
        return;
    }
    Step step = std::move(steps.front());
    steps.pop_front();
    step(dialog);
}

// Each step runs on its own timer tick, so messages a step posts are handled before the next one.
bool OpenEditor(StandInHost& host, std::deque<Step> script) {
    steps = std::move(script);
    SetTimer(nullptr, 0, 10, NextStep);
    const bool ok = ShowRuleEditor(host);
    EXPECT_TRUE(steps.empty()) << "the dialog closed before its script ended";
    steps.clear();
    EXPECT_EQ(FindWindowA(TForm2::kClassName, nullptr), nullptr);
    EXPECT_TRUE(IsWindowEnabled(host.window));
    return ok;
}

HWND Item(HWND dialog, int id) {
    return GetDlgItem(dialog, id);
}

bool Visible(HWND dialog, int id) {
    return (GetWindowLongA(Item(dialog, id), GWL_STYLE) & WS_VISIBLE) != 0;
}

bool Checked(HWND dialog, int id) {
    return SendMessageA(Item(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void SetText(HWND dialog, int id, const char* text) {
    SetWindowTextA(Item(dialog, id), text);
}

// What a user's pick in a drop-down list does: the selection, then the notification.
void Pick(HWND dialog, int id, int position) {
    SendMessageA(Item(dialog, id), CB_SETCURSEL, position, 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(Item(dialog, id)));
}

void Click(HWND dialog, int id) {
    SendMessageA(Item(dialog, id), BM_CLICK, 0, 0);
}

RuleRow Row(const char* caption, std::array<std::string, 5> subItems) {
    RuleRow row;
    row.Caption = caption;
    row.SubItems = std::move(subItems);
    return row;
}

TEST(RuleEditorWin, AddModeStartsInDesignStateAndAppendsWhatWasEntered) {
    StandInHost host;
    const bool ok = OpenEditor(
        host, {
                  [&](HWND dialog) {
                      RECT client;
                      GetClientRect(dialog, &client);
                      EXPECT_EQ(client.right, 385);
                      EXPECT_EQ(client.bottom, 179);
                      const LONG style = GetWindowLongA(dialog, GWL_STYLE);
                      const LONG exStyle = GetWindowLongA(dialog, GWL_EXSTYLE);
                      EXPECT_FALSE(style & WS_SYSMENU);
                      EXPECT_TRUE((exStyle & WS_EX_TOOLWINDOW) && (exStyle & WS_EX_TOPMOST));
                      EXPECT_FALSE(IsWindowEnabled(host.window));
                      const struct {
                          int id;
                          const char* bounds;
                      } layout[] = {
                          {TForm2::kEditLocId, "48,24 161x21"},
                          {TForm2::kExplorerButton2Id, "216,22 25x25"},
                          {TForm2::kCBIncSubDirId, "48,48 161x17"},
                          {TForm2::kEditFileId, "48,96 161x21"},
                          {TForm2::kExplorerButton1Id, "216,94 25x25"},
                          {TForm2::kLnkCBId, "48,120 201x17"},
                          {TForm2::kEditAgeId, "288,48 57x22"},
                          {TForm2::kEditSizeId, "256,120 57x22"},
                          {TForm2::kButton1Id, "272,152 50x20"},
                          {TForm2::kButton3Id, "328,152 50x20"},
                          {TForm2::kAnimate1Id, "8,16 32x32"},
                      };
                      for (const auto& control : layout)
                          EXPECT_EQ(BoundsText(Item(dialog, control.id)), control.bounds);
                      EXPECT_EQ(GetFocus(), Item(dialog, TForm2::kButton1Id));
                      EXPECT_EQ(WindowText(Item(dialog, TForm2::kCBAgeId)), "None");
                      EXPECT_EQ(WindowText(Item(dialog, TForm2::kCBByteId)), "Bytes");
                      EXPECT_TRUE(Checked(dialog, TForm2::kCBIncSubDirId));
                      for (int id : {TForm2::kLnkCBId, TForm2::kEditAgeId, TForm2::kLabel5Id,
                                     TForm2::kEditSizeId, TForm2::kCBByteId})
                          EXPECT_FALSE(Visible(dialog, id)) << id;
                      EXPECT_FALSE(TForm2::FromHandle(dialog)->BrowseButtonsFlat());

                      // The removable-drive box follows the pattern text; hiding keeps the tick.
                      SetText(dialog, TForm2::kEditFileId, "*.lnk");
                      EXPECT_TRUE(Visible(dialog, TForm2::kLnkCBId));
                      Click(dialog, TForm2::kLnkCBId);
                      SetText(dialog, TForm2::kEditFileId, "*.LNK;*.TMP");
                      EXPECT_FALSE(Visible(dialog, TForm2::kLnkCBId));
                      SetText(dialog, TForm2::kEditFileId, "*.TMP");

                      Pick(dialog, TForm2::kCBAgeId, 1);
                      EXPECT_TRUE(Visible(dialog, TForm2::kEditAgeId) && Visible(dialog, TForm2::kLabel5Id));
                      HWND age = Item(dialog, TForm2::kEditAgeId);
                      SetWindowTextA(age, "");
                      for (char key : std::string("3x0"))
                          SendMessageA(age, WM_CHAR, static_cast<unsigned char>(key), 1);
                      EXPECT_EQ(WindowText(age), "30");  // "x" refused
                      SendMessageA(age, WM_KEYDOWN, VK_UP, 1);
                      EXPECT_EQ(WindowText(age), "31");

                      Pick(dialog, TForm2::kCBSizeId, 3);
                      EXPECT_TRUE(Visible(dialog, TForm2::kEditSizeId) && Visible(dialog, TForm2::kCBByteId));
                      SetText(dialog, TForm2::kEditSizeId, "-5");
                      EXPECT_EQ(WindowText(Item(dialog, TForm2::kEditSizeId)), "0");
                      SetText(dialog, TForm2::kEditSizeId, "2");
                      SendMessageA(Item(dialog, TForm2::kCBByteId), CB_SETCURSEL, 1, 0);
                      Click(dialog, TForm2::kButton1Id);
                  },
              });
    EXPECT_TRUE(ok);
    ASSERT_EQ(host.appended.size(), 1u);
    EXPECT_EQ(host.appended[0].Caption, "C:\\");
    const std::array<std::string, 5> expected = {"*.TMP", "> 31 Days", "< 2 KBytes", "Yes", "Yes"};
    EXPECT_EQ(host.appended[0].SubItems, expected);
}

TEST(RuleEditorWin, NoneAgainAndEmptyNumberAreWrittenAsTheyStand) {
    StandInHost host;
    OpenEditor(host, {[&](HWND dialog) {
                   SetText(dialog, TForm2::kEditLocId, "D:\\X");
                   Pick(dialog, TForm2::kCBAgeId, 1);
                   SetText(dialog, TForm2::kEditAgeId, "30");
                   Pick(dialog, TForm2::kCBAgeId, 5);
                   EXPECT_FALSE(Visible(dialog, TForm2::kEditAgeId) || Visible(dialog, TForm2::kLabel5Id));
                   Pick(dialog, TForm2::kCBSizeId, 0);
                   SetText(dialog, TForm2::kEditSizeId, "");
                   Click(dialog, TForm2::kCBIncSubDirId);
                   Click(dialog, TForm2::kButton1Id);
               }});
    ASSERT_EQ(host.appended.size(), 1u);
    const std::array<std::string, 5> expected = {"", "  ", "= 0 Bytes", " ", " "};
    EXPECT_EQ(host.appended[0].Caption, "D:\\X");
    EXPECT_EQ(host.appended[0].SubItems, expected);
}

TEST(RuleEditorWin, EscapeDoesNothingAndCancelWritesNothing) {
    StandInHost host;
    host.adding = false;
    host.rows = {Row("C:\\TEMP", {"*.TMP", "  ", "  ", "Yes", " "})};
    const RuleRow before = host.rows[0];
    const bool ok = OpenEditor(host, {
                                         [](HWND dialog) {
                                             SetText(dialog, TForm2::kEditLocId, "changed");
                                             HWND focus = GetFocus();
                                             PostMessageA(focus, WM_KEYDOWN, VK_ESCAPE, 1);
                                             PostMessageA(focus, WM_KEYUP, VK_ESCAPE, 1 | (3u << 30));
                                         },
                                         [](HWND dialog) {
                                             EXPECT_TRUE(IsWindowVisible(dialog));
                                             Click(dialog, TForm2::kButton3Id);
                                         },
                                     });
    EXPECT_FALSE(ok);
    EXPECT_TRUE(host.appended.empty());
    EXPECT_EQ(host.rows[0].Caption, before.Caption);
    EXPECT_EQ(host.rows[0].SubItems, before.SubItems);
}

TEST(RuleEditorWin, AnErrorInTheFieldsHandlerIsShownAndTheDialogGoesOn) {
    struct FailingHintHost : StandInHost {
        void DisplayHint(const std::string&) override { throw std::runtime_error("no hints"); }
    } host;
    std::vector<std::string> boxes;
    MessageBoxFunction previous =
        SetMessageBoxFunction([&](HWND, const std::string& text, const std::string&, UINT) {
            boxes.push_back(text);
            return IDOK;
        });
    OpenEditor(host,
               {
                   [](HWND dialog) { SendMessageA(Item(dialog, TForm2::kEditFileId), WM_MOUSEMOVE, 0, 0); },
                   [](HWND dialog) { Click(dialog, TForm2::kButton3Id); },
               });
    SetMessageBoxFunction(previous);
    EXPECT_EQ(boxes, std::vector<std::string>{"no hints."});
}

TEST(RuleEditorWin, EditModeShowsTheRowAndWritesItBackInPlace) {
    StandInHost host;
    host.adding = false;
    host.office = true;
    host.rows = {Row("C:\\TEMP", {"*.lnk", ">=30 Days", "> 2 KBytes", " ", "Yes"}),
                 Row("D:\\Other", {"*.TMP", "  ", "  ", "Yes", " "})};
    const RuleRow other = host.rows[1];
    const bool ok = OpenEditor(
        host, {[&](HWND dialog) {
            RECT main, own;
            GetWindowRect(host.window, &main);
            GetWindowRect(dialog, &own);
            EXPECT_EQ(own.left, main.left + ((main.right - main.left) - (own.right - own.left)) / 2);
            EXPECT_EQ(own.top, main.top + ((main.bottom - main.top) - (own.bottom - own.top)) / 2);
            EXPECT_TRUE(TForm2::FromHandle(dialog)->BrowseButtonsFlat());

            EXPECT_EQ(WindowText(Item(dialog, TForm2::kEditLocId)), "C:\\TEMP");
            EXPECT_TRUE(Visible(dialog, TForm2::kLnkCBId) && Checked(dialog, TForm2::kLnkCBId));
            EXPECT_FALSE(Checked(dialog, TForm2::kCBIncSubDirId));
            EXPECT_EQ(WindowText(Item(dialog, TForm2::kCBAgeId)), "Greater than or equal to");
            EXPECT_TRUE(Visible(dialog, TForm2::kEditAgeId) && Visible(dialog, TForm2::kLabel5Id));
            EXPECT_EQ(WindowText(Item(dialog, TForm2::kEditAgeId)), "30");
            EXPECT_EQ(WindowText(Item(dialog, TForm2::kCBSizeId)), "Greater than");
            EXPECT_EQ(WindowText(Item(dialog, TForm2::kEditSizeId)), "2");
            EXPECT_TRUE(Visible(dialog, TForm2::kCBByteId));
            EXPECT_EQ(WindowText(Item(dialog, TForm2::kCBByteId)), "KBytes");
            if (const char* shot = std::getenv("KELVARO_EDITOR_SCREENSHOT")) {
                UpdateWindow(dialog);
                SaveScreenshot(shot);
            }
            // Every field changed: the row written back must be the edited one, not what was shown.
            SetText(dialog, TForm2::kEditLocId, "E:\\Edited");
            SetText(dialog, TForm2::kEditFileId, "*.BAK");
            Pick(dialog, TForm2::kCBAgeId, 3);
            SetText(dialog, TForm2::kEditAgeId, "7");
            Pick(dialog, TForm2::kCBSizeId, 5);
            Click(dialog, TForm2::kCBIncSubDirId);
            Click(dialog, TForm2::kButton1Id);
        }});
    EXPECT_TRUE(ok);
    EXPECT_TRUE(host.appended.empty());
    ASSERT_EQ(host.rows.size(), 2u);
    EXPECT_EQ(host.rows[0].Caption, "E:\\Edited");
    const std::array<std::string, 5> edited = {"*.BAK", "< 7 Days", "  ", "Yes", "Yes"};
    EXPECT_EQ(host.rows[0].SubItems, edited);
    EXPECT_EQ(host.rows[1].Caption, other.Caption);
    EXPECT_EQ(host.rows[1].SubItems, other.SubItems);
}

TEST(RuleEditorWin, BadNumberShowsTheErrorAndFillsUpToIt) {
    StandInHost host;
    host.adding = false;
    host.rows = {Row("D:\\X", {"*.TMP", "< 1x Days", "> 5 Bytes", "Yes", " "})};
    std::vector<std::string> boxes;
    MessageBoxFunction previous =
        SetMessageBoxFunction([&](HWND, const std::string& text, const std::string& caption, UINT) {
            boxes.push_back(caption + ": " + text);
            return IDOK;
        });
    OpenEditor(host, {[](HWND dialog) {
                   EXPECT_EQ(WindowText(Item(dialog, TForm2::kEditLocId)), "D:\\X");
                   EXPECT_TRUE(Checked(dialog, TForm2::kCBIncSubDirId));
                   EXPECT_EQ(WindowText(Item(dialog, TForm2::kCBAgeId)), "Less than");
                   EXPECT_TRUE(Visible(dialog, TForm2::kEditAgeId));
                   EXPECT_EQ(WindowText(Item(dialog, TForm2::kCBSizeId)), "None");  // never reached
                   EXPECT_FALSE(Visible(dialog, TForm2::kEditSizeId));
                   Click(dialog, TForm2::kButton3Id);
               }});
    SetMessageBoxFunction(std::move(previous));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], "Kelvaro: '1x' is not a valid integer value.");
}

TEST(RuleEditorWin, BrowseButtonsGoThroughThePickers) {
    StandInHost host;
    std::vector<std::string> folderCalls, openCalls;
    HWND owner = nullptr;
    SetFolderDialogFunction([&](HWND parent, const std::string& preselected, std::string& chosen) {
        owner = parent;
        folderCalls.push_back(preselected);
        chosen = "C:\\WINDOWS";
        return folderCalls.size() == 1;  // the second call is cancelled
    });
    SetOpenFileDialogFunction([&](HWND, const std::string& initial, std::string& chosen) {
        openCalls.push_back(initial);
        chosen = "C:\\A.TMP";
        return true;
    });
    OpenEditor(host, {[&](HWND dialog) {
                   Click(dialog, TForm2::kExplorerButton2Id);
                   EXPECT_EQ(owner, dialog);
                   EXPECT_EQ(WindowText(Item(dialog, TForm2::kEditLocId)), "C:\\WINDOWS");
                   SetText(dialog, TForm2::kEditLocId, "typed");
                   Click(dialog, TForm2::kExplorerButton2Id);
                   EXPECT_EQ(WindowText(Item(dialog, TForm2::kEditLocId)), "typed");
                   Click(dialog, TForm2::kExplorerButton1Id);
                   EXPECT_EQ(WindowText(Item(dialog, TForm2::kEditLocId)), "C:\\");
                   EXPECT_EQ(WindowText(Item(dialog, TForm2::kEditFileId)), "A.TMP");
                   Click(dialog, TForm2::kButton3Id);
               }});
    // A fresh opening starts the folder picker without a preselection again.
    OpenEditor(host, {[&](HWND dialog) {
                   Click(dialog, TForm2::kExplorerButton2Id);
                   Click(dialog, TForm2::kButton3Id);
               }});
    SetFolderDialogFunction(nullptr);
    SetOpenFileDialogFunction(nullptr);
    const std::vector<std::string> expectedFolders = {"", "C:\\WINDOWS", ""};
    EXPECT_EQ(folderCalls, expectedFolders);
    EXPECT_EQ(openCalls, std::vector<std::string>{"typed"});
}

// The platform's file dialog moves the process's current folder as it browses unless told not to, and
// a rule with a relative folder would then search, and delete, somewhere else.
TEST(RuleEditorWin, TheFileDialogLeavesTheCurrentFolderAlone) {
    TempFolder current, browsed;
    char before[MAX_PATH] = {}, after[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, before);
    ASSERT_TRUE(SetCurrentDirectoryA(current.Path().c_str()));
    StandInHost host;
    // Runs inside the file dialog's own loop, once the dialog is there.
    Step cancelFileDialog = [&](HWND) {
        if (HWND files = FindWindowA("#32770", "Kelvaro Files"))
            PostMessageA(files, WM_COMMAND, IDCANCEL, 0);
        else
            steps.push_front(cancelFileDialog);
    };
    OpenEditor(host, {[&](HWND dialog) {
                          SetText(dialog, TForm2::kEditLocId, browsed.Path().c_str());
                          Click(dialog, TForm2::kExplorerButton1Id);
                          GetCurrentDirectoryA(MAX_PATH, after);
                          Click(dialog, TForm2::kButton3Id);
                      },
                      cancelFileDialog});
    SetCurrentDirectoryA(before);
    EXPECT_EQ(std::string(after), current.Path());
}

// A dropped list shows every entry whole: no scroll bar, no entry cut at the list's edges.
TEST(RuleEditorWin, DroppedListsShowAllTheirEntriesWhole) {
    StandInHost host;
    OpenEditor(host, {[&](HWND dialog) {
                   Pick(dialog, TForm2::kCBSizeId, 3);  // brings up the unit list
                   for (int id : {TForm2::kCBAgeId, TForm2::kCBSizeId, TForm2::kCBByteId}) {
                       HWND box = Item(dialog, id);
                       SendMessageA(box, CB_SHOWDROPDOWN, TRUE, 0);
                       COMBOBOXINFO info{sizeof info};
                       ASSERT_TRUE(GetComboBoxInfo(box, &info));
                       RECT list{};
                       GetClientRect(info.hwndList, &list);
                       const auto entries = SendMessageA(box, CB_GETCOUNT, 0, 0);
                       EXPECT_GE(list.bottom, entries * SendMessageA(box, CB_GETITEMHEIGHT, 0, 0)) << id;
                       HDC dc = GetDC(info.hwndList);
                       HGDIOBJ old =
                           SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(box, WM_GETFONT, 0, 0)));
                       for (int entry = 0; entry < entries; ++entry) {
                           char text[64] = {};
                           SendMessageA(box, CB_GETLBTEXT, entry, reinterpret_cast<LPARAM>(text));
                           SIZE size{};
                           GetTextExtentPoint32A(dc, text, lstrlenA(text), &size);
                           EXPECT_LE(size.cx, list.right) << text;
                       }
                       SelectObject(dc, old);
                       ReleaseDC(info.hwndList, dc);
                       SendMessageA(box, CB_SHOWDROPDOWN, FALSE, 0);
                   }
                   Click(dialog, TForm2::kButton3Id);
               }});
}

// The system reports leaving a control late: from a browse button onto the file field, the field's
// hint comes first and the button's "mouse left" after it.
TEST(RuleEditorWin, ABrowseButtonLeftLateKeepsTheHintOfTheFieldUnderTheMouse) {
    StandInHost host;
    const std::string fieldHint = "File Spec is *.*, *.~*, *.dat, etc...";
    OpenEditor(host, {[&](HWND dialog) {
                   HWND field = Item(dialog, TForm2::kEditFileId);
                   for (int button : {TForm2::kExplorerButton1Id, TForm2::kExplorerButton2Id}) {
                       SendMessageA(Item(dialog, button), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
                       EXPECT_EQ(host.hint, button == TForm2::kExplorerButton1Id ? "Browse for file"
                                                                                 : "Browse for location");
                       SendMessageA(field, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
                       SendMessageA(Item(dialog, button), WM_MOUSELEAVE, 0, 0);
                       EXPECT_EQ(host.hint, fieldHint);
                       SendMessageA(field, WM_MOUSELEAVE, 0, 0);
                       EXPECT_EQ(host.hint, "");
                   }
                   Click(dialog, TForm2::kButton3Id);
               }});
}

}  // namespace
}  // namespace kelvaro::testing
