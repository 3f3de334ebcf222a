#pragma once
// TForm1, the program's main window.
#include <windows.h>

#include <memory>
#include <string>

#include "app/window_win.h"

namespace kelvaro {

class TForm1 : public Window {
public:
    static constexpr const char* kClassName = "TForm1";
    static constexpr const char* kCaption = "Kelvaro for Windows 95";

    TForm1();
    ~TForm1() override;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // Runs once, when the window is first shown.
    void FormShow();

    HFONT font_ = nullptr;
    bool shownOnce_ = false;
};

}  // namespace kelvaro
