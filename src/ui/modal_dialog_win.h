#pragma once
// Base of the program's modal boxes: the owner is disabled while the box runs its own message loop,
// and the box is centred over the owner.
#include <windows.h>

#include <string>

#include "ui/window_win.h"

namespace kelvaro {

class ModalDialog : public Window {
protected:
    // Shows the box, gives focus the focus and dispatches messages until EndModal, the box's destruction
    // or the program's quit message; the owner is disabled meanwhile. Gives the result passed to
    // EndModal, or IDCANCEL when the box ended otherwise.
    int RunModal(HWND owner, HWND focus);
    // Ends the loop of RunModal with a result other than 0.
    void EndModal(int result) { modalResult_ = result; }

    // Centres the box over the outer bounds of owner; false, and the box not moved, when owner is no
    // window.
    bool CentreOver(HWND owner);
    // Centres the box over the given screen rectangle.
    void CentreWithin(const RECT& area);

    // The box's controls by id.
    HWND Control(int id) const { return GetDlgItem(Handle(), id); }
    bool Checked(int id) const;
    void SetChecked(int id, bool checked);
    // Shown without taking the activation or the focus, or hidden.
    void ShowControl(int id, bool visible);
    std::string ControlText(int id) const;
    void SetControlText(int id, const std::string& text);
    // A combo box's selected entry (CB_ERR for none), and selecting one; no change notification follows.
    int Selection(int id) const;
    void Select(int id, int index);

private:
    int modalResult_ = 0;
};

}  // namespace kelvaro
