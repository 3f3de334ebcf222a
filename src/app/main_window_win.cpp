#include "app/main_window_win.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>

#include "app/about_box_win.h"
#include "app/command_ids.h"
#include "app/help_win.h"
#include "app/progress_dialog_win.h"
#include "app/status_panels.h"
#include "app/window_placement_win.h"
#include "platform/message_filter_win.h"
#include "rules/settings_store.h"
#include "run/broken_shortcut.h"
#include "search/platform_scan.h"
#include "shell/icon_cache.h"
#include "shell/run_at_startup.h"
#include "ui/font_win.h"
#include "ui/guarded_call_win.h"
#include "ui/message_box_win.h"
#include "ui/resource_ids.h"
#include "widgets/cool_list_view_win.h"
#include "widgets/speed_button_win.h"

namespace kelvaro {
namespace {

// Design bounds; the first placement is left to the system until the settings are loaded.
constexpr int kDesignWidth = 549;
constexpr int kDesignHeight = 300;
constexpr int kToolbarHeight = 30;
constexpr int kStatusBarHeight = 19;

struct ButtonDesign {
    int id;
    int x;
    Glyph glyph;
    const char* hint;
    bool tooltip;
    bool visible;
    int group;
};

const ButtonDesign kButtons[] = {
    {command::EBSetup,
     8,
     {IDB_SETUP, 17, 17, 1},
     "Toggle Setup/View Mode|Press to toggle between Setup & View Mode",
     false,
     true,
     3},
    {command::EBConfirm,
     32,
     {IDB_CONFIRM, 16, 16, 1},
     "Confirm Delete|Confirm Delete - Press to toggle",
     true,
     true,
     0},
    {command::EBNotConfirm,
     32,
     {IDB_NOT_CONFIRM, 16, 16, 1},
     "Instant Delete|Instant Delete - Press to toggle",
     true,
     false,
     0},
    {command::EBRecycle,
     56,
     {IDB_RECYCLE, 16, 16, 1},
     "Use Recycle Bin|Use Recycle Bin - Press to toggle",
     true,
     true,
     0},
    {command::EBNotRecycle,
     56,
     {IDB_NOT_RECYCLE, 16, 16, 1},
     "Do Not Use Recycle Bin|Do Not Use Recycle Bin - Press to toggle",
     true,
     false,
     0},
    {command::EBDelete, 88, {IDB_DELETE, 16, 16, 1}, "Delete|Delete selected files", true, true, 0},
    {command::EBStart, 112, {IDB_START, 20, 20, 1}, "Kelvaro|Execute Kelvaro process", true, true, 0},
    {command::EBAdd, 112, {IDB_ADD, 32, 16, 2}, "Add file|Add file for Kelvaro", true, false, 0},
    {command::EBLargeIcons, 144, {IDB_LARGE_ICONS, 16, 16, 1}, "Large Icons|View large icons", true, true, 1},
    {command::EBSmallIcons, 168, {IDB_SMALL_ICONS, 16, 16, 1}, "Small Icons|View small icons", true, true, 1},
    {command::EBList, 192, {IDB_LIST, 16, 16, 1}, "List|View list", true, true, 1},
    {command::EBDetails, 216, {IDB_DETAILS, 16, 16, 1}, "Details|View Details", true, true, 1},
    {command::EBExit, 248, {IDB_EXIT, 16, 16, 1}, "Exit|Exit Kelvaro", true, true, 0},
};

struct ColumnDesign {
    const char* caption;
    int width;
    int format;
};

const ColumnDesign kResultColumns[] = {{"Name", 140, LVCFMT_LEFT},     {"Ext", 35, LVCFMT_LEFT},
                                       {"Location", 160, LVCFMT_LEFT}, {"Size", 80, LVCFMT_RIGHT},
                                       {"Date", 60, LVCFMT_RIGHT},     {"Time", 60, LVCFMT_RIGHT}};
const ColumnDesign kSetupColumns[] = {{"Location", 190, LVCFMT_LEFT}, {"File Specs", 80, LVCFMT_LEFT},
                                      {"File Age", 80, LVCFMT_RIGHT}, {"File Size", 80, LVCFMT_RIGHT},
                                      {"SubDir", 50, LVCFMT_CENTER},  {"Rmv Drv", 55, LVCFMT_CENTER}};

std::vector<MainMenu::Popup> MenuDesign() {
    using command::N1, command::N2;
    return {
        {"&File",
         {{command::StartKelvaro1, "&Start Kelvaro", "", true, false, true},
          {command::DeletionRecord1, "Deletion &Record...", "View the record of deleted files", true, false,
           true},
          {N2, "-", "", true, false, true},
          {command::Add1, "&Add", "Add file for Kelvaro", false, false, true},
          {command::Delete1, "&Delete", "Delete selected files", false, false, true},
          {N1, "-", "", false, false, true},
          {command::Exit1, "&Exit", "Exit Kelvaro", true, false, true}}},
        {"&Options",
         {{command::Setup2, "&Setup", "Toggle between Setup & View Mode", true, false, true},
          {command::ConfirmDelete1, "&Confirm Delete", "Toggle delete confirmation", true, true, true},
          {command::UseRecycleBin1, "&Use Recycle Bin", "Toggle use of Recycle Bin for deleted files", true,
           true, true},
          {command::RunduringWin95Boot1, "&Run At Win95 Boot",
           "Toggle to run Kelvaro during Windows95 startup", true, false, true},
          {command::SaveSettingsatExit1, "Save Settings On &Exit", "Save settings on Kelvaro exit", true,
           true, true},
          {command::Office97Buttons, "Office 97 Buttons", "", true, true, true}}},
        {"&Help",
         {{command::Contents1, "&Contents", "Open help file", true, false, true},
          {command::About1, "&About", "View about box", true, false, true}}},
    };
}

bool KeyIsDown(int virtualKey) {
    return GetKeyState(virtualKey) < 0;
}

// The window whose key preview the message filter runs; a window going away removes only its own.
TForm1* keyPreviewOwner = nullptr;

}  // namespace

TForm1::TForm1(MainWindowServices services, std::string settingsKey)
    : services_(std::move(services)),
      settingsKey_(settingsKey.empty() ? kSettingsKey : std::move(settingsKey)) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    RegisterClassOnce(kClassName, LoadIconA(instance, MAKEINTRESOURCEA(IDI_MAIN)));
    // Arial 8 point at 96 pixels per inch for the window; MS Sans Serif 8 point for the lists.
    font_.Reset(CreateUiFont(-11, "Arial"));
    listFont_.Reset(CreateDialogFont());
    menu_ = std::make_unique<MainMenu>(MenuDesign());
    Create(kClassName, "", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, CW_USEDEFAULT, CW_USEDEFAULT,
           kDesignWidth, kDesignHeight, nullptr, menu_->Handle());
    CreateToolbar();
    CreateLists();
    CreateStatusBar();
    LayOut();

