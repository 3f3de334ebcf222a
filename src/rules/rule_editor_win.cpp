#include "rules/rule_editor_win.h"

#include <commctrl.h>
#include <commdlg.h>

#include "base/errors.h"
#include "rules/rule_editor.h"
#include "ui/child_window_win.h"
#include "ui/guarded_call_win.h"
#include "ui/help_win.h"
#include "ui/label_size_win.h"
#include "ui/message_box_win.h"
#include "widgets/clip_animation_win.h"
#include "widgets/explorer_button_win.h"
#include "widgets/spin_field.h"
#include "widgets/spin_field_win.h"

namespace kelvaro {
namespace {

constexpr const char* kFolderTitle = "Kelvaro Folder Location";
constexpr const char* kOpenTitle = "Kelvaro Files";

OpenFileDialogFunction& OpenFileHook() {
    static OpenFileDialogFunction hook;
    return hook;
}

FolderDialogFunction& FolderHook() {
    static FolderDialogFunction hook;
    return hook;
}

bool RunOpenFileDialog(HWND owner, const std::string& initialFolder, std::string& chosenPath) {
    char file[MAX_PATH * 4] = {};
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = "All Files (*.*)\0*.*\0";
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file;
    dialog.nMaxFile = sizeof file;
    dialog.lpstrInitialDir = initialFolder.empty() ? nullptr : initialFolder.c_str();
    dialog.lpstrTitle = kOpenTitle;
    // Browsing moves the process's current folder along unless told not to, and a rule whose location is
    // relative would then search, and delete, somewhere else.
    dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_NOCHANGEDIR;
    if (!GetOpenFileNameA(&dialog)) return false;
    chosenPath = file;
    return true;
}

// A drop-down list's height is set once, with the box's, in pixels; its entries' height comes from the
// font. Sized from the font, the list shows all its entries without a scroll bar.
void DropAllEntries(HWND box) {
    if (!box) return;
    RECT field{};
    GetWindowRect(box, &field);
    const auto entries = SendMessageA(box, CB_GETCOUNT, 0, 0);
    const auto entryHeight = SendMessageA(box, CB_GETITEMHEIGHT, 0, 0);
    if (entries <= 0 || entryHeight <= 0) return;
    constexpr int kListBorders = 2;
    const int height = field.bottom - field.top + static_cast<int>(entries * entryHeight) + kListBorders;
    SetWindowPos(box, nullptr, 0, 0, field.right - field.left, height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

void SetOpenFileDialogFunction(OpenFileDialogFunction f) {
    OpenFileHook() = std::move(f);
}

void SetFolderDialogFunction(FolderDialogFunction f) {
    FolderHook() = std::move(f);
}

bool BrowseForFolder(HWND owner, TFolderBrowse& browse) {
    const FolderDialogFunction& hook = FolderHook();
    if (!hook) return browse.Execute(owner);
    std::string chosen;
    if (!hook(owner, browse.Directory, chosen)) return false;
    browse.Directory = chosen;
    return true;
}

bool ShowRuleEditor(RuleEditorHost& host) {
    TForm2 form(host);
    return form.ShowModal();
}

TForm2::TForm2(RuleEditorHost& host) : host_(host), font_(CreateDialogFont()) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_ANIMATE_CLASS | ICC_UPDOWN_CLASS | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    RegisterClassOnce(kClassName, nullptr);
    folderBrowse_.Title = kFolderTitle;

    // A tool window's caption bar without a system menu: no close, minimise or maximise boxes.
    const DWORD style = WS_POPUP | WS_CAPTION | WS_CLIPCHILDREN;
    const DWORD exStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_CONTROLPARENT;
    CreateWithClientArea(kClassName, kCaption, style, exStyle, 0, 0, kClientWidth, kClientHeight,
                         host_.Window());
    CreateControls();
}

TForm2::~TForm2() {
    tooltip_.Reset();
    // The children go first, while the buttons' objects still exist.
    if (Handle()) DestroyWindow(Handle());
}

TForm2* TForm2::FromHandle(HWND window) {
    char className[32] = {};
    if (!window || !GetClassNameA(window, className, sizeof className) ||
        std::string(className) != kClassName)
        return nullptr;
    return static_cast<TForm2*>(reinterpret_cast<kelvaro::Window*>(GetWindowLongPtrA(window, GWLP_USERDATA)));
}

HWND TForm2::AddControl(const char* className, const char* text, DWORD style, DWORD exStyle, int x, int y,
                        int width, int height, int id) {
    return CreateChild(Handle(), className, text, style, exStyle, x, y, width, height, id, font_.Get());
}

HWND TForm2::AddLabel(const char* text, int x, int y, int id, bool visible) {
    // A label is as large as its one line of text.
    const SIZE size = LabelTextSize(Handle(), font_.Get(), text, Ampersands::AsWritten);
    return AddControl("STATIC", text, SS_LEFT | SS_NOPREFIX | (visible ? WS_VISIBLE : 0), 0, x, y, size.cx,
                      size.cy, id);
}

void TForm2::CreateControls() {
    // Made in tab order; controls that take no focus follow.
    AddControl("BUTTON", "&Ok", WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 272, 152, 50, 20, kButton1Id);
    AddControl("BUTTON", "&Cancel", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 328, 152, 50, 20, kButton3Id);
    AddControl("EDIT", "", WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, 48, 24, 161, 21,
               kEditLocId);
    HWND editFile = AddControl("EDIT", "", WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, 48, 96,
                               161, 21, kEditFileId);
    if (editFile) SetWindowSubclass(editFile, EditProcedure, 1, reinterpret_cast<DWORD_PTR>(this));
    AddControl("BUTTON", "Include Subfolders", WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 0, 48, 48, 161, 17,
               kCBIncSubDirId);
    SetChecked(kCBIncSubDirId, true);
    const DWORD list = WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
    for (int id : {kCBAgeId, kCBSizeId}) {
        HWND box = AddControl("COMBOBOX", "", list | CBS_SORT, 0, 256, id == kCBAgeId ? 24 : 96, 121, 21, id);
        for (const char* entry : kComparisonEntries)
            SendMessageA(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
        DropAllEntries(box);
    }
    CreateSpinField(Handle(), 288, 48, 57, 22, kEditAgeId, font_.Get());
    CreateSpinField(Handle(), 256, 120, 57, 22, kEditSizeId, font_.Get());
    HWND unit = AddControl("COMBOBOX", "", (list & ~WS_VISIBLE), 0, 320, 120, 57, 21, kCBByteId);
    for (const char* entry : {"Bytes", "KBytes"})
        SendMessageA(unit, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
    DropAllEntries(unit);
    AddControl("BUTTON", "Include shortcuts to removable drives", WS_TABSTOP | BS_AUTOCHECKBOX, 0, 48, 120,
               201, 17, kLnkCBId);

    AddControl(ANIMATE_CLASSA, "", WS_VISIBLE | ACS_CENTER | ACS_TRANSPARENT, 0, 8, 16, 32, 32, kAnimate1Id);
    AddLabel("Location:", 48, 8, kLabel1Id, true);
    AddLabel("File or File Specification:", 48, 80, kLabel2Id, true);
    AddLabel("File Age:", 256, 8, kLabel3Id, true);
    AddLabel("Days", 352, 56, kLabel5Id, false);
    AddLabel("File Size:", 256, 80, kLabel4Id, true);

    auto hintOf = [this](int control) {
        return [this, control](const std::string& longHint) { ShowHint(control, longHint); };
    };
    explorerButton2_ = std::make_unique<TExplorerButton>(Handle(), kExplorerButton2Id, 216, 22,
                                                         TExplorerButton::Picture::Folder,
                                                         "Browse for location", hintOf(kExplorerButton2Id));
    explorerButton1_ = std::make_unique<TExplorerButton>(Handle(), kExplorerButton1Id, 216, 94,
                                                         TExplorerButton::Picture::File, "Browse for file",
                                                         hintOf(kExplorerButton1Id));

    tooltip_.Reset(CreateWindowExA(
        WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Handle(), nullptr, GetModuleHandleA(nullptr), nullptr));
    if (tooltip_) {
        for (TExplorerButton* button : {explorerButton1_.get(), explorerButton2_.get()}) {
            TOOLINFOA tool{};
            tool.cbSize = TTTOOLINFOA_V1_SIZE;
            tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
            tool.hwnd = Handle();
            tool.uId = reinterpret_cast<UINT_PTR>(button->Handle());
            tool.lpszText = const_cast<char*>("Browse");
            SendMessageA(tooltip_.Get(), TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
        }
    }
    OpenAnimation();
}

void TForm2::OpenAnimation() {
    animationOpen_ = OpenClip(Control(kAnimate1Id));
}

bool TForm2::BrowseButtonsFlat() const {
    return explorerButton1_ && explorerButton1_->Flat() && explorerButton2_ && explorerButton2_->Flat();
}

bool TForm2::ShowModal() {
    FormShow();
    return RunModal(host_.Window(), Control(kButton1Id)) == IDOK;
}

void TForm2::FormShow() {
    CentreOver(host_.Window());
    const bool flat = host_.Office97Tick();
    explorerButton1_->SetFlat(flat);
    explorerButton2_->SetFlat(flat);
    if (animationOpen_)
        SendMessageA(Control(kAnimate1Id), ACM_PLAY, static_cast<WPARAM>(-1), MAKELPARAM(0, 0xFFFF));

    // From code: the change handlers do not run.
    Select(kCBAgeId, kNoComparisonPosition);
    Select(kCBSizeId, kNoComparisonPosition);
    Select(kCBByteId, 0);
    if (host_.AddingRule() || !host_.HasSelectedRule()) return;

    RuleValues values;
    try {
        DecodeRuleForEditing(host_.FirstSelectedRule(), values);
    } catch (const EConvertError& error) {
        // What was decoded before the bad number is shown; the fields after it keep their design state.
        Fill(values);
        ShowExceptionBox(Handle(), error);
        return;
    }
    Fill(values);
}

void TForm2::Fill(const RuleValues& values) {
    SetControlText(kEditLocId, values.Location);
    SetControlText(kEditFileId, values.FileSpecs);  // runs EditFileChange
    SetChecked(kCBIncSubDirId, values.IncludeSubfolders);
    SetChecked(kLnkCBId, values.RemovableDrives);

    Select(kCBAgeId, values.AgePosition);
    if (values.AgePosition != kNoComparisonPosition) {
        ShowControl(kEditAgeId, true);
        ShowControl(kLabel5Id, true);
        SetControlText(kEditAgeId, std::to_string(values.AgeDays));
    }
    Select(kCBSizeId, values.SizePosition);
    if (values.SizePosition != kNoComparisonPosition) {
        ShowControl(kCBByteId, true);
        ShowControl(kEditSizeId, true);
        Select(kCBByteId, values.SizeUnit == "KBytes" ? 1 : 0);
        SetControlText(kEditSizeId, std::to_string(values.SizeNumber));
    }
}

void TForm2::CBAgeChange() {
    const bool shown = Selection(kCBAgeId) != kNoComparisonPosition;
    ShowControl(kEditAgeId, shown);
    ShowControl(kLabel5Id, shown);
}

void TForm2::CBSizeChange() {
    const bool shown = Selection(kCBSizeId) != kNoComparisonPosition;
    ShowControl(kEditSizeId, shown);
    ShowControl(kCBByteId, shown);
}

void TForm2::EditAgeChange() {
    SpinFieldChanged(Control(kEditAgeId));
}

void TForm2::EditSizeChange() {
    SpinFieldChanged(Control(kEditSizeId));
}

void TForm2::EditFileChange() {
    ShowControl(kLnkCBId, ShortcutBoxVisible(ControlText(kEditFileId)));
}

void TForm2::ExplorerButton1Click() {
    const std::string location = ControlText(kEditLocId);
    if (!location.empty()) openInitialFolder_ = location;
    std::string chosen;
    const OpenFileDialogFunction& hook = OpenFileHook();
    const bool picked = hook ? hook(Handle(), openInitialFolder_, chosen)
                             : RunOpenFileDialog(Handle(), openInitialFolder_, chosen);
    if (!picked) return;
    const FolderAndName parts = SplitChosenPath(chosen);
    SetControlText(kEditLocId, parts.Folder);
    SetControlText(kEditFileId, parts.Name);
}

void TForm2::ExplorerButton2Click() {
    if (BrowseForFolder(Handle(), folderBrowse_)) SetControlText(kEditLocId, folderBrowse_.Directory);
}

void TForm2::Button1Click() {
    if (ControlText(kEditLocId).empty()) SetControlText(kEditLocId, LocationForSaving(""));

    RuleValues values;
    values.Location = ControlText(kEditLocId);
    values.FileSpecs = ControlText(kEditFileId);
    values.AgePosition = Selection(kCBAgeId);
    if (ComparisonKind(values.AgePosition) != fctNone)
        values.AgeDays = SpinFieldValue(ControlText(kEditAgeId));
    values.SizePosition = Selection(kCBSizeId);
    if (ComparisonKind(values.SizePosition) != fctNone)
        values.SizeNumber = SpinFieldValue(ControlText(kEditSizeId));
    values.SizeUnit = ControlText(kCBByteId);
    values.IncludeSubfolders = Checked(kCBIncSubDirId);
    // Taken even while the box is hidden.
    values.RemovableDrives = Checked(kLnkCBId);

    const RuleRow row = EncodeRule(values);
    if (host_.AddingRule())
        host_.AppendRule(row);
    else if (host_.HasSelectedRule())
        host_.ReplaceFirstSelectedRule(row);
    EndModal(IDOK);
}

void TForm2::Button3Click() {
    EndModal(IDCANCEL);
}

void TForm2::OnCommand(int id, int code) {
    switch (id) {
        case kButton1Id:
            Button1Click();
            break;
        case kButton3Id:
            Button3Click();
            break;
        case kExplorerButton1Id:
            ExplorerButton1Click();
            break;
        case kExplorerButton2Id:
            ExplorerButton2Click();
            break;
        case kEditFileId:
            if (code == EN_CHANGE) EditFileChange();
            break;
        case kEditAgeId:
            if (code == EN_CHANGE) EditAgeChange();
            break;
        case kEditSizeId:
            if (code == EN_CHANGE) EditSizeChange();
            break;
        case kCBAgeId:
            if (code == CBN_SELCHANGE) CBAgeChange();
            break;
        case kCBSizeId:
            if (code == CBN_SELCHANGE) CBSizeChange();
            break;
        default:
            break;  // IDCANCEL from Esc among them: Cancel is not bound to it
    }
}

LRESULT TForm2::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case DM_GETDEFID: {
            // Enter presses the focused push button, or "&Ok" when the focus is elsewhere.
            const bool onCancel = GetFocus() == Control(kButton3Id);
            return MAKELONG(onCancel ? kButton3Id : kButton1Id, DC_HASDEFID);
        }
        case WM_HELP:
            // F1: the topic about rules, opened for the main window, whose close ends the help. Left to the
            // default, the message would reach the main window and open the contents.
            RunHelpCommand(host_.Window(), HELP_CONTEXT, help_topic::kRules);
            return TRUE;
        case WM_CLOSE:
            // Only Alt+F4 gets here: the caption has no close box.
            Button3Click();
            return 0;
    }
    return DefaultHandling(message, wParam, lParam);
}

LRESULT CALLBACK TForm2::EditProcedure(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                       DWORD_PTR data) {
    auto* self = reinterpret_cast<TForm2*>(data);
    return GuardedCall(
        self->Handle(), [&] { return self->EditMessage(edit, message, wParam, lParam); }, LRESULT{0});
}

// The system notices the mouse leaving a control late, often after the next control has shown its
// hint: a control's leaving clears the status line only while it shows that control's hint.
void TForm2::ShowHint(int control, const std::string& hint) {
    if (hint.empty() && control != hintControl_) return;
    hintControl_ = hint.empty() ? 0 : control;
    host_.DisplayHint(hint);
}

LRESULT TForm2::EditMessage(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_MOUSEMOVE:
            if (!editFileHot_) {
                editFileHot_ = true;
                TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, edit, 0};
                TrackMouseEvent(&track);
                ShowHint(kEditFileId, "File Spec is *.*, *.~*, *.dat, etc...");
            }
            break;
        case WM_MOUSELEAVE:
            editFileHot_ = false;
            ShowHint(kEditFileId, "");
            break;
        case WM_NCDESTROY:
            RemoveWindowSubclass(edit, EditProcedure, 1);
            break;
    }
    return DefSubclassProc(edit, message, wParam, lParam);
}

}  // namespace kelvaro
