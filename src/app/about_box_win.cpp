#include "app/about_box_win.h"

#include <commctrl.h>

#include "app/about_box.h"
#include "ui/application.h"
#include "ui/child_window_win.h"
#include "ui/label_size_win.h"
#include "ui/message_box_win.h"
#include "ui/owners_win.h"
#include "widgets/clip_animation_win.h"

namespace kelvaro {
namespace {

constexpr int kLabelHeight = 13;
constexpr const char* kNotice = "A Tarnwell program, free to use and to pass on.";

// A 64-bit process may hold this many USER objects unless the machine sets another limit.
constexpr DWORD kDefaultUserObjectQuota = 10000;

DWORD UserObjectQuota() {
    DWORD quota = 0;
    DWORD size = sizeof quota;
    if (RegGetValueA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Windows",
                     "USERProcessHandleQuota", RRF_RT_REG_DWORD, nullptr, &quota, &size) != ERROR_SUCCESS ||
        quota == 0)
        return kDefaultUserObjectQuota;
    return quota;
}

}  // namespace

std::optional<unsigned> FreeUserResources() {
    // A 64-bit program has no way into the 16-bit USER heap that the figure once described; the nearest
    // measure is the share of this process's USER-object quota still unused. The function is looked up
    // by name so that a system without it gives the same report as one without the 16-bit function.
    HMODULE user = GetModuleHandleA("user32.dll");
    FARPROC found = user ? GetProcAddress(user, "GetGuiResources") : nullptr;
    if (!found) return std::nullopt;
    using GetGuiResourcesFunction = DWORD(WINAPI*)(HANDLE, DWORD);
    auto getGuiResources = reinterpret_cast<GetGuiResourcesFunction>(reinterpret_cast<void (*)()>(found));
    return PercentFree(getGuiResources(GetCurrentProcess(), GR_USEROBJECTS), UserObjectQuota());
}

TfrmAbout::TfrmAbout(HWND mainWindow) : mainWindow_(mainWindow), font_(CreateDialogFont()) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_ANIMATE_CLASS};
    InitCommonControlsEx(&controls);
    RegisterClassOnce(kClassName, nullptr);

    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    const DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
    CreateWithClientArea(kClassName, kDesignCaption, style, exStyle, 210, 121, kClientWidth, kClientHeight,
                         mainWindow);
    CreateControls();
    FormCreate();
}

TfrmAbout::~TfrmAbout() {
    // The controls go while the font they use still exists.
    if (Handle()) DestroyWindow(Handle());
}

HWND TfrmAbout::MakeLabel(const char* text, int x, int y, int id) {
    HWND label = CreateChild(Handle(), "STATIC", "", WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_NOPREFIX, 0, x, y, 0,
                             kLabelHeight, id, font_.Get());
    SetLabel(label, text);
    return label;
}

// Labels take the width of their text.
void TfrmAbout::SetLabel(HWND label, const std::string& text) {
    if (!label) return;
    SetWindowTextA(label, text.c_str());
    const SIZE size = LabelTextSize(label, font_.Get(), text, Ampersands::AsWritten);
    // A few pixels of room: the static control's own drawing runs slightly wider than the measure.
    SetWindowPos(label, nullptr, 0, 0, size.cx + 4, kLabelHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TfrmAbout::CreateControls() {
    // Made first, so it is first in the tab order.
    cmdOK_ = CreateChild(Handle(), "BUTTON", "OK", WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 254, 224,
                         75, 23, kCmdOKId, font_.Get());
    // The control's own timer keeps the drawing on this thread, so closing the box never races a
    // drawing thread.
    animate1_ = CreateChild(Handle(), ANIMATE_CLASSA, "", WS_VISIBLE | ACS_TRANSPARENT | ACS_TIMER, 0, 16, 16,
                            32, 32, kAnimate1Id, nullptr);
    lblApp_ = MakeLabel("Application", 77, 17, kLblAppId);
    MakeLabel("Windows 95", 77, 34, kLblWindowsId);
    MakeLabel(kNotice, 77, 51, kNoticeId);
    CreateChild(Handle(), "STATIC", "", WS_VISIBLE | SS_ETCHEDHORZ, 0, 77, 158, 250, 2, kBev1Id, nullptr);
    MakeLabel("Physical Memory Available to Windows:", 77, 169, kLblPhysId);
    lblPhysical_ = MakeLabel("", 272, 169, kLblPhysicalId);
    MakeLabel("System Resources:", 77, 190, kLblSysResId);
    lblResFree_ = MakeLabel("", 272, 190, kLblResFreeId);
}

void TfrmAbout::FormCreate() {
    if (!animate1_) return;
    animationOpen_ = OpenClip(animate1_);
    // Repeated for as long as the box is open.
    if (animationOpen_) SendMessageA(animate1_, ACM_PLAY, static_cast<WPARAM>(-1), MAKELPARAM(0, 0xFFFF));
}

void TfrmAbout::FormShow() {
    if (!CentreOver(mainWindow_)) {
        RECT workArea{};
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0);
        CentreWithin(workArea);
    }

    SetWindowTextA(Handle(), ("About " + kApplicationTitle).c_str());
    SetLabel(lblApp_, kApplicationTitle);

    // The extended record, since the plain one cannot describe more than 4 GB in a 32-bit field.
    MEMORYSTATUSEX memory{};
    memory.dwLength = sizeof memory;
    GlobalMemoryStatusEx(&memory);
    SetLabel(lblPhysical_, MemoryFigureText(memory.ullTotalPhys));

    std::optional<unsigned> freeShare = FreeUserResources();
    if (!freeShare) {
        ShowMessageBox(Handle(), kResourceFunctionMissing, kApplicationTitle, MB_OK);
        SetLabel(lblResFree_, "");
    } else {
        SetLabel(lblResFree_, ResourceFigureText(*freeShare));
    }
}

int TfrmAbout::ShowModal() {
    FormShow();
    return RunModal(mainWindow_, cmdOK_);
}

LRESULT TfrmAbout::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            // Esc comes as IDCANCEL and, as the box has no cancel button, does nothing.
            if (LOWORD(wParam) == kCmdOKId && HIWORD(wParam) == BN_CLICKED) EndModal(IDOK);
            return 0;
        case WM_CLOSE:
            EndModal(IDCANCEL);
            return 0;
        default:
            return DefaultHandling(message, wParam, lParam);
    }
}

void ShowAboutBox(HWND mainWindow) {
    TfrmAbout box(mainWindow);
    box.ShowModal();
}

}  // namespace kelvaro
