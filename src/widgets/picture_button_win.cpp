#include "widgets/picture_button_win.h"

#include <windowsx.h>

namespace kelvaro {
namespace {

bool InClient(HWND window, LPARAM lParam) {
    RECT client;
    GetClientRect(window, &client);
    POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    return PtInRect(&client, point);
}

}  // namespace

void TPictureButton::SetVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    if (!visible) {
        CancelPress();
        MouseLeft();
    }
    if (Handle()) ShowWindow(Handle(), visible ? SW_SHOWNA : SW_HIDE);
}

void TPictureButton::SetFlat(bool flat) {
    if (flat == flat_) return;
    flat_ = flat;
    RepaintNow();
}

void TPictureButton::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    if (!enabled) CancelPress();
    RepaintNow();
}

void TPictureButton::RepaintNow() {
    if (Handle()) RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void TPictureButton::Click() {
    if (!Handle() || !visible_ || !enabled_) return;
    Clicking();
    HWND self = Handle();
    // The handler may close the whole window; nothing of this button is touched after it.
    SendMessageA(GetParent(self), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(self), BN_CLICKED),
                 reinterpret_cast<LPARAM>(self));
}

bool TPictureButton::SetHot(bool hot) {
    if (!(hot ? mouse_.Enter() : mouse_.Leave())) return false;
    if (hot && Handle()) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, Handle(), 0};
        TrackMouseEvent(&track);
    }
    RepaintNow();
    return true;
}

void TPictureButton::CancelPress() {
    if (!mouse_.Cancel()) return;
    if (Handle() && GetCapture() == Handle()) ReleaseCapture();
    RepaintNow();
}

void TPictureButton::DrawFlatFrame(HDC dc, RECT& face, bool sunken) const {
    FillRect(dc, &face, GetSysColorBrush(COLOR_BTNFACE));
    if (sunken) {
        DrawEdge(dc, &face, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    } else if (mouse_.Hot() && enabled_) {
        DrawEdge(dc, &face, BDR_RAISEDINNER, BF_RECT | BF_ADJUST);
    }
}

LRESULT TPictureButton::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            MouseMessage(WM_LBUTTONDOWN, wParam, lParam);
            if (!enabled_) return 0;
            mouse_.Press();
            SetCapture(Handle());
            RepaintNow();
            return 0;
        case WM_MOUSEMOVE: {
            MouseMessage(message, wParam, lParam);
            const bool inside = InClient(Handle(), lParam);
            if (inside) MouseEntered();
            if (mouse_.Move(inside)) RepaintNow();
            return 0;
        }
        case WM_LBUTTONUP: {
            MouseMessage(message, wParam, lParam);
            const PressTracker::Release release = mouse_.LetGo(InClient(Handle(), lParam));
            if (release == PressTracker::Release::NotPressing) return 0;
            ReleaseCapture();
            // Drawn up before the click's handler runs, which may take a while or open a dialog.
            RepaintNow();
            if (release == PressTracker::Release::Click) Click();
            return 0;
        }
        case WM_CAPTURECHANGED:
            // Capture taken away mid-press (another window, a message box): the press is abandoned.
            if (reinterpret_cast<HWND>(lParam) != Handle() && mouse_.Cancel()) RepaintNow();
            return 0;
        case WM_MOUSELEAVE:
            MouseLeft();
            return 0;
        case BM_CLICK:
            Click();
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            return PaintWindow(Handle(), [this](HDC dc) { Paint(dc); });
        case WM_PRINTCLIENT:
            Paint(reinterpret_cast<HDC>(wParam));
            return 0;
    }
    return DefaultHandling(message, wParam, lParam);
}

}  // namespace kelvaro
