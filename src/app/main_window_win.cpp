#include "app/main_window_win.h"

namespace kelvaro {
namespace {

// Design bounds; the first placement is left to the system.
constexpr int kDesignWidth = 549;
constexpr int kDesignHeight = 300;

}  // namespace

TForm1::TForm1() {
    RegisterClassOnce(kClassName, LoadIcon(nullptr, IDI_APPLICATION));
    // Arial 8 point at 96 pixels per inch.
    font_ = CreateFontA(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "Arial");
    Create(kClassName, "", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, CW_USEDEFAULT, CW_USEDEFAULT, kDesignWidth,
           kDesignHeight, nullptr, nullptr);
}

TForm1::~TForm1() {
    if (font_) DeleteObject(font_);
}

void TForm1::FormShow() { SetWindowTextA(Handle(), kCaption); }

LRESULT TForm1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SHOWWINDOW:
            if (wParam && !shownOnce_) {
                shownOnce_ = true;
                FormShow();
            }
            break;
        case WM_DESTROY:
            // Closing the main window ends the program.
            PostQuitMessage(0);
            return 0;
    }
    return DefaultHandling(message, wParam, lParam);
}

}  // namespace kelvaro
