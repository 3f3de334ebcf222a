#include "app/main_window_win.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>

#include "app/command_ids.h"
#include "app/main_window_design_win.h"
#include "app/main_window_settings_win.h"
#include "app/progress_dialog_win.h"
#include "app/single_window_win.h"
#include "app/status_panels.h"
#include "app/window_placement_win.h"
#include "platform/message_filter_win.h"
#include "rules/settings_store.h"
#include "ui/guarded_call_win.h"
#include "ui/help_win.h"
#include "ui/message_box_win.h"
#include "ui/resource_ids.h"
#include "widgets/speed_button_win.h"

namespace kelvaro {
namespace {

// Design bounds; the first placement is left to the system until the settings are loaded.
constexpr int kDesignWidth = 549;
constexpr int kDesignHeight = 300;
constexpr int kToolbarHeight = 30;
constexpr int kStatusBarHeight = 19;
// The smallest client area in which the toolbar's buttons, the list's header with one row, and the
// selection's summary in the status bar can all still be read.
constexpr int kMinClientWidth = 300;
constexpr int kMinClientHeight = kToolbarHeight + 64 + kStatusBarHeight;
// The status bar's right panel keeps this much of a narrow window; the hint panel gives way first.
constexpr int kStatePanelWidth = 200;
constexpr int kHintPanelWidth = 300;

// The window whose key preview the message filter runs; a window going away removes only its own.
TForm1* keyPreviewOwner = nullptr;

}  // namespace

TForm1::TForm1(MainWindowServices services, MainWindowParts parts, std::string settingsKey)
    : services_(std::move(services)),
      fileScan_(std::move(parts.fileScan)),
      shellLink_(std::move(parts.shellLink)),
      icons_(std::move(parts.icons)),
      record_(std::move(parts.record)),
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

    // The runtime this program is built with does not load the OLE automation library, so there is
    // no load reference of it to release here.
    // Both message loops, the program's and the pump's of a run, run the preview through this filter.
    SetMessageFilter([this](MSG& message) {
        return GuardedCall(
            Handle(), [&] { return PreviewKey(message); }, false);
    });
    keyPreviewOwner = this;
    InitSystemImageLists();
    form3_ = std::make_unique<TForm3>(Handle(), [this] { EBAbortClick(); });
    deleteForm_ = std::make_unique<TForm3>(
        Handle(), [this] { StopDelete(); }, ProgressKind::Delete);
    fileScan_->CurrInfoLabel = &form3_->ScanLabel();
}

TForm1::~TForm1() {
    if (keyPreviewOwner == this) {
        SetMessageFilter(nullptr);
        keyPreviewOwner = nullptr;
    }
    form3_.reset();
    deleteForm_.reset();
    // Before the fonts go: the window and its children still use them.
    if (Handle()) DestroyWindow(Handle());
}