    fileScan_ = MakeDesignScan(ScanPlatform{*services_.files, *services_.clock, *services_.pump,
                                            *services_.drives, *services_.locale});

    shellLink_ = std::make_unique<TQSShellLink>(*services_.shellLinkObject, *services_.shellFolders);
    icons_ = std::make_unique<IconCache>(*services_.classesRoot,
                                         [this](const std::string& path) { return GetShellFileInfo(path); });

    if (services_.recordFiles && !services_.recordPath.empty())
        record_ = std::make_unique<DeletionRecord>(*services_.recordFiles, services_.recordPath);
    // A rule over the application-data folder must not offer the record itself for deletion.
    if (!services_.recordPath.empty())
        fileScan_->SetUnlistedFiles({services_.recordPath, DeletionRecord::OlderPath(services_.recordPath)});

    FormCreate();
    form3_ = std::make_unique<TForm3>(Handle(), [this] { EBAbortClick(); });
    fileScan_->CurrInfoLabel = &form3_->ScanLabel();
}

TForm1::~TForm1() {
    if (keyPreviewOwner == this) {
        SetMessageFilter(nullptr);
        keyPreviewOwner = nullptr;
    }
    form3_.reset();
    // Before the fonts go: the window and its children still use them.
    if (Handle()) DestroyWindow(Handle());
}

