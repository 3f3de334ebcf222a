#include "widgets/speed_button_win.h"

#include <commctrl.h>

#include "base/errors.h"

namespace kelvaro {
namespace {

// DIB pixels are 0x00RRGGBB; COLORREF is 0x00BBGGRR.
std::uint32_t PixelOf(COLORREF colour) {
    return GetRValue(colour) << 16 | GetGValue(colour) << 8 | GetBValue(colour);
}

std::uint32_t SystemPixel(int index) {
    return PixelOf(GetSysColor(index));
}

// Pixels that stay visible in the embossed picture of a disabled button: the dark ones, so that
// white and light fills read as holes, as on a classic greyed button.
bool IsDark(std::uint32_t pixel) {
    int red = pixel >> 16 & 0xFF, green = pixel >> 8 & 0xFF, blue = pixel & 0xFF;
    return red * 30 + green * 59 + blue * 11 < 160 * 100;
}

// A 32-bit top-down picture in memory: drawn on with GDI and by writing pixels, then copied to the
// screen in one go so that the button does not flicker.
class Offscreen {
public:
    Offscreen(HDC reference, int width, int height)
        : width_(width),
          height_(height),
          bitmap_(CreateSection(reference, width, height, pixels_)),
          dc_(CreateCompatibleDC(reference)),
          selection_(dc_.Get(), bitmap_.Get()) {}
    bool Valid() const { return dc_ && bitmap_ && pixels_; }
    HDC Dc() const { return dc_.Get(); }
    // Pixel access after GDI drawing needs GdiFlush first.
    void Set(int x, int y, std::uint32_t pixel) {
        if (x >= 0 && y >= 0 && x < width_ && y < height_) pixels_[y * width_ + x] = pixel;
    }

private:
    static HBITMAP CreateSection(HDC reference, int width, int height, std::uint32_t*& pixels) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(reference, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        pixels = static_cast<std::uint32_t*>(bits);
        return bitmap;
    }

    // In this order: the picture is put back out of the context before either goes.
    int width_, height_;
    std::uint32_t* pixels_ = nullptr;
    BitmapOwner bitmap_;
    MemoryDcOwner dc_;
    Selection selection_;
};

}  // namespace

// ---- TToolbarPanel ----

TToolbarPanel::TToolbarPanel(HWND parent, int height) : height_(height) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    RegisterClassOnce(kClassName, nullptr);
    RECT client{};
    GetClientRect(parent, &client);
    Create(kClassName, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0, 0, client.right,
           height, parent, nullptr);
    // No prefix processing: a hint's "&" is shown as written.
    tooltip_.Reset(CreateWindowExA(
        WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Handle(), nullptr, GetModuleHandleA(nullptr), nullptr));
}

TToolbarPanel::~TToolbarPanel() {
    // A tooltip's owner is the top-level window, not this panel, so it would outlive the panel.
    tooltip_.Reset();
    hotButton_ = nullptr;
    buttons_.clear();
}

void TToolbarPanel::SetWidth(int width) {
    if (Handle()) MoveWindow(Handle(), 0, 0, width, height_, TRUE);
}

TSpeedButton& TToolbarPanel::AddButton(int commandId, int x, int y, int width, int height, const Glyph& glyph,
                                       const std::string& hint, bool tooltip) {
    buttons_.push_back(std::unique_ptr<TSpeedButton>(
        new TSpeedButton(*this, commandId, x, y, width, height, glyph, hint, tooltip)));
    return *buttons_.back();
}

void TToolbarPanel::AddBevel(int x, int y, int width, int height) {
    bevels_.push_back(RECT{x, y, x + width, y + height});
    if (Handle()) InvalidateRect(Handle(), nullptr, TRUE);
}

void TToolbarPanel::SetFlatLook(bool on) {
    flatLook_ = on;
    for (auto& button : buttons_) button->SetFlat(on);
    if (Handle()) InvalidateRect(Handle(), nullptr, TRUE);
}

void TToolbarPanel::ButtonEntered(TSpeedButton& button) {
    if (hotButton_ == &button) return;
    if (hotButton_) hotButton_->SetHot(false);
    hotButton_ = &button;
    button.SetHot(true);
    if (OnHint) OnHint(button.LongHint());
}

