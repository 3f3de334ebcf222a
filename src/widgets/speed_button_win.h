#pragma once
// The toolbar: a panel across the top of the main window holding picture buttons that can look flat
// or raised, latch in groups, show a tooltip and report their long hint for the status bar.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/owners_win.h"
#include "ui/window_win.h"
#include "widgets/picture_button_win.h"

namespace kelvaro {

// A button picture from the program's resources. width and height are those of the whole bitmap;
// images is 1, or 2 for a normal and a disabled picture side by side. The colour of the lower-left
// pixel is transparent.
struct Glyph {
    int resourceId;
    int width;
    int height;
    int images;
};

class TSpeedButton;

// The toolbar panel: a child window at the top of its parent (full width, given height) that holds
// speed buttons and separator bevels and forwards the buttons' WM_COMMAND to its parent.
class TToolbarPanel : public Window {
public:
    static constexpr const char* kClassName = "TToolbarPanel";

    TToolbarPanel(HWND parent, int height);
    ~TToolbarPanel() override;

    // The parent calls it when it is resized.
    void SetWidth(int width);
    // hint is "short|long"; the short part becomes the tooltip when tooltip is true, the long part
    // goes to OnHint. The button takes the panel's current look.
    TSpeedButton& AddButton(int commandId, int x, int y, int width, int height, const Glyph& glyph,
                            const std::string& hint, bool tooltip);
    // A separator, drawn as a vertical line at its left edge; shown only while the flat look is on.
    void AddBevel(int x, int y, int width, int height);
    // On: bevels shown and every button flat. Off: bevels hidden and every button raised 3-D.
    // Hidden buttons follow too, so they look right when shown. A new panel starts with the look on.
    void SetFlatLook(bool on);
    bool BevelsVisible() const { return flatLook_; }
    HWND TooltipHandle() const { return tooltip_.Get(); }

    // Called with a button's long hint when the mouse enters it and with "" when it leaves.
    std::function<void(const std::string& longHint)> OnHint;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    friend class TSpeedButton;

    void ButtonEntered(TSpeedButton& button);
    void ButtonLeft(TSpeedButton& button);
    // Raises every other button of the same group: the group holds at most one down button.
    void RaiseGroupExcept(const TSpeedButton& button);
    void Paint(HDC dc);

    int height_;
    bool flatLook_ = true;
    WindowOwner tooltip_;
    TSpeedButton* hotButton_ = nullptr;
    std::vector<RECT> bevels_;
    std::vector<std::unique_ptr<TSpeedButton>> buttons_;
};

// A speed button. GroupIndex 0 makes a push button, down only while pressed. Buttons sharing a
// non-zero GroupIndex latch: pressing an up one puts it down and raises the rest of the group;
// pressing the down one raises it only when AllowAllUp is set. A click applies the group behaviour
// first, then reaches the panel's parent.
class TSpeedButton : public TPictureButton {
public:
    static constexpr const char* kClassName = "TSpeedButton";

    bool Down() const { return down_; }
    // Applies the group rule: a push button never latches, a down button of a group that must keep
    // one down stays down, and a button going down raises the others of its group.
    void SetDown(bool down);
    const std::string& ShortHint() const { return shortHint_; }
    const std::string& LongHint() const { return longHint_; }

    int GroupIndex = 0;
    bool AllowAllUp = false;

protected:
    void Paint(HDC dc) override;
    void MouseEntered() override;
    void MouseLeft() override;
    void MouseMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Clicking() override;

private:
    friend class TToolbarPanel;

    TSpeedButton(TToolbarPanel& panel, int commandId, int x, int y, int width, int height, const Glyph& glyph,
                 const std::string& hint, bool tooltip);

    TToolbarPanel& panel_;
    std::string shortHint_;
    std::string longHint_;
    bool down_ = false;

    // The picture as 0x00RRGGBB pixels, top row first, all images side by side.
    int imageWidth_ = 0;
    int imageHeight_ = 0;
    int images_ = 1;
    int bitmapWidth_ = 0;
    std::vector<std::uint32_t> pixels_;
    std::uint32_t transparent_ = 0;
};

}  // namespace kelvaro