void TForm1::FormCreate() {
    // The runtime this program is built with does not load the OLE automation library, so there is
    // no load reference of it to release here.
    // Both message loops, the program's and the pump's of a run, run the preview through this filter.
    SetMessageFilter([this](MSG& message) {
        return GuardedCall(
            Handle(), [&] { return PreviewKey(message); }, false);
    });
    keyPreviewOwner = this;
    AddingRule = true;
    InitSystemImageLists();
}

void TForm1::FormDestroy() {
    // The image lists are the shell's own: the lists were told to share them, nothing to free.
    largeImages_ = smallImages_ = nullptr;
}

void TForm1::CreateToolbar() {
    panel_ = std::make_unique<TToolbarPanel>(Handle(), kToolbarHeight);
    for (const ButtonDesign& design : kButtons) {
        TSpeedButton& button =
            panel_->AddButton(design.id, design.x, 2, 25, 25, design.glyph, design.hint, design.tooltip);
        buttons_[design.id] = &button;
        button.GroupIndex = design.group;
        button.AllowAllUp = design.group != 0;
        button.SetVisible(design.visible);
    }
    panel_->AddBevel(83, 1, 14, 28);   // Bevel1
    panel_->AddBevel(139, 1, 14, 28);  // Bevel3
    panel_->AddBevel(243, 1, 14, 28);  // Bevel2
    panel_->OnHint = [this](const std::string& hint) { DisplayHint(hint); };
}

void TForm1::CreateLists() {
    // Created in tab order: the setup list first.
    setupList_ = std::make_unique<TCoolListView>(Handle(), command::LVSetup, false);
    listView_ = std::make_unique<TCoolListView>(Handle(), command::ListView, true);
    for (const ColumnDesign& column : kSetupColumns)
        setupList_->AddColumn(column.caption, column.width, column.format);
    for (const ColumnDesign& column : kResultColumns)
        listView_->AddColumn(column.caption, column.width, column.format);
    for (TCoolListView* list : {setupList_.get(), listView_.get()}) {
        list->SetFont(listFont_.Get());
        list->OnKeyPress = [this](TCoolListView&, char key) { FormKeyPress(key); };
    }
    listView_->AutoSort = true;
    listView_->SetSortType(stBoth);
    setupList_->AutoSort = false;
    setupList_->SetSortType(stNone);
    listView_->EnableInfoTips([this](TCoolListView&, int row) { return RowRuleTip(row); });
    listView_->OnChange = [this](TCoolListView&, int row) { ListViewChange(row); };
    listView_->OnChanging = [this](TCoolListView&, int row) { return ListViewChanging(row); };
    setupList_->OnDblClick = [this](TCoolListView&) { LVSetupDblClick(); };
}

void TForm1::CreateStatusBar() {
    statusBar_ = CreateWindowExA(
        0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | CCS_NORESIZE | CCS_NOPARENTALIGN, 0, 0, 0,
        kStatusBarHeight, Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(command::StatusBar)),
        GetModuleHandleA(nullptr), nullptr);
    SendMessageA(statusBar_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
    // Panel 0 is 300 wide; panel 1 takes the rest (200 at the design width), so the selection's
    // summary has room for thousands of rows and no empty box is left at the right.
    int edges[2] = {300, -1};
    SendMessageA(statusBar_, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(edges));
    SetStatusText(kStatePanel, "Ready");
}

