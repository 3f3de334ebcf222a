#pragma once
// What every picture button of the program shares: it takes no focus, lights up under the mouse in the
// flat look, sinks while pressed with the mouse over it, and reports a click (mouse released over it,
// or BM_CLICK) to its parent as WM_COMMAND(MAKEWPARAM(<its id>, BN_CLICKED), <its window>).
// What it shows is drawn by the kind of button.
#include <windows.h>

#include "ui/press_tracker.h"
#include "ui/window_win.h"

namespace kelvaro {

class TPictureButton : public Window {
public:
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    bool Flat() const { return flat_; }
    void SetFlat(bool flat);
    // The window itself stays enabled so that a disabled button still reports its hint; the button
    // refuses clicks instead.
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    void RepaintNow();
    // A user's click. A hidden or disabled button takes none.
    void Click();

protected:
    explicit TPictureButton(bool flat) : flat_(flat) {}

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    // The button's face; the window's own painting and WM_PRINTCLIENT come here.
    virtual void Paint(HDC dc) = 0;
    // The mouse came over the button, or left it: by default the button lights up or goes dark.
    virtual void MouseEntered() { SetHot(true); }
    virtual void MouseLeft() { SetHot(false); }
    // Each mouse message before the button acts on it (a double click comes as WM_LBUTTONDOWN).
    virtual void MouseMessage(UINT message, WPARAM wParam, LPARAM lParam) {
        (void)message, (void)wParam, (void)lParam;
    }
    // A click, before the parent hears of it.
    virtual void Clicking() {}

    // True when the look changed.
    bool SetHot(bool hot);
    bool Hot() const { return mouse_.Hot(); }
    // Pressed and the mouse still over the button.
    bool PressedNow() const { return mouse_.PressedNow(); }
    // The flat look's frame around face, which is then the area inside it: an edge only while sunken,
    // or lit under the mouse while enabled.
    void DrawFlatFrame(HDC dc, RECT& face, bool sunken) const;

private:
    void CancelPress();

    bool visible_ = true;
    bool flat_;
    bool enabled_ = true;
    PressTracker mouse_;
};

}  // namespace kelvaro
