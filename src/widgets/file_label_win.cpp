#include "widgets/file_label_win.h"

#include "ui/owners_win.h"

namespace kelvaro {
namespace {

// Measures on the label's own DC with the label's font, as drawing will use it.
class DcMeasurer : public TextMeasurer {
public:
    DcMeasurer(HWND window, HFONT font) : dc_(window), font_(dc_.Get(), font) {}

    int TextWidth(const std::string& text) override {
        SIZE size{};
        if (!dc_ || text.empty() ||
            !GetTextExtentPoint32A(dc_.Get(), text.data(), static_cast<int>(text.size()), &size))
            return 0;
        return size.cx;
    }

private:
    WindowDc dc_;
    Selection font_;
};

}  // namespace

TFileLabel::TFileLabel(HWND parent, int x, int y, int width, int height) {
    RegisterClassOnce(kClassName, nullptr);
    Create(kClassName, "", WS_CHILD | WS_VISIBLE, 0, x, y, width, height, parent, nullptr);
}

void TFileLabel::SetFileName(const std::string& text) {
    if (text == fileName_) return;
    fileName_ = text;
    ParsePath();
    FitPath();
}

void TFileLabel::SetSeparator(const std::string& separator) {
    if (separator == separator_) return;
    separator_ = separator;
    ParsePath();
    FitPath();
}

void TFileLabel::SetDirection(TDirection direction) {
    if (direction == direction_) return;
    direction_ = direction;
    FitPath();
}

void TFileLabel::SetFont(HFONT font) {
    font_ = font;
    if (Handle()) InvalidateRect(Handle(), nullptr, TRUE);
}

void TFileLabel::SetBounds(int x, int y, int width, int height) {
    if (Handle()) MoveWindow(Handle(), x, y, width, height, TRUE);
}

void TFileLabel::Repaint() {
    if (Handle()) RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void TFileLabel::ParsePath() {
    parsed_ = kelvaro::ParsePath(fileName_, separator_);
}

void TFileLabel::FitPath() {
    if (!Handle()) return;
    RECT bounds{};
    GetClientRect(Handle(), &bounds);
    DcMeasurer measurer(Handle(), EffectiveFont());
    SetCaption(kelvaro::FitPath(fileName_, parsed_, separator_, direction_, bounds.right, measurer));
}

void TFileLabel::SetCaption(const std::string& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    InvalidateRect(Handle(), nullptr, TRUE);
}

HFONT TFileLabel::EffectiveFont() const {
    return font_ ? font_ : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

void TFileLabel::Paint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(Handle(), &paint);
    RECT bounds;
    GetClientRect(Handle(), &bounds);
    // The parent chooses background and text colour as it does for its static controls.
    HWND parent = GetParent(Handle());
    auto brush = reinterpret_cast<HBRUSH>(parent ? SendMessageA(parent, WM_CTLCOLORSTATIC,
                                                                reinterpret_cast<WPARAM>(dc),
                                                                reinterpret_cast<LPARAM>(Handle()))
                                                 : 0);
    FillRect(dc, &bounds, brush ? brush : GetSysColorBrush(COLOR_BTNFACE));
    if (!IsWindowEnabled(Handle())) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    SetBkMode(dc, TRANSPARENT);
    {
        Selection font(dc, EffectiveFont());
        // One line, clipped at the bounds; "&" is an accelerator marker, not a character.
        DrawTextA(dc, caption_.data(), static_cast<int>(caption_.size()), &bounds,
                  DT_LEFT | DT_TOP | DT_SINGLELINE);
    }
    EndPaint(Handle(), &paint);
}

LRESULT TFileLabel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_WINDOWPOSCHANGED: {
            const auto* position = reinterpret_cast<const WINDOWPOS*>(lParam);
            if ((position->flags & (SWP_NOMOVE | SWP_NOSIZE)) != (SWP_NOMOVE | SWP_NOSIZE)) FitPath();
            break;
        }
        case WM_ERASEBKGND:
            return 1;  // painted with the text, so a repaint per entry does not flicker
        case WM_PAINT:
            Paint();
            return 0;
        case WM_SETFONT:
            font_ = reinterpret_cast<HFONT>(wParam);
            if (LOWORD(lParam)) InvalidateRect(Handle(), nullptr, TRUE);
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(font_);
        case WM_NCHITTEST:
            return HTTRANSPARENT;  // a label: clicks belong to the window under it
    }
    return DefaultHandling(message, wParam, lParam);
}

}  // namespace kelvaro
