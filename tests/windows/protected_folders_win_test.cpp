// The Protected Folders dialog as a user meets it, over the real registry: opened modally and driven
// through window messages from a timer that runs inside the dialog's own message loop.
#include "rules/protected_folders_win.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "rules/protected_store.h"
#include "rules/rule_editor_win.h"
#include "ui/message_box_win.h"
#include "windows/screenshot.h"

namespace kelvaro::testing {
namespace {

using Step = std::function<void(HWND dialog)>;
using Items = std::vector<std::string>;
std::deque<Step> steps;

void CALLBACK NextStep(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = FindWindowA(TProtectedFolders::kClassName, nullptr);
    if (steps.empty() || !dialog) {
        KillTimer(nullptr, timer);
        // A script that forgot to close the dialog must not hang the run.
        if (dialog) PostMessageA(dialog, WM_CLOSE, 0, 0);
        return;
    }
    Step step = std::move(steps.front());
    steps.pop_front();
    step(dialog);
}

HWND Item(HWND dialog, int id) {
    return GetDlgItem(dialog, id);
}

void Click(HWND dialog, int id) {
    SendMessageA(Item(dialog, id), BM_CLICK, 0, 0);
}

void Type(HWND dialog, const char* text) {
    SetWindowTextA(Item(dialog, TProtectedFolders::kEditId), text);
}

Items Listed(HWND dialog) {
    Items items;
    HWND list = Item(dialog, TProtectedFolders::kListId);
    for (LRESULT i = 0; i < SendMessageA(list, LB_GETCOUNT, 0, 0); ++i) {
        char text[MAX_PATH] = {};
        SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
        items.emplace_back(text);
    }
    return items;
}

class ProtectedFoldersWin : public ::testing::Test {
protected:
    ProtectedFoldersWin() { RegDeleteTreeA(HKEY_CURRENT_USER, key_.c_str()); }
    ~ProtectedFoldersWin() override {
        SetFolderDialogFunction(nullptr);
        RegDeleteTreeA(HKEY_CURRENT_USER, key_.c_str());
        DestroyWindow(owner_);
    }

    bool Open(std::deque<Step> script) {
        steps = std::move(script);
        SetTimer(nullptr, 0, 10, NextStep);
        const bool ok = ShowProtectedFolders(owner_, *registry_, key_);
        EXPECT_TRUE(steps.empty()) << "the dialog closed before its script ended";
        steps.clear();
        EXPECT_EQ(FindWindowA(TProtectedFolders::kClassName, nullptr), nullptr);
        EXPECT_TRUE(IsWindowEnabled(owner_));
        return ok;
    }
    void Put(const std::string& name, const std::string& text) {
        registry_->OpenKey(key_ + "\\Protected", true)->WriteString(name, text);
    }

    const std::string key_ =
        "Software\\Tarnwell\\KelvaroTest-Protected-" + std::to_string(GetCurrentProcessId());
    std::unique_ptr<Registry> registry_ = MakePlatformRegistry();
    HWND owner_ = CreateWindowA("STATIC", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 80, 600, 400, nullptr,
                                nullptr, nullptr, nullptr);
};

TEST_F(ProtectedFoldersWin, ADamagedListIsShownAsFarAsItCanBeReadAndOkWritesTheEditedListBack) {
    Put("Count", "3");
    Put("Item1", "C:\\Keep");
    Put("Item3", "*.docx");
    std::vector<std::string> boxes;
    MessageBoxFunction previous =
        SetMessageBoxFunction([&](HWND, const std::string& text, const std::string&, UINT) {
            boxes.push_back(text);
            return IDOK;
        });
    SetFolderDialogFunction([](HWND, const std::string&, std::string& chosen) {
        chosen = "C:\\Other";
        return true;
    });
    using Id = TProtectedFolders::ControlId;
    EXPECT_TRUE(Open({[](HWND dialog) {
                          EXPECT_EQ(Listed(dialog), (Items{"C:\\Keep", "*.docx"}));
                          EXPECT_FALSE(IsWindowEnabled(Item(dialog, Id::kRemoveId)));
                          // The same text as Windows compares names is not added twice.
                          Type(dialog, "  *.DOCX ");
                          Click(dialog, Id::kAddId);
                          Type(dialog, "Thumbs.db");
                          Click(dialog, Id::kAddId);
                          Click(dialog, Id::kBrowseId);
                          EXPECT_EQ(Listed(dialog), (Items{"C:\\Keep", "*.docx", "Thumbs.db", "C:\\Other"}));
                      },
                      [](HWND dialog) {
                          if (const char* shot = std::getenv("KELVARO_PROTECTED_SCREENSHOT")) {
                              UpdateWindow(dialog);
                              SaveScreenshot(shot);
                          }
                          SendMessageA(Item(dialog, Id::kListId), LB_SETCURSEL, 0, 0);
                          SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(Id::kListId, LBN_SELCHANGE),
                                       reinterpret_cast<LPARAM>(Item(dialog, Id::kListId)));
                          Click(dialog, Id::kRemoveId);
                          // Typed but not added: OK takes it as the user sees it.
                          Type(dialog, "C:\\Data\\*.db");
                          Click(dialog, Id::kOkId);
                      }}));
    SetMessageBoxFunction(std::move(previous));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].find("'Item2' is missing"), std::string::npos) << boxes[0];
    const Items saved{"*.docx", "Thumbs.db", "C:\\Other", "C:\\Data\\*.db"};
    EXPECT_EQ(LoadProtectedItemsForRun(*registry_, key_), saved);

    // Cancel, by its button or by Esc, writes nothing.
    for (int id : {int{Id::kCancelId}, 0}) {
        EXPECT_FALSE(Open({[id](HWND dialog) {
            Type(dialog, "*.tmp");
            Click(dialog, Id::kAddId);
            if (id)
                Click(dialog, id);
            else
                PostMessageA(Item(dialog, Id::kEditId), WM_KEYDOWN, VK_ESCAPE, 0);
        }}));
        EXPECT_EQ(LoadProtectedItemsForRun(*registry_, key_), saved);
    }
}

}  // namespace
}  // namespace kelvaro::testing