void TForm1::CreateToolbar() {
    panel_ = std::make_unique<TToolbarPanel>(Handle(), kToolbarHeight);
    for (const ButtonDesign& design : ToolbarDesign()) {
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
    for (const ColumnDesign& column : SetupColumnsDesign())
        setupList_->AddColumn(column.caption, column.width, column.format);
    for (const ColumnDesign& column : ResultColumnsDesign())
        listView_->AddColumn(column.caption, column.width, column.format);
    for (TCoolListView* list : {setupList_.get(), listView_.get()}) {
        list->SetFont(listFont_.Get());
        list->OnKeyPress = [this](TCoolListView&, char key) { FormKeyPress(key); };
    }
    resultColumns_ = std::make_unique<ResultColumns>(*services_.locale);
    listView_->SetFileColumns(resultColumns_.get());
    listView_->AutoSort = true;
    listView_->SetSortType(stBoth);
    setupList_->AutoSort = false;
    setupList_->SetSortType(stNone);
    selection_ = std::make_unique<ResultSelection>(
        *listView_, *services_.locale,
        [this](const std::string& summary) { SetStatusText(kStatePanel, summary); });
    listView_->EnableInfoTips([this](TCoolListView&, int row) { return RowRuleTip(row); });
    listView_->OnChange = [this](TCoolListView&, int) { selection_->RowChanged(); };
    listView_->OnChanging = [this](TCoolListView&, int) {
        selection_->RowChanged();
        return true;
    };
    setupList_->OnDblClick = [this](TCoolListView&) { LVSetupDblClick(); };
}

void TForm1::CreateStatusBar() {
    statusBar_ = CreateWindowExA(
        0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | CCS_NORESIZE | CCS_NOPARENTALIGN, 0, 0, 0,
        kStatusBarHeight, Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(command::StatusBar)),
        GetModuleHandleA(nullptr), nullptr);
    SendMessageA(statusBar_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
    // The panels as at the design width until the first layout sets them for the window's own.
    int edges[2] = {kHintPanelWidth, -1};
    SendMessageA(statusBar_, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(edges));
    SetStatusText(kStatePanel, "Ready");
}

// The image lists are the shell's own: the lists share them, and nothing frees them.
void TForm1::InitSystemImageLists() {
    SHFILEINFOA info{};
    auto large = reinterpret_cast<HIMAGELIST>(SHGetFileInfoA("", 0, &info, sizeof info, SHGFI_SYSICONINDEX));
    auto small = reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoA("", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    for (TCoolListView* list : {listView_.get(), setupList_.get()}) list->SetImageLists(small, large);
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
    // Panel 0 is 300 wide; panel 1 takes the rest (200 at the design width), so the selection's summary
    // has room for thousands of rows and no empty box is left at the right. In a narrower window the hint
    // panel gives way, so the summary stays readable.
    int edges[2] = {std::clamp(width - kStatePanelWidth, 0, kHintPanelWidth), -1};
    SendMessageA(statusBar_, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(edges));
    // Moved down by a taller window, the bar keeps the pixels its new place held (blank, or a copy
    // of the list's scroll bar) until its text changes: draw it anew after every layout.
    RedrawWindow(statusBar_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
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

WindowBounds TForm1::Bounds() const {
    return NormalBounds(Handle());
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
                       ShellIconIndex(row.Caption));
}

// --- Showing and closing ---------------------------------------------------------------------

void TForm1::FormShow() {
    Settings settings(*this);
    LoadSettings(*services_.settings, settings, settingsKey_);
    loadedSettings_ = RulesAndOptions();
    SetWindowTextA(Handle(), kCaption);
    AutomaticMode();
}

bool TForm1::FormClose() {
    RunHelpCommand(Handle(), HELP_QUIT, 0);
    if (!SavesSettings) {
        // Another copy's window keeps the rules, and saving here could overwrite what it saved since: what
        // was changed here is not saved, and the user is told rather than left to find it gone.
        if (RulesAndOptions() != loadedSettings_)
            ShowMessageBox(Handle(), kUnsavedChangesText, "Kelvaro", MB_OK | MB_ICONINFORMATION);
        return true;
    }
    Settings settings(*this);
    SaveSettings(*services_.settings, settings, settingsKey_);
    return true;
}

std::string TForm1::RulesAndOptions() const {
    std::string text;
    for (int row = 0; row < setupList_->RowCount(); ++row) {
        const RuleRow rule = Rule(row);
        text += rule.Caption;
        for (const std::string& cell : rule.SubItems) text += '\x1f' + cell;
        text += '\x1e';
    }
    for (bool flag : {confirmDelete_, useRecycleBin_, menu_->Checked(command::RunduringWin95Boot1),
                      menu_->Checked(command::Office97Buttons), menu_->Checked(command::SaveSettingsatExit1)})
        text += flag ? '1' : '0';
    return text;
}

void TForm1::OnClose() {
    switch (work_.CloseArrived()) {
        case CloseAction::Defer:
            return;
        case CloseAction::StopRun:
            EBAbortClick();
            return;
        case CloseAction::CloseNow:
            if (FormClose()) DestroyWindow(Handle());
            return;
    }
}

LRESULT TForm1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == StartedAgainMessage()) {
        startedAgain_ = true;
        return 0;
    }
    switch (message) {
        case WM_COMMAND:
            OnCommand(LOWORD(wParam));
            return 0;
        case WM_NOTIFY: {
            auto& header = *reinterpret_cast<NMHDR*>(lParam);
            LRESULT result = 0;
            // The rows keep their places while a delete is under way.
            if (!work_.ListsMayChange() && header.code == LVN_COLUMNCLICK) return 0;
            if (listView_ && header.hwndFrom == listView_->Handle()) selection_->Track(header);
            for (TCoolListView* list : {listView_.get(), setupList_.get()})
                if (list && header.hwndFrom == list->Handle() && list->HandleNotify(header, result))
                    return result;
            break;
        }
        case WM_SIZE:
            LayOut();
            return 0;
        case WM_GETMINMAXINFO: {
            RECT least{0, 0, kMinClientWidth, kMinClientHeight};
            AdjustWindowRectEx(&least, static_cast<DWORD>(GetWindowLongPtrA(Handle(), GWL_STYLE)), TRUE,
                               static_cast<DWORD>(GetWindowLongPtrA(Handle(), GWL_EXSTYLE)));
            auto& limits = *reinterpret_cast<MINMAXINFO*>(lParam);
            limits.ptMinTrackSize = {least.right - least.left, least.bottom - least.top};
            return 0;
        }
        case WM_SHOWWINDOW:
        case WM_WINDOWPOSCHANGED:
            // Shown minimised (as the start-up shortcut starts it), the window gets no WM_SHOWWINDOW.
            if (!shownOnce_ &&
                (message == WM_SHOWWINDOW
                     ? wParam != 0
                     : (reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_SHOWWINDOW) != 0)) {
                shownOnce_ = true;
                FormShow();
            }
            break;
        case WM_INITMENUPOPUP:
            // Nothing to save in setup mode, where the results list is out of sight, or from an empty list.
            menu_->SetEnabled(command::SaveListAs1, listView_->Visible() && listView_->RowCount() > 0);
            break;
        case WM_MENUSELECT:
            OnMenuSelect(wParam, lParam);
            return 0;
        case WM_SETCURSOR:
            OnSetCursor(reinterpret_cast<HWND>(wParam));
            break;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            FormKeyDown(wParam);
            break;
        case WM_CHAR:
            FormKeyPress(static_cast<char>(wParam));
            return 0;
        case WM_HELP:
            // F1, in the window or any of its controls: the help's contents, as Help > Contents opens it.
            Contents1Click();
            return TRUE;
        case WM_CLOSE:
            OnClose();
            return 0;
        case WM_DESTROY:
            // Closing the main window ends the program.
            PostQuitMessage(0);
            return 0;
    }
    return DefaultHandling(message, wParam, lParam);
}

}  // namespace kelvaro
