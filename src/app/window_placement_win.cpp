#include "app/window_placement_win.h"

namespace kelvaro {
namespace {

bool Restored(HWND window) {
    return !IsIconic(window) && !IsZoomed(window);
}

// The restored position is kept in workspace coordinates, which start at the work area's corner
// (beside a taskbar at the top or left), not the screen's.
POINT WorkspaceOrigin(HWND window) {
    MONITORINFO monitor{sizeof monitor};
    if (!GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor)) return {0, 0};
    if (GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) return {0, 0};
    return {monitor.rcWork.left - monitor.rcMonitor.left, monitor.rcWork.top - monitor.rcMonitor.top};
}

}  // namespace

WindowBounds NormalBounds(HWND window) {
    RECT r{};
    WINDOWPLACEMENT placement{sizeof placement};
    if (!Restored(window) && GetWindowPlacement(window, &placement)) {
        const POINT origin = WorkspaceOrigin(window);
        r = placement.rcNormalPosition;
        OffsetRect(&r, origin.x, origin.y);
    } else {
        GetWindowRect(window, &r);
    }
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

void SetNormalBounds(HWND window, const WindowBounds& bounds) {
    WINDOWPLACEMENT placement{sizeof placement};
    if (Restored(window) || !GetWindowPlacement(window, &placement)) {
        SetWindowPos(window, nullptr, bounds.left, bounds.top, bounds.width, bounds.height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
    const POINT origin = WorkspaceOrigin(window);
    const LONG left = bounds.left - origin.x;
    const LONG top = bounds.top - origin.y;
    placement.rcNormalPosition = {left, top, left + bounds.width, top + bounds.height};
    // The state it is in, without taking the activation a minimised start-up window was not given.
    placement.showCmd = IsIconic(window) ? SW_SHOWMINNOACTIVE : SW_SHOWMAXIMIZED;
    SetWindowPlacement(window, &placement);
}

}  // namespace kelvaro
