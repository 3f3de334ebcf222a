#include "app/about_box_win.h"

#include <commctrl.h>

#include "app/about_box.h"
#include "ui/application.h"
#include "ui/label_size_win.h"
#include "ui/message_box_win.h"
#include "ui/owners_win.h"
#include "ui/resource_ids.h"

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

HWND MakeChild(HWND parent, const char* className, const char* text, DWORD style, int x, int y, int width,
               int height, int id, HFONT font) {
    HWND child = CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height,
                                 parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 GetModuleHandleA(nullptr), nullptr);
    if (child && font) SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return child;
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
    if (!Handle()) return;
    CreateControls();
    FormCreate();
}

TfrmAbout::~TfrmAbout() {
    // The controls go while the font they use still exists.
    if (Handle()) DestroyWindow(Handle());
}

HWND TfrmAbout::MakeLabel(const char* text, int x, int y, int id) {
    HWND label = MakeChild(Handle(), "STATIC", "", SS_LEFTNOWORDWRAP | SS_NOPREFIX, x, y, 0, kLabelHeight, id,
                           font_.Get());
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
    cmdOK_ = MakeChild(Handle(), "BUTTON", "OK", WS_TABSTOP | BS_DEFPUSHBUTTON, 254, 224, 75, 23, kCmdOKId,
                       font_.Get());
    // The control's own timer keeps the drawing on this thread, so closing the box never races a
    // drawing thread.
    animate1_ = MakeChild(Handle(), ANIMATE_CLASSA, "", ACS_TRANSPARENT | ACS_TIMER, 16, 16, 32, 32,
                          kAnimate1Id, nullptr);
    lblApp_ = MakeLabel("Application", 77, 17, kLblAppId);
    MakeLabel("Windows 95", 77, 34, kLblWindowsId);
    MakeLabel(kNotice, 77, 51, kNoticeId);
    MakeChild(Handle(), "STATIC", "", SS_ETCHEDHORZ, 77, 158, 250, 2, kBev1Id, nullptr);
    MakeLabel("Physical Memory Available to Windows:", 77, 169, kLblPhysId);
    lblPhysical_ = MakeLabel("", 272, 169, kLblPhysicalId);
    MakeLabel("System Resources:", 77, 190, kLblSysResId);
    lblResFree_ = MakeLabel("", 272, 190, kLblResFreeId);
}

void TfrmAbout::FormCreate() {
    if (!animate1_) return;
    animationOpen_ = SendMessageA(animate1_, ACM_OPENA, reinterpret_cast<WPARAM>(GetModuleHandleA(nullptr)),
                                  reinterpret_cast<LPARAM>(MAKEINTRESOURCEA(IDA_SEARCH_CLIP))) != 0;
    // Repeated for as long as the box is open.
    if (animationOpen_) SendMessageA(animate1_, ACM_PLAY, static_cast<WPARAM>(-1), MAKELPARAM(0, 0xFFFF));
}

void TfrmAbout::FormShow() {
    RECT main{};
    if (!mainWindow_ || !GetWindowRect(mainWindow_, &main))
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &main, 0);
    RECT own{};
    GetWindowRect(Handle(), &own);
    const Origin origin = CentredOrigin(main.left, main.top, main.right - main.left, main.bottom - main.top,
                                        own.right - own.left, own.bottom - own.top);
    SetWindowPos(Handle(), nullptr, origin.left, origin.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

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
    if (!Handle()) return IDCANCEL;
    FormShow();
    const bool ownerWasEnabled = mainWindow_ && !EnableWindow(mainWindow_, FALSE);
    ShowWindow(Handle(), SW_SHOW);
    if (cmdOK_) SetFocus(cmdOK_);
    modalResult_ = 0;
    MSG message;
    while (!modalResult_ && Handle()) {
        BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got == -1) break;
        if (got == 0) {
            // Leave the quit for the program's own loop.
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (IsDialogMessageA(Handle(), &message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    // The owner is enabled before the box hides, so the activation goes back to it.
    if (ownerWasEnabled) EnableWindow(mainWindow_, TRUE);
    if (Handle()) ShowWindow(Handle(), SW_HIDE);
    return modalResult_ ? modalResult_ : IDCANCEL;
}

LRESULT TfrmAbout::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            // Esc comes as IDCANCEL and, as the box has no cancel button, does nothing.
            if (LOWORD(wParam) == kCmdOKId && HIWORD(wParam) == BN_CLICKED) modalResult_ = IDOK;
            return 0;
        case WM_CLOSE:
            modalResult_ = IDCANCEL;
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
