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

// The key that types a plain letter on this layout; a layout that needs a shift state for it never matches.
bool TypesLetter(WPARAM key, char letter) {
    SHORT letterKey = VkKeyScanA(letter);
    return letterKey != -1 && key == static_cast<WPARAM>(static_cast<unsigned short>(letterKey));
}

}  // namespace

void TForm1::FormKeyDown(WPARAM key) {
    bool onlyCtrl = KeyIsDown(VK_CONTROL) && !KeyIsDown(VK_SHIFT) && !KeyIsDown(VK_MENU);
    for (const Command& command : Commands())
        if ((command.key.virtualKey != 0 && key == command.key.virtualKey) ||
            (command.key.ctrlLetter != 0 && onlyCtrl && TypesLetter(key, command.key.ctrlLetter)))
            command.handler(*this);
}

void TForm1::FormKeyPress(char key) {
    for (const Command& command : Commands())
        if (command.key.character != 0 && key == command.key.character) command.handler(*this);
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

void TForm1::ShowInHintPanel(const std::string& text) {
    hint_.clear();
    SetStatusText(kHintPanel, text);
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
