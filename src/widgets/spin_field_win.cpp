#include "widgets/spin_field_win.h"

#include <commctrl.h>

#include <string>

#include "ui/child_window_win.h"
#include "ui/guarded_call_win.h"
#include "ui/window_text_win.h"
#include "widgets/spin_field.h"

namespace kelvaro {
namespace {

constexpr UINT_PTR kSubclassId = 1;

char DecimalSeparator() {
    char separator[4] = {};
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, sizeof separator);
    return separator[0] ? separator[0] : '.';
}

void Step(HWND field, int steps) {
    SetWindowTextA(field, SpinFieldStep(WindowText(field), steps).c_str());
    SendMessageA(field, EM_SETSEL, 0, -1);
}

LRESULT FieldMessage(HWND field, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CHAR:
            if (!SpinFieldAcceptsKey(static_cast<char>(wParam), DecimalSeparator())) {
                MessageBeep(0);
                return 0;
            }
            break;
        case WM_KEYDOWN:
            if (wParam == VK_UP || wParam == VK_DOWN) {
                Step(field, wParam == VK_UP ? 1 : -1);
                return 0;
            }
            break;
        case WM_NOTIFY:
            if (reinterpret_cast<const NMHDR*>(lParam)->code == UDN_DELTAPOS) {
                Step(field, reinterpret_cast<const NMUPDOWN*>(lParam)->iDelta > 0 ? 1 : -1);
                return 1;  // the arrows' own position stays put
            }
            break;
    }
    return DefSubclassProc(field, message, wParam, lParam);
}

LRESULT CALLBACK FieldProcedure(HWND field, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (message == WM_NCDESTROY) RemoveWindowSubclass(field, FieldProcedure, kSubclassId);
    return GuardedCall(
        GetParent(field), [&] { return FieldMessage(field, message, wParam, lParam); }, LRESULT{0});
}

}  // namespace

HWND CreateSpinField(HWND parent, int x, int y, int width, int height, int id, HFONT font) {
    HWND field = CreateChild(parent, "EDIT", "0", WS_TABSTOP | WS_CLIPCHILDREN | ES_AUTOHSCROLL,
                             WS_EX_CLIENTEDGE, x, y, width, height, id, font);
    if (!field) return nullptr;
    RECT client;
    GetClientRect(field, &client);
    constexpr int kArrowsWidth = 15;
    // The arrows sit inside the field at its right, as one control; the text stops short of them.
    HWND arrows = CreateChild(field, UPDOWN_CLASSA, "", WS_VISIBLE, 0, client.right - kArrowsWidth, 0,
                              kArrowsWidth, client.bottom, 0, nullptr);
    if (arrows) {
        // Kept mid-range and never moved: the field does the counting, without bounds.
        SendMessageA(arrows, UDM_SETRANGE32, 0, 100);
        SendMessageA(arrows, UDM_SETPOS32, 0, 50);
    }
    SendMessageA(field, EM_SETMARGINS, EC_RIGHTMARGIN, MAKELPARAM(0, kArrowsWidth + 1));
    SetWindowSubclass(field, FieldProcedure, kSubclassId, 0);
    return field;
}

void SpinFieldChanged(HWND field) {
    const std::string corrected = SpinFieldCorrection(WindowText(field));
    if (!corrected.empty()) SetWindowTextA(field, corrected.c_str());
}

}  // namespace kelvaro
