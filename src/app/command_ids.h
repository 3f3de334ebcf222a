#pragma once
// Command identifiers of the main window's toolbar buttons and menu items.

namespace kelvaro::command {

// Toolbar
constexpr int EBSetup = 101;
constexpr int EBConfirm = 102;
constexpr int EBNotConfirm = 103;
constexpr int EBRecycle = 104;
constexpr int EBNotRecycle = 105;
constexpr int EBDelete = 106;
constexpr int EBStart = 107;
constexpr int EBAdd = 108;
constexpr int EBLargeIcons = 109;
constexpr int EBSmallIcons = 110;
constexpr int EBList = 111;
constexpr int EBDetails = 112;
constexpr int EBExit = 113;

// Menu
constexpr int StartKelvaro1 = 201;
constexpr int Add1 = 202;
constexpr int Delete1 = 203;
constexpr int Exit1 = 204;
constexpr int DeletionRecord1 = 205;
constexpr int RestoreLastCleanup1 = 206;
constexpr int SaveListAs1 = 207;
constexpr int Setup2 = 211;
constexpr int ConfirmDelete1 = 212;
constexpr int UseRecycleBin1 = 213;
constexpr int RunduringWin95Boot1 = 214;
constexpr int SaveSettingsatExit1 = 215;
constexpr int Office97Buttons = 216;
constexpr int ProtectedFolders1 = 217;
constexpr int Contents1 = 221;
constexpr int About1 = 222;
// Separators have no command; these only name them.
constexpr int N1 = 291;
constexpr int N2 = 292;

// Controls
constexpr int ListView = 301;
constexpr int LVSetup = 302;
constexpr int StatusBar = 303;

}  // namespace kelvaro::command
