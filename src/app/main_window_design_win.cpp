#include "app/main_window_design_win.h"

#include <commctrl.h>

#include "app/command_ids.h"
#include "ui/resource_ids.h"

namespace kelvaro {
namespace {

namespace cmd = command;

constexpr ButtonDesign kButtons[] = {
    {.id = cmd::EBSetup,
     .x = 8,
     .glyph = {IDB_SETUP, 17, 17, 1},
     .hint = "Toggle Setup/View Mode|Press to toggle between Setup & View Mode",
     .tooltip = false,
     .group = 3},
    {.id = cmd::EBConfirm,
     .x = 32,
     .glyph = {IDB_CONFIRM, 16, 16, 1},
     .hint = "Confirm Delete|Confirm Delete - Press to toggle"},
    {.id = cmd::EBNotConfirm,
     .x = 32,
     .glyph = {IDB_NOT_CONFIRM, 16, 16, 1},
     .hint = "Instant Delete|Instant Delete - Press to toggle",
     .visible = false},
    {.id = cmd::EBRecycle,
     .x = 56,
     .glyph = {IDB_RECYCLE, 16, 16, 1},
     .hint = "Use Recycle Bin|Use Recycle Bin - Press to toggle"},
    {.id = cmd::EBNotRecycle,
     .x = 56,
     .glyph = {IDB_NOT_RECYCLE, 16, 16, 1},
     .hint = "Do Not Use Recycle Bin|Do Not Use Recycle Bin - Press to toggle",
     .visible = false},
    {.id = cmd::EBDelete, .x = 88, .glyph = {IDB_DELETE, 16, 16, 1}, .hint = "Delete|Delete selected files"},
    {.id = cmd::EBStart,
     .x = 112,
     .glyph = {IDB_START, 20, 20, 1},
     .hint = "Kelvaro|Execute Kelvaro process"},
    {.id = cmd::EBAdd,
     .x = 112,
     .glyph = {IDB_ADD, 32, 16, 2},
     .hint = "Add file|Add file for Kelvaro",
     .visible = false},
    {.id = cmd::EBLargeIcons,
     .x = 144,
     .glyph = {IDB_LARGE_ICONS, 16, 16, 1},
     .hint = "Large Icons|View large icons",
     .group = 1},
    {.id = cmd::EBSmallIcons,
     .x = 168,
     .glyph = {IDB_SMALL_ICONS, 16, 16, 1},
     .hint = "Small Icons|View small icons",
     .group = 1},
    {.id = cmd::EBList, .x = 192, .glyph = {IDB_LIST, 16, 16, 1}, .hint = "List|View list", .group = 1},
    {.id = cmd::EBDetails,
     .x = 216,
     .glyph = {IDB_DETAILS, 16, 16, 1},
     .hint = "Details|View Details",
     .group = 1},
    {.id = cmd::EBExit, .x = 248, .glyph = {IDB_EXIT, 16, 16, 1}, .hint = "Exit|Exit Kelvaro"},
};

constexpr ColumnDesign kResultColumns[] = {{"Name", 140, LVCFMT_LEFT},     {"Ext", 35, LVCFMT_LEFT},
                                           {"Location", 160, LVCFMT_LEFT}, {"Size", 80, LVCFMT_RIGHT},
                                           {"Date", 60, LVCFMT_RIGHT},     {"Time", 60, LVCFMT_RIGHT}};
constexpr ColumnDesign kSetupColumns[] = {{"Location", 190, LVCFMT_LEFT}, {"File Specs", 80, LVCFMT_LEFT},
                                          {"File Age", 80, LVCFMT_RIGHT}, {"File Size", 80, LVCFMT_RIGHT},
                                          {"SubDir", 50, LVCFMT_CENTER},  {"Rmv Drv", 55, LVCFMT_CENTER}};

}  // namespace

std::span<const ButtonDesign> ToolbarDesign() {
    return kButtons;
}

std::span<const ColumnDesign> ResultColumnsDesign() {
    return kResultColumns;
}

std::span<const ColumnDesign> SetupColumnsDesign() {
    return kSetupColumns;
}

std::vector<MainMenu::Popup> MenuDesign() {
    return {
        {"&File",
         {{.id = cmd::StartKelvaro1, .caption = "&Start Kelvaro"},
          {.id = cmd::DeletionRecord1,
           .caption = "Deletion &Record...",
           .hint = "View the record of deleted files"},
          {.id = cmd::RestoreLastCleanup1,
           .caption = "Restore Last Clean-up...",
           .hint = "Bring back the files the last delete sent to the Recycle Bin"},
          {.id = cmd::SaveListAs1,
           .caption = "Save &List As...",
           .hint = "Save the list, or the selected files, for a spreadsheet"},
          {.id = cmd::N2, .caption = "-"},
          {.id = cmd::Add1, .caption = "&Add", .hint = "Add file for Kelvaro", .visible = false},
          {.id = cmd::Delete1, .caption = "&Delete", .hint = "Delete selected files", .visible = false},
          {.id = cmd::N1, .caption = "-", .visible = false},
          {.id = cmd::Exit1, .caption = "&Exit", .hint = "Exit Kelvaro"}}},
        {"&Options",
         {{.id = cmd::Setup2, .caption = "&Setup", .hint = "Toggle between Setup & View Mode"},
          {.id = cmd::ConfirmDelete1,
           .caption = "&Confirm Delete",
           .hint = "Toggle delete confirmation",
           .checked = true},
          {.id = cmd::UseRecycleBin1,
           .caption = "&Use Recycle Bin",
           .hint = "Toggle use of Recycle Bin for deleted files",
           .checked = true},
          {.id = cmd::RunduringWin95Boot1,
           .caption = "&Run At Win95 Boot",
           .hint = "Toggle to run Kelvaro during Windows95 startup"},
          {.id = cmd::SaveSettingsatExit1,
           .caption = "Save Settings On &Exit",
           .hint = "Save settings on Kelvaro exit",
           .checked = true},
          {.id = cmd::Office97Buttons, .caption = "Office 97 Buttons", .checked = true},
          {.id = cmd::ProtectedFolders1,
           .caption = "&Protected Folders...",
           .hint = "Folders and files no rule ever lists"}}},
        {"&Help",
         {{.id = cmd::Contents1, .caption = "&Contents", .hint = "Open help file"},
          {.id = cmd::About1, .caption = "&About", .hint = "View about box"}}},
    };
}

}  // namespace kelvaro