void TToolbarPanel::ButtonLeft(TSpeedButton& button) {
    if (hotButton_ != &button) return;
    hotButton_ = nullptr;
    button.SetHot(false);
    if (OnHint) OnHint("");
}

void TToolbarPanel::RaiseGroupExcept(const TSpeedButton& button) {
    for (auto& other : buttons_) {
        if (other.get() == &button || other->GroupIndex != button.GroupIndex || !other->down_) continue;
        other->down_ = false;
        other->RepaintNow();
    }
}

void TToolbarPanel::Paint(HDC dc) {
    RECT client;
    GetClientRect(Handle(), &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    DrawEdge(dc, &client, BDR_RAISEDINNER, BF_RECT);
    if (!flatLook_) return;
    // A lowered line: shadow, with highlight just right of it.
    for (const RECT& bevel : bevels_) {
        RECT shadow{bevel.left, bevel.top, bevel.left + 1, bevel.bottom};
        RECT light{bevel.left + 1, bevel.top, bevel.left + 2, bevel.bottom};
        FillRect(dc, &shadow, GetSysColorBrush(COLOR_BTNSHADOW));
        FillRect(dc, &light, GetSysColorBrush(COLOR_BTNHIGHLIGHT));
    }
}

LRESULT TToolbarPanel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            return SendMessageA(GetParent(Handle()), WM_COMMAND, wParam, lParam);
        case WM_MOUSEMOVE:
            // The mouse is on the panel between buttons: no button is under it any more.
            if (hotButton_) ButtonLeft(*hotButton_);
            break;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            return PaintWindow(Handle(), [this](HDC dc) { Paint(dc); });
        case WM_SIZE:
            // The outer edge moves with the right border.
            InvalidateRect(Handle(), nullptr, FALSE);
            break;
        case WM_DESTROY:
            tooltip_.Reset();
            hotButton_ = nullptr;
            break;
    }
    return DefaultHandling(message, wParam, lParam);
}

// ---- TSpeedButton ----

