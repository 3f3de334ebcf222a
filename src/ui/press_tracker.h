#pragma once
// What a picture button knows about the mouse: whether it is over the button (hot), and whether the
// left button went down on it and is not yet released (pressing), with the mouse over it now or
// dragged off. Each change reports whether the button's look changed, so the window repaints only then.
namespace kelvaro {

class PressTracker {
public:
    enum class Release { NotPressing, Click, Abandoned };

    bool Hot() const { return hot_; }
    bool Pressing() const { return pressing_; }
    // Drawn sunken: pressed and the mouse still over the button.
    bool PressedNow() const { return pressing_ && inside_; }

    bool Enter() { return Change(hot_, true); }
    bool Leave() { return Change(hot_, false); }
    void Press() { pressing_ = inside_ = true; }
    // The mouse moved while the button holds the capture; dragging off and back toggles the look.
    bool Move(bool inside) { return pressing_ && Change(inside_, inside); }
    // Releasing over the button is a click; released elsewhere, the press is dropped.
    Release LetGo(bool inside) {
        if (!pressing_) return Release::NotPressing;
        pressing_ = inside_ = false;
        return inside ? Release::Click : Release::Abandoned;
    }
    // The capture went elsewhere (another window, a message box) or the button was disabled or hidden.
    bool Cancel() {
        if (!pressing_) return false;
        pressing_ = inside_ = false;
        return true;
    }

private:
    static bool Change(bool& state, bool to) {
        if (state == to) return false;
        state = to;
        return true;
    }

    bool hot_ = false;
    bool pressing_ = false;
    bool inside_ = false;
};

}  // namespace kelvaro
