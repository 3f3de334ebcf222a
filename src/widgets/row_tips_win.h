#pragma once
// A tooltip over a list view that shows what the program has to say about the row under the mouse. The
// list view's own info tips are not relied on: not every platform's list view asks for them.
#include <windows.h>

#include <functional>
#include <string>

#include "ui/owners_win.h"

namespace kelvaro {

class RowTips {
public:
    // text gives a row's tip; "" shows none.
    RowTips(HWND list, std::function<std::string(int row)> text);

    // The list hands over every mouse message it receives, before it handles it itself.
    void Relay(UINT message, WPARAM wParam, LPARAM lParam);
    // The rows changed under a mouse that may not have moved: the tip shown is taken down, and the next
    // move asks for the row that is there now.
    void Forget();

    HWND Handle() const { return tooltip_.Get(); }
    // The row whose tip is offered now; -1 for none.
    int Row() const { return row_; }

private:
    void Offer(int row);

    HWND list_;
    std::function<std::string(int row)> text_;
    // Owned by the list's top-level window, which would keep it after the list is gone.
    WindowOwner tooltip_;
    std::string offered_;
    int row_ = -1;
};

}  // namespace kelvaro
