#include "widgets/row_tips_win.h"

#include <commctrl.h>
#include <windowsx.h>

namespace kelvaro {
namespace {

// The whole list is one tool; its text is the row's under the mouse.
TOOLINFOA ListTool(HWND list, char* text) {
    TOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V1_SIZE;
    tool.uFlags = TTF_IDISHWND;
    tool.hwnd = list;
    tool.uId = reinterpret_cast<UINT_PTR>(list);
    tool.lpszText = text;
    return tool;
}

// The row under a point of the list's client area, in any column; -1 for none.
int RowAt(HWND list, int x, int y) {
    LVHITTESTINFO hit{};
    hit.pt = {x, y};
    const int row =
        static_cast<int>(SendMessageA(list, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    return row >= 0 && (hit.flags & LVHT_ONITEM) ? row : -1;
}

}  // namespace

RowTips::RowTips(HWND list, std::function<std::string(int row)> text) : list_(list), text_(std::move(text)) {
    tooltip_.Reset(CreateWindowExA(
        WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, list, nullptr, GetModuleHandleA(nullptr), nullptr));
    // With a width set, the tip breaks its lines where the text does.
    if (tooltip_) SendMessageA(tooltip_.Get(), TTM_SETMAXTIPWIDTH, 0, 1000);
}

void RowTips::Relay(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!tooltip_) return;
    if (message == WM_MOUSEMOVE) {
        const int row = RowAt(list_, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        if (row != row_) Offer(row);
    }
    MSG relayed{list_, message, wParam, lParam, static_cast<DWORD>(GetMessageTime()), {}};
    GetCursorPos(&relayed.pt);
    SendMessageA(tooltip_.Get(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
}

void RowTips::Forget() {
    if (tooltip_ && row_ >= 0) Offer(-1);
}

// The control shows a tool's tip once each time the mouse comes onto the tool, so a row the mouse moves
// onto gets a tool of its own: removing the old one takes its tip down, and the new one shows after the
// usual pause.
void RowTips::Offer(int row) {
    row_ = row;
    TOOLINFOA tool = ListTool(list_, nullptr);
    SendMessageA(tooltip_.Get(), TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    offered_ = row >= 0 ? text_(row) : "";
    if (offered_.empty()) return;
    tool = ListTool(list_, offered_.data());  // the control keeps its own copy
    SendMessageA(tooltip_.Get(), TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

}  // namespace kelvaro
