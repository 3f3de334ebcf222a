#include "rules/protected_folders_win.h"

#include <algorithm>

#include "platform/name_case.h"
#include "rules/protected_store.h"
#include "rules/rule_editor_win.h"
#include "ui/child_window_win.h"
#include "ui/help_win.h"
#include "ui/message_box_win.h"
#include "ui/window_text_win.h"

namespace kelvaro {
namespace {

constexpr const char* kExplanation =
    "No rule ever lists what lies in these folders, nor files whose names match these file "
    "specifications (such as *.docx), whatever the rule matches.";

std::string Trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

bool ShowProtectedFolders(HWND owner, Registry& registry, const std::string& keyPath) {
    TProtectedFolders dialog(owner, registry, keyPath);
    return dialog.ShowModal();
}

TProtectedFolders::TProtectedFolders(HWND owner, Registry& registry, std::string keyPath)
    : owner_(owner), registry_(registry), keyPath_(std::move(keyPath)), font_(CreateDialogFont()) {
    RegisterClassOnce(kClassName, nullptr);
    folderBrowse_.Title = kCaption;
    // As the rule editor: a tool window's caption bar without a system menu.
    const DWORD style = WS_POPUP | WS_CAPTION | WS_CLIPCHILDREN;
    const DWORD exStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_CONTROLPARENT;
    CreateWithClientArea(kClassName, kCaption, style, exStyle, 0, 0, kClientWidth, kClientHeight, owner_);
    CreateControls();
}

TProtectedFolders::~TProtectedFolders() {
    if (Handle()) DestroyWindow(Handle());
}

HWND TProtectedFolders::AddControl(const char* className, const char* text, DWORD style, DWORD exStyle, int x,
                                   int y, int width, int height, int id) {
    return CreateChild(Handle(), className, text, style, exStyle, x, y, width, height, id, font_.Get());
}

void TProtectedFolders::CreateControls() {
    // Made in tab order; the explanation takes no focus.
    const DWORD button = WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
    AddControl("LISTBOX", "",
               WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
               WS_EX_CLIENTEDGE, 8, 40, 280, 108, kListId);
    AddControl("BUTTON", "&Browse...", button, 0, 296, 40, 81, 21, kBrowseId);
    AddControl("BUTTON", "&Remove", button, 0, 296, 68, 81, 21, kRemoveId);
    AddControl("EDIT", "", WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, 8, 158, 280, 21,
               kEditId);
    AddControl("BUTTON", "&Add", button, 0, 296, 158, 81, 21, kAddId);
    AddControl("BUTTON", "&Ok", WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 271, 194, 50, 20, kOkId);
    AddControl("BUTTON", "&Cancel", button, 0, 327, 194, 50, 20, kCancelId);
    AddControl("STATIC", kExplanation, WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, 8, 8, 369, 28, kExplanationId);

    const StoredProtection stored = LoadProtectedItems(registry_, keyPath_);
    for (const std::string& item : stored.items)
        SendMessageA(Control(kListId), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    ShowButtonState();
    if (!stored.damage.empty())
        damage_ = "Some protected folders cannot be read (" + stored.damage +
                  "). The list shows every one that can be read; until it is saved with OK, searches stop "
                  "before they begin.";
}

bool TProtectedFolders::ShowModal() {
    CentreOver(owner_);
    if (!damage_.empty()) {
        ShowWindow(Handle(), SW_SHOW);
        ShowMessageBox(Handle(), damage_, "Kelvaro", MB_OK | MB_ICONWARNING);
    }
    return RunModal(owner_, Control(kEditId)) == IDOK;
}

std::vector<std::string> TProtectedFolders::Items() const {
    std::vector<std::string> items;
    const auto count = SendMessageA(Control(kListId), LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const auto length = SendMessageA(Control(kListId), LB_GETTEXTLEN, i, 0);
        std::string text(static_cast<std::size_t>(std::max<LRESULT>(length, 0)) + 1, '\0');
        SendMessageA(Control(kListId), LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
        text.resize(text.find('\0'));
        items.push_back(std::move(text));
    }
    return items;
}

void TProtectedFolders::AddItem(const std::string& text) {
    const std::string item = Trimmed(text);
    if (item.empty()) return;
    const std::vector<std::string> items = Items();
    std::size_t index = 0;
    while (index < items.size() && UpperCaseName(items[index]) != UpperCaseName(item)) ++index;
    if (index == items.size())
        SendMessageA(Control(kListId), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    SendMessageA(Control(kListId), LB_SETCURSEL, index, 0);
    ShowButtonState();
}

void TProtectedFolders::AddClick() {
    AddItem(ControlText(kEditId));
    SetControlText(kEditId, "");
    SetFocus(Control(kEditId));
}

void TProtectedFolders::BrowseClick() {
    if (BrowseForFolder(Handle(), folderBrowse_)) AddItem(folderBrowse_.Directory);
}

void TProtectedFolders::RemoveClick() {
    const auto selected = SendMessageA(Control(kListId), LB_GETCURSEL, 0, 0);
    if (selected == LB_ERR) return;
    SendMessageA(Control(kListId), LB_DELETESTRING, selected, 0);
    const auto count = SendMessageA(Control(kListId), LB_GETCOUNT, 0, 0);
    if (count > 0) SendMessageA(Control(kListId), LB_SETCURSEL, std::min(selected, count - 1), 0);
    ShowButtonState();
}

void TProtectedFolders::OkClick() {
    // Text typed but not added is what the user sees in the field: it is taken too.
    AddItem(ControlText(kEditId));
    try {
        SaveProtectedItems(registry_, Items(), keyPath_);
    } catch (const ERegistryException& error) {
        // The dialog stays, with the list as the user made it.
        ShowExceptionBox(Handle(), error);
        return;
    }
    EndModal(IDOK);
}

void TProtectedFolders::ShowButtonState() {
    // The list scrolls sideways only as far as its longest item reaches.
    int widest = 0;
    if (HDC dc = GetDC(Control(kListId))) {
        HGDIOBJ previous = SelectObject(dc, font_.Get());
        for (const std::string& item : Items()) {
            SIZE size{};
            GetTextExtentPoint32A(dc, item.c_str(), static_cast<int>(item.size()), &size);
            widest = std::max(widest, static_cast<int>(size.cx) + 4);
        }
        SelectObject(dc, previous);
        ReleaseDC(Control(kListId), dc);
    }
    SendMessageA(Control(kListId), LB_SETHORIZONTALEXTENT, widest, 0);
    EnableWindow(Control(kRemoveId), SendMessageA(Control(kListId), LB_GETCURSEL, 0, 0) != LB_ERR);
}

LRESULT TProtectedFolders::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case kOkId:
                    OkClick();
                    break;
                case kCancelId:
                    EndModal(IDCANCEL);
                    break;
                case kAddId:
                    AddClick();
                    break;
                case kBrowseId:
                    BrowseClick();
                    break;
                case kRemoveId:
                    RemoveClick();
                    break;
                case kListId:
                    if (HIWORD(wParam) == LBN_SELCHANGE) ShowButtonState();
                    break;
            }
            return 0;
        case DM_GETDEFID: {
            // Enter in the field adds what it holds; elsewhere it presses the focused button or "&Ok".
            HWND focus = GetFocus();
            int id = kOkId;
            if (focus == Control(kEditId) && !Trimmed(ControlText(kEditId)).empty())
                id = kAddId;
            else if (focus && GetParent(focus) == Handle() && GetDlgCtrlID(focus) != kListId &&
                     GetDlgCtrlID(focus) != kEditId)
                id = GetDlgCtrlID(focus);
            return MAKELONG(id, DC_HASDEFID);
        }
        case WM_HELP:
            RunHelpCommand(owner_, HELP_CONTEXT, help_topic::kProtectedFolders);
            return TRUE;
        case WM_CLOSE:
            EndModal(IDCANCEL);
            return 0;
    }
    return DefaultHandling(message, wParam, lParam);
}

}  // namespace kelvaro
