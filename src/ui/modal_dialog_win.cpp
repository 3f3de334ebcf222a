#include "ui/modal_dialog_win.h"

#include "ui/centring.h"
#include "ui/window_text_win.h"

namespace kelvaro {

int ModalDialog::RunModal(HWND owner, HWND focus) {
    const bool ownerWasEnabled = owner && IsWindowEnabled(owner);
    if (ownerWasEnabled) EnableWindow(owner, FALSE);
    ShowWindow(Handle(), SW_SHOW);
    if (focus) SetFocus(focus);
    modalResult_ = 0;
    MSG message;
    while (!modalResult_ && Handle()) {
        const BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got == -1) break;
        if (got == 0) {
            // Leave the quit for the program's own loop.
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (IsDialogMessageA(Handle(), &message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    // The owner is enabled before the box hides, so the activation goes back to it.
    if (ownerWasEnabled) EnableWindow(owner, TRUE);
    if (Handle()) ShowWindow(Handle(), SW_HIDE);
    return modalResult_ ? modalResult_ : IDCANCEL;
}

bool ModalDialog::CentreOver(HWND owner) {
    RECT bounds{};
    if (!owner || !IsWindow(owner) || !GetWindowRect(owner, &bounds)) return false;
    CentreWithin(bounds);
    return true;
}

void ModalDialog::CentreWithin(const RECT& area) {
    RECT own{};
    GetWindowRect(Handle(), &own);
    SetWindowPos(Handle(), nullptr, CentredOrigin(area.left, area.right - area.left, own.right - own.left),
                 CentredOrigin(area.top, area.bottom - area.top, own.bottom - own.top), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool ModalDialog::Checked(int id) const {
    return SendMessageA(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void ModalDialog::SetChecked(int id, bool checked) {
    SendMessageA(Control(id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void ModalDialog::ShowControl(int id, bool visible) {
    ShowWindow(Control(id), visible ? SW_SHOWNA : SW_HIDE);
}

std::string ModalDialog::ControlText(int id) const {
    return WindowText(Control(id));
}

void ModalDialog::SetControlText(int id, const std::string& text) {
    SetWindowTextA(Control(id), text.c_str());
}

int ModalDialog::Selection(int id) const {
    return static_cast<int>(SendMessageA(Control(id), CB_GETCURSEL, 0, 0));
}

void ModalDialog::Select(int id, int index) {
    SendMessageA(Control(id), CB_SETCURSEL, index, 0);
}

}  // namespace kelvaro