TSpeedButton::TSpeedButton(TToolbarPanel& panel, int commandId, int x, int y, int width, int height,
                           const Glyph& glyph, const std::string& hint, bool tooltip)
    : TPictureButton(panel.flatLook_), panel_(panel) {
    std::size_t bar = hint.find('|');
    shortHint_ = hint.substr(0, bar);
    longHint_ = bar == std::string::npos ? hint : hint.substr(bar + 1);

    HINSTANCE instance = GetModuleHandleA(nullptr);
    BitmapOwner bitmap(static_cast<HBITMAP>(
        LoadImageA(instance, MAKEINTRESOURCEA(glyph.resourceId), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    BITMAP size{};
    if (!bitmap.Get() || !GetObjectA(bitmap.Get(), sizeof size, &size) || size.bmWidth <= 0 ||
        size.bmHeight <= 0)
        throw Exception("Cannot load button picture " + std::to_string(glyph.resourceId));
    images_ = glyph.images > 1 ? glyph.images : 1;
    bitmapWidth_ = size.bmWidth;
    imageWidth_ = size.bmWidth / images_;
    imageHeight_ = size.bmHeight;
    pixels_.resize(static_cast<std::size_t>(size.bmWidth) * size.bmHeight);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size.bmWidth;
    info.bmiHeader.biHeight = -size.bmHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    WindowDc screen(nullptr);
    if (GetDIBits(screen.Get(), bitmap.Get(), 0, size.bmHeight, pixels_.data(), &info, DIB_RGB_COLORS) !=
        size.bmHeight)
        throw Exception("Cannot read button picture " + std::to_string(glyph.resourceId));
    for (std::uint32_t& pixel : pixels_) pixel &= 0xFFFFFF;
    transparent_ = pixels_[static_cast<std::size_t>(size.bmHeight - 1) * size.bmWidth];

    RegisterClassOnce(kClassName, nullptr);
    Create(kClassName, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, x, y, width, height, panel.Handle(),
           reinterpret_cast<HMENU>(static_cast<INT_PTR>(commandId)));
    if (tooltip && panel.tooltip_ && Handle()) {
        TOOLINFOA tool{};
        tool.cbSize = TTTOOLINFOA_V1_SIZE;
        tool.uFlags = TTF_IDISHWND;
        tool.hwnd = panel.Handle();
        tool.uId = reinterpret_cast<UINT_PTR>(Handle());
        tool.lpszText = const_cast<char*>(shortHint_.c_str());  // the control keeps its own copy
        SendMessageA(panel.tooltip_.Get(), TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

void TSpeedButton::SetDown(bool down) {
    if (GroupIndex == 0) down = false;
    if (down == down_) return;
    if (down_ && !AllowAllUp) return;
    down_ = down;
    if (down_) panel_.RaiseGroupExcept(*this);
    RepaintNow();
}

void TSpeedButton::Clicking() {
    if (GroupIndex != 0) SetDown(!down_);
}

void TSpeedButton::MouseEntered() {
    panel_.ButtonEntered(*this);
}

void TSpeedButton::MouseLeft() {
    panel_.ButtonLeft(*this);
}

// The tooltip is the panel's, and hears of the mouse from here.
void TSpeedButton::MouseMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!panel_.tooltip_) return;
    MSG relayed{Handle(), message, wParam, lParam, static_cast<DWORD>(GetMessageTime()), {}};
    GetCursorPos(&relayed.pt);
    SendMessageA(panel_.tooltip_.Get(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
}

void TSpeedButton::Paint(HDC dc) {
    RECT client;
    GetClientRect(Handle(), &client);
    int width = client.right, height = client.bottom;
    Offscreen image(dc, width, height);
    if (!image.Valid()) return;
    HDC memory = image.Dc();

    bool pressedNow = PressedNow();
    bool sunken = down_ || pressedNow;
    // A latched button shows a dithered face, except while the flat look lights it up under the mouse.
    bool dithered = down_ && !pressedNow && (!Flat() || !Hot());
    RECT face = client;
    if (Flat()) {
        DrawFlatFrame(memory, face, sunken);
    } else {
        DrawFrameControl(memory, &face, DFC_BUTTON, DFCS_BUTTONPUSH | (sunken ? DFCS_PUSHED : 0));
        InflateRect(&face, -2, -2);
    }
    GdiFlush();
    if (dithered) {
        std::uint32_t light = SystemPixel(COLOR_BTNHIGHLIGHT), base = SystemPixel(COLOR_BTNFACE);
        for (int y = face.top; y < face.bottom; ++y)
            for (int x = face.left; x < face.right; ++x) image.Set(x, y, (x + y) % 2 ? light : base);
    }

    int left = (width - imageWidth_ + 1) / 2 + (sunken ? 1 : 0);
    int top = (height - imageHeight_ + 1) / 2 + (sunken ? 1 : 0);
    auto source = [&](int index, int x, int y) {
        return pixels_[y * bitmapWidth_ + index * imageWidth_ + x];
    };
    if (Enabled() || images_ > 1) {
        int which = Enabled() ? 0 : 1;
        for (int y = 0; y < imageHeight_; ++y)
            for (int x = 0; x < imageWidth_; ++x) {
                std::uint32_t pixel = source(which, x, y);
                if (pixel != transparent_) image.Set(left + x, top + y, pixel);
            }
    } else {
        // Embossed: the dark shape in shadow, lit from the upper left.
        std::uint32_t light = SystemPixel(COLOR_BTNHIGHLIGHT), shadow = SystemPixel(COLOR_BTNSHADOW);
        for (int pass = 0; pass < 2; ++pass)
            for (int y = 0; y < imageHeight_; ++y)
                for (int x = 0; x < imageWidth_; ++x) {
                    std::uint32_t pixel = source(0, x, y);
                    if (pixel == transparent_ || !IsDark(pixel)) continue;
                    if (pass == 0) image.Set(left + x + 1, top + y + 1, light);
                    if (pass == 1) image.Set(left + x, top + y, shadow);
                }
    }
    BitBlt(dc, 0, 0, width, height, memory, 0, 0, SRCCOPY);
}

}  // namespace kelvaro
