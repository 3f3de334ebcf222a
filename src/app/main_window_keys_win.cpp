// The main window's keys, which it sees before its controls do, and the hints in the status bar.
#include <windows.h>

#include "app/main_window_win.h"
#include "app/status_panels.h"
#include "widgets/speed_button_win.h"

namespace kelvaro {
namespace {

bool KeyIsDown(int virtualKey) {
    return GetKeyState(virtualKey) < 0;
}

}  // namespace

void TForm1::FormKeyDown(WPARAM key) {
    if (key == VK_DELETE) EBDeleteClick();
    bool onlyCtrl = KeyIsDown(VK_CONTROL) && !KeyIsDown(VK_SHIFT) && !KeyIsDown(VK_MENU);
    // The key that types a plain "a" on this layout; a layout that needs a shift state for it never matches.
    SHORT selectAllKey = VkKeyScanA('a');
    if (onlyCtrl && selectAllKey != -1 &&
        key == static_cast<WPARAM>(static_cast<unsigned short>(selectAllKey))) {
        selection_->SelectAll();
    }
}

void TForm1::FormKeyPress(char key) {
    if (key == 27) EBAbortClick();
}

// The window sees the keys meant for its controls before they do.
bool TForm1::PreviewKey(MSG& message) {
    if (!Handle() || message.hwnd == Handle() || !IsChild(Handle(), message.hwnd)) return false;
    if (message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN) FormKeyDown(message.wParam);
    if (message.message == WM_CHAR) FormKeyPress(static_cast<char>(message.wParam));
    return false;
}

void TForm1::DisplayHint(const std::string& hint) {
    if (hint == hint_) return;
    hint_ = hint;
    SetStatusText(kHintPanel, hint);
}

void TForm1::OnMenuSelect(WPARAM wParam, LPARAM lParam) {
    UINT flags = HIWORD(wParam);
    if (flags == 0xFFFF && lParam == 0) {  // the menu closed
        DisplayHint("");
        return;
    }
    DisplayHint((flags & MF_POPUP) ? std::string() : menu_->HintOf(LOWORD(wParam)));
}

// Controls without a hint blank the hint panel; the buttons report their own.
void TForm1::OnSetCursor(HWND over) {
    if (over != panel_->Handle() && !IsChild(panel_->Handle(), over)) DisplayHint("");
}

}  // namespace kelvaro
