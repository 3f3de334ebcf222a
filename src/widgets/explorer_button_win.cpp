#include "widgets/explorer_button_win.h"

#include "ui/owners_win.h"

namespace kelvaro {

TExplorerButton::TExplorerButton(HWND parent, int id, int x, int y, Picture picture, std::string longHint,
                                 std::function<void(const std::string&)> onHint)
    : TPictureButton(true), picture_(picture), longHint_(std::move(longHint)), onHint_(std::move(onHint)) {
    RegisterClassOnce(kClassName, nullptr);
    Create(kClassName, "", WS_CHILD | WS_VISIBLE, 0, x, y, 25, 25, parent,
           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
}

void TExplorerButton::MouseEntered() {
    if (SetHot(true)) onHint_(longHint_);
}

void TExplorerButton::MouseLeft() {
    SetHot(false);
    onHint_("");
}

void TExplorerButton::Paint(HDC dc) {
    RECT client;
    GetClientRect(Handle(), &client);
    const bool down = PressedNow();
    if (Flat()) {
        RECT face = client;
        DrawFlatFrame(dc, face, down);
    } else {
        FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
        DrawEdge(dc, &client, down ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    }
    const int shift = down ? 1 : 0;
    DrawPicture(dc, (client.right - 16) / 2 + shift, (client.bottom - 16) / 2 + shift);
}

// Small enough to draw with a few shapes; no bitmap resource to keep in step.
void TExplorerButton::DrawPicture(HDC dc, int x, int y) const {
    PenOwner pen(CreatePen(PS_SOLID, 1, RGB(0, 0, 0)));
    BrushOwner fill(CreateSolidBrush(picture_ == Picture::Folder ? RGB(255, 255, 0) : RGB(255, 255, 255)));
    // Declared after the pen and brush, so they are put back before those are deleted.
    Selection penSelection(dc, pen.Get());
    Selection fillSelection(dc, fill.Get());
    if (picture_ == Picture::Folder) {
        Rectangle(dc, x + 1, y + 3, x + 7, y + 6);
        Rectangle(dc, x + 1, y + 5, x + 15, y + 14);
    } else {
        const POINT page[] = {
            {x + 3, y + 1}, {x + 10, y + 1}, {x + 13, y + 4}, {x + 13, y + 15}, {x + 3, y + 15}};
        Polygon(dc, page, 5);
        for (int line = 0; line < 3; ++line) {
            MoveToEx(dc, x + 5, y + 7 + 2 * line, nullptr);
            LineTo(dc, x + 11, y + 7 + 2 * line);
        }
    }
}

}  // namespace kelvaro