void TForm1::InitSystemImageLists() {
    SHFILEINFOA info{};
    largeImages_ =
        reinterpret_cast<HIMAGELIST>(SHGetFileInfoA("", 0, &info, sizeof info, SHGFI_SYSICONINDEX));
    smallImages_ = reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoA("", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    for (TCoolListView* list : {listView_.get(), setupList_.get()})
        list->SetImageLists(smallImages_, largeImages_);
}

int TForm1::GetShellFileInfo(const std::string& path) const {
    SHFILEINFOA info{};
    // Only the index is used: no icon handle is asked for, so none has to be released.
    SHGetFileInfoA(path.c_str(), 0, &info, sizeof info,
                   SHGFI_SYSICONINDEX | SHGFI_TYPENAME | SHGFI_DISPLAYNAME | SHGFI_SMALLICON);
    return info.iIcon;
}

void TForm1::LayOut() {
    RECT client;
    GetClientRect(Handle(), &client);
    int width = client.right - client.left;
    int height = client.bottom - client.top;
    if (panel_) panel_->SetWidth(width);
    int listHeight = std::max(0, height - kToolbarHeight - kStatusBarHeight);
    for (TCoolListView* list : {listView_.get(), setupList_.get()})
        if (list) list->SetBounds(0, kToolbarHeight, width, listHeight);
    if (!statusBar_) return;
    MoveWindow(statusBar_, 0, height - kStatusBarHeight, width, kStatusBarHeight, TRUE);
    // Moved down by a taller window, the bar keeps the pixels its new place held (blank, or a copy
    // of the list's scroll bar) until its text changes: draw it anew after every layout.
    RedrawWindow(statusBar_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
}

TSpeedButton& TForm1::Button(int commandId) {
    return *buttons_.at(commandId);
}

std::string TForm1::StatusText(int panel) const {
    char text[512] = {};
    LRESULT length = SendMessageA(statusBar_, SB_GETTEXTLENGTHA, static_cast<WPARAM>(panel), 0);
    if (LOWORD(length) >= sizeof text) return {};
    SendMessageA(statusBar_, SB_GETTEXTA, static_cast<WPARAM>(panel), reinterpret_cast<LPARAM>(text));
    return text;
}

void TForm1::SetStatusText(int panel, const std::string& text) {
    SendMessageA(statusBar_, SB_SETTEXTA, static_cast<WPARAM>(panel), reinterpret_cast<LPARAM>(text.c_str()));
}

// --- Showing and closing ---------------------------------------------------------------------

void TForm1::FormShow() {
    LoadSettings(*services_.settings, *this, settingsKey_);
    SetWindowTextA(Handle(), kCaption);
    AutomaticMode();
}

bool TForm1::FormClose() {
    RunHelpCommand(Handle(), HELP_QUIT, 0);
    SaveSettings(*services_.settings, *this, settingsKey_);
    return true;
}

// --- Modes and options -----------------------------------------------------------------------

void TForm1::Setup2Click(int sender) {
    if (setupList_->Visible()) {
        listView_->SetVisible(true);
        setupList_->SetVisible(false);
        menu_->SetChecked(command::Setup2, false);
        Button(command::EBStart).SetVisible(true);
        menu_->SetEnabled(command::StartKelvaro1, true);
        Button(command::EBAdd).SetVisible(false);
        for (int id : {command::Add1, command::Delete1, command::N1}) menu_->SetVisible(id, false);
    } else {
        setupList_->SetVisible(true);
        listView_->SetVisible(false);
        menu_->SetChecked(command::Setup2, true);
        Button(command::EBAdd).SetVisible(true);
        Button(command::EBStart).SetVisible(false);
        menu_->SetEnabled(command::StartKelvaro1, false);
        for (int id : {command::Add1, command::Delete1, command::N1}) menu_->SetVisible(id, true);
    }
    // A press of the button has latched it already by its own group behaviour.
    if (sender == command::Setup2) Button(command::EBSetup).SetDown(setupList_->Visible());
}

void TForm1::EBSetupClick() {
    Setup2Click(0);
}

void TForm1::ConfirmDelete1Click() {
    confirmDelete_ = !confirmDelete_;
    ShowFlagState();
}

void TForm1::EBConfirmClick() {
    ConfirmDelete1Click();
}

void TForm1::UseRecycleBin1Click() {
    useRecycleBin_ = !useRecycleBin_;
    ShowFlagState();
}

void TForm1::EBRecycleClick() {
    UseRecycleBin1Click();
}

void TForm1::ShowFlagState() {
    Button(command::EBConfirm).SetVisible(confirmDelete_);
    Button(command::EBNotConfirm).SetVisible(!confirmDelete_);
    Button(command::EBRecycle).SetVisible(useRecycleBin_);
    Button(command::EBNotRecycle).SetVisible(!useRecycleBin_);
    menu_->SetChecked(command::ConfirmDelete1, confirmDelete_);
    menu_->SetChecked(command::UseRecycleBin1, useRecycleBin_);
}

void TForm1::RunduringWin95Boot1Click() {
    char program[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    SetRunAtBootTick(ToggleRunAtStartup(RunAtBootTick(), *shellLink_, *services_.fileDeleter, program));
}

void TForm1::SaveSettingsatExit1Click() {
    menu_->SetChecked(command::SaveSettingsatExit1, !menu_->Checked(command::SaveSettingsatExit1));
}

void TForm1::Office97ButtonsClick() {
    menu_->SetChecked(command::Office97Buttons, !menu_->Checked(command::Office97Buttons));
    ApplyButtonStyle();
}

void TForm1::ApplyButtonStyle() {
    panel_->SetFlatLook(menu_->Checked(command::Office97Buttons));
}

void TForm1::EBLargeIconsClick() {
    listView_->SetViewStyle(ViewStyle::LargeIcons);
}
void TForm1::EBSmallIconsClick() {
    listView_->SetViewStyle(ViewStyle::SmallIcons);
}
void TForm1::EBListClick() {
    listView_->SetViewStyle(ViewStyle::List);
}
void TForm1::EBDetailsClick() {
    listView_->SetViewStyle(ViewStyle::Report);
}

// --- Work that comes with the run, deletion, rule editor and about box ------------------------

void TForm1::About1Click() {
    ShowAboutBox(Handle());
}

void TForm1::Exit1Click() {
    SendMessageA(Handle(), WM_CLOSE, 0, 0);
}

void TForm1::DeletionRecord1Click() {
    if (!record_ || services_.recordFiles->Size(services_.recordPath) == 0) {
        ShowMessageBox(Handle(), "Kelvaro has not deleted any file yet, so there is no deletion record.",
                       "Kelvaro", MB_OK | MB_ICONINFORMATION);
        return;
    }
    services_.openTextViewer(services_.recordPath);
}

void TForm1::Contents1Click() {
    RunHelpCommand(Handle(), HELP_FINDER, 0);
}

void TForm1::EBAbortClick() {
    fileScan_->StopScan = true;
    TSpeedButton& start = Button(command::EBStart);
    start.SetEnabled(true);
    start.RepaintNow();
    SetStatusText(kStatePanel, "Search Aborted!!");
}

// --- Keys and hints --------------------------------------------------------------------------

void TForm1::FormKeyDown(WPARAM key) {
    if (key == VK_DELETE) EBDeleteClick();
    bool onlyCtrl = KeyIsDown(VK_CONTROL) && !KeyIsDown(VK_SHIFT) && !KeyIsDown(VK_MENU);
    // The key that types a plain "a" on this layout; a layout that needs a shift state for it never matches.
    SHORT selectAllKey = VkKeyScanA('a');
    if (onlyCtrl && selectAllKey != -1 &&
        key == static_cast<WPARAM>(static_cast<unsigned short>(selectAllKey))) {
        SelectAllResults();
    }
}

void TForm1::FormKeyPress(char key) {
    if (key == 27) EBAbortClick();
}

// The window sees the keys meant for its controls before they do.
bool TForm1::PreviewKey(MSG& message) {
    if (!Handle() || message.hwnd == Handle() || !IsChild(Handle(), message.hwnd)) return false;
    if (message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN) FormKeyDown(message.wParam);
    if (message.message == WM_CHAR) FormKeyPress(static_cast<char>(message.wParam));
    return false;
}

void TForm1::DisplayHint(const std::string& hint) {
    if (hint == hint_) return;
    hint_ = hint;
    SetStatusText(kHintPanel, hint);
}

void TForm1::OnMenuSelect(WPARAM wParam, LPARAM lParam) {
    UINT flags = HIWORD(wParam);
    if (flags == 0xFFFF && lParam == 0) {  // the menu closed
        DisplayHint("");
        return;
    }
    DisplayHint((flags & MF_POPUP) ? std::string() : menu_->HintOf(LOWORD(wParam)));
}

// --- Settings --------------------------------------------------------------------------------

bool TForm1::RunAtBootTick() const {
    return menu_->Checked(command::RunduringWin95Boot1);
}
bool TForm1::SaveOnExitTick() const {
    return menu_->Checked(command::SaveSettingsatExit1);
}
bool TForm1::Office97Tick() const {
    return menu_->Checked(command::Office97Buttons);
}
void TForm1::SetRunAtBootTick(bool ticked) {
    menu_->SetChecked(command::RunduringWin95Boot1, ticked);
}
void TForm1::SetSaveOnExitTick(bool ticked) {
    menu_->SetChecked(command::SaveSettingsatExit1, ticked);
}
void TForm1::SetOffice97Tick(bool ticked) {
    menu_->SetChecked(command::Office97Buttons, ticked);
}

WindowBounds TForm1::Bounds() const {
    return NormalBounds(Handle());
}

void TForm1::SetWindowEdge(int left, int top, int width, int height) {
    SetNormalBounds(Handle(), {left, top, width, height});
}

void TForm1::SetWidth(int width) {
    WindowBounds b = Bounds();
    SetWindowEdge(b.left, b.top, width, b.height);
}
void TForm1::SetTop(int top) {
    WindowBounds b = Bounds();
    SetWindowEdge(b.left, top, b.width, b.height);
}
void TForm1::SetLeft(int left) {
    WindowBounds b = Bounds();
    SetWindowEdge(left, b.top, b.width, b.height);
}
void TForm1::SetHeight(int height) {
    WindowBounds b = Bounds();
    SetWindowEdge(b.left, b.top, b.width, height);
}

ViewStyle TForm1::ResultsViewStyle() const {
    return listView_->GetViewStyle();
}

void TForm1::ApplyResultsViewStyle(ViewStyle style) {
    listView_->SetViewStyle(style);
    int button = style == ViewStyle::Report       ? command::EBDetails
                 : style == ViewStyle::List       ? command::EBList
                 : style == ViewStyle::SmallIcons ? command::EBSmallIcons
                                                  : command::EBLargeIcons;
    Button(button).SetDown(true);
}

int TForm1::ResultsColumnWidth(int column) const {
    return listView_->ColumnWidth(column);
}
int TForm1::SetupColumnWidth(int column) const {
    return setupList_->ColumnWidth(column);
}
void TForm1::SetResultsColumnWidth(int column, int width) {
    listView_->SetColumnWidth(column, width);
}
void TForm1::SetSetupColumnWidth(int column, int width) {
    setupList_->SetColumnWidth(column, width);
}

int TForm1::RuleCount() const {
    return setupList_->RowCount();
}

RuleRow TForm1::Rule(int index) const {
    RuleRow row;
    row.Caption = setupList_->Text(index, 0);
    for (int item = 0; item < 5; ++item)
        row.SubItems[static_cast<std::size_t>(item)] = setupList_->Text(index, item + 1);
    row.ImageIndex = setupList_->ImageIndex(index);
    return row;
}

void TForm1::AppendRule(const RuleRow& row) {
    setupList_->AddRow(row.Caption, std::vector<std::string>(row.SubItems.begin(), row.SubItems.end()),
                       GetShellFileInfo(row.Caption));
}

// --- Messages --------------------------------------------------------------------------------

void TForm1::OnCommand(int id) {
    switch (id) {
        case command::EBSetup:
            return EBSetupClick();
        case command::Setup2:
            return Setup2Click(command::Setup2);
        case command::EBConfirm:
        case command::EBNotConfirm:
            return EBConfirmClick();
        case command::ConfirmDelete1:
            return ConfirmDelete1Click();
        case command::EBRecycle:
        case command::EBNotRecycle:
            return EBRecycleClick();
        case command::UseRecycleBin1:
            return UseRecycleBin1Click();
        case command::RunduringWin95Boot1:
            return RunduringWin95Boot1Click();
        case command::SaveSettingsatExit1:
            return SaveSettingsatExit1Click();
        case command::Office97Buttons:
            return Office97ButtonsClick();
        case command::EBLargeIcons:
            return EBLargeIconsClick();
        case command::EBSmallIcons:
            return EBSmallIconsClick();
        case command::EBList:
            return EBListClick();
        case command::EBDetails:
            return EBDetailsClick();
        case command::EBStart:
        case command::StartKelvaro1:
            return SpeedButton3Click();
        case command::EBAdd:
        case command::Add1:
            return EBAddClick();
        case command::EBDelete:
        case command::Delete1:
            return EBDeleteClick();
        case command::EBExit:
        case command::Exit1:
            return Exit1Click();
        case command::DeletionRecord1:
            return DeletionRecord1Click();
        case command::Contents1:
            return Contents1Click();
        case command::About1:
            return About1Click();
    }
}

LRESULT TForm1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            OnCommand(LOWORD(wParam));
            return 0;
        case WM_NOTIFY: {
            auto& header = *reinterpret_cast<NMHDR*>(lParam);
            LRESULT result = 0;
            // The rows keep their places while a delete is under way.
            if (deleting_ && header.code == LVN_COLUMNCLICK) return 0;
            if (listView_ && header.hwndFrom == listView_->Handle()) TrackResultsList(header);
            for (TCoolListView* list : {listView_.get(), setupList_.get()})
                if (list && header.hwndFrom == list->Handle() && list->HandleNotify(header, result))
                    return result;
            break;
        }
        case WM_SIZE:
            LayOut();
            return 0;
        case WM_SHOWWINDOW:
            if (wParam && !shownOnce_) {
                shownOnce_ = true;
                FormShow();
            }
            break;
        case WM_WINDOWPOSCHANGED:
            // Shown minimised (as the start-up shortcut starts it), the window gets no WM_SHOWWINDOW.
            if ((reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_SHOWWINDOW) && !shownOnce_) {
                shownOnce_ = true;
                FormShow();
            }
            break;
        case WM_MENUSELECT:
            OnMenuSelect(wParam, lParam);
            return 0;
        case WM_SETCURSOR:
            // Controls without a hint blank the hint panel; the buttons report their own.
            if (reinterpret_cast<HWND>(wParam) != panel_->Handle() &&
                !IsChild(panel_->Handle(), reinterpret_cast<HWND>(wParam)))
                DisplayHint("");
            break;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            FormKeyDown(wParam);
            break;
        case WM_CHAR:
            FormKeyPress(static_cast<char>(wParam));
            return 0;
        case WM_CLOSE:
            // The delete's loop still works on the lists: the window closes when it ends.
            if (deleting_) {
                closeAfterDelete_ = true;
                return 0;
            }
            if (running_) {
                StopRunToClose();
                return 0;
            }
            closeAfterRun_ = false;
            if (FormClose()) DestroyWindow(Handle());
            return 0;
        case WM_DESTROY:
            FormDestroy();
            // Closing the main window ends the program.
            PostQuitMessage(0);
            return 0;
    }
    return DefaultHandling(message, wParam, lParam);
}

}  // namespace kelvaro
