#pragma once
// The main window as designed: its toolbar buttons, the columns of its two lists and its menu.
#include <windows.h>

#include <span>
#include <vector>

#include "app/main_menu_win.h"
#include "widgets/speed_button_win.h"

namespace kelvaro {

struct ButtonDesign {
    int id;
    int x;
    Glyph glyph;
    const char* hint;
    bool tooltip = true;
    bool visible = true;
    int group = 0;  // buttons of one group other than 0 latch in turn, and may all be up
};

struct ColumnDesign {
    const char* caption;
    int width;
    int format;
};

std::span<const ButtonDesign> ToolbarDesign();
std::span<const ColumnDesign> ResultColumnsDesign();
std::span<const ColumnDesign> SetupColumnsDesign();
std::vector<MainMenu::Popup> MenuDesign();

}  // namespace kelvaro
