#pragma once
// TFileLabel: a one-line label that shows a path, leaving out leading or trailing folders as "..."
// when the path is wider than the label.
#include <windows.h>

#include <string>
#include <vector>

#include "ui/window_win.h"
#include "widgets/path_fit.h"

namespace kelvaro {

class TFileLabel : public Window {
public:
    static constexpr const char* kClassName = "TFileLabel";

    // A child window of parent; it takes no focus and draws its caption on the parent's background.
    TFileLabel(HWND parent, int x, int y, int width, int height);

    const std::string& FileName() const { return fileName_; }
    // The same text again does nothing.
    void SetFileName(const std::string& text);
    const std::string& Separator() const { return separator_; }
    void SetSeparator(const std::string& separator);
    TDirection Direction() const { return direction_; }
    void SetDirection(TDirection direction);
    const std::vector<std::string>& Pieces() const { return parsed_.Pieces; }
    bool HasDrive() const { return parsed_.HasDrive; }

    // What is drawn; "&" marks the next character as an accelerator, as in any label.
    const std::string& Caption() const { return caption_; }

    // Not owned. Does not refit: the caption was fitted with the old font until the next change.
    void SetFont(HFONT font);
    HFONT Font() const { return font_; }
    // Any change of position or size refits, whether it comes through here or straight to the window.
    void SetBounds(int x, int y, int width, int height);

    // Draws now, not when the message queue next gets to it.
    void Repaint();

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void ParsePath();
    void FitPath();
    void SetCaption(const std::string& caption);
    HFONT EffectiveFont() const;
    void Paint();

    std::string fileName_;
    std::string separator_ = "\\";
    TDirection direction_ = drFromLeft;
    ParsedPath parsed_ = kelvaro::ParsePath("", "\\");
    std::string caption_;
    HFONT font_ = nullptr;
};

}  // namespace kelvaro
