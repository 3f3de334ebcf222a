#include "app/progress_dialog_win.h"

#include <commctrl.h>

#include <cctype>

#include "ui/centring.h"
#include "ui/child_window_win.h"
#include "ui/guarded_call_win.h"
#include "ui/label_size_win.h"
#include "ui/owners_win.h"
#include "ui/window_text_win.h"
#include "widgets/clip_animation_win.h"

namespace kelvaro {
namespace {

// The platform's find-file clip in shell32; the program's own (IDA_SEARCH_CLIP) stands in when it is
// missing, does not move or is larger than the box (some systems ship a still placeholder picture).
constexpr int kFindFileClip = 151;
constexpr int kAnimationWidth = 48;
constexpr int kAnimationHeight = 50;
constexpr int kLastFrame = 23;

constexpr char kStopMnemonic = 'S';  // "&Stop"
constexpr char kEscape = 27;

// The outer bounds the main window has, or would have if it were not minimised: a run started with
// the program minimised still centres its window where the main window will appear.
RECT MainWindowBounds(HWND mainWindow) {
    RECT bounds{};
    WINDOWPLACEMENT placement{sizeof placement};
    if (IsIconic(mainWindow) && GetWindowPlacement(mainWindow, &placement))
        bounds = placement.rcNormalPosition;
    else
        GetWindowRect(mainWindow, &bounds);
    return bounds;
}

}  // namespace

TForm3::TForm3(HWND mainWindow, std::function<void()> onAbort, ProgressKind kind)
    : mainWindow_(mainWindow),
      onAbort_(std::move(onAbort)),
      kind_(kind),
      font_(CreateDialogFont()),
      boldFont_(CreateDialogFont(FW_BOLD)) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_ANIMATE_CLASS | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    // A class of its own, so that whoever looks for the search's window by its class never finds this one.
    const char* className = kind == ProgressKind::Delete ? kDeleteClassName : kClassName;
    RegisterClassOnce(className, nullptr);

    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    const DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
    CreateWithClientArea(className, kCaption, style, exStyle, 0, 0, kClientWidth,
                         kind == ProgressKind::Delete ? kDeleteClientHeight : kClientHeight, mainWindow);
    CreateControls();
}

TForm3::~TForm3() {
    // Destroy the window while this object is whole: the button's procedure still points here.
    if (Handle()) DestroyWindow(Handle());
}

void TForm3::CreateControls() {
    HWND form = Handle();
    const bool deleting = kind_ == ProgressKind::Delete;
    // Made first, so it is first in the tab order.
    button1_ = CreateChild(form, "BUTTON", "&Stop", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 336,
                           deleting ? 76 : 48, 75, 25, kButton1Id, font_.Get());
    if (button1_) {
        SetWindowLongPtrA(button1_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        button1Default_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(button1_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Button1Procedure)));
    }
    // A delete shows no animation: its lines start where the animation would be, above the bar.
    if (!deleting)
        animate1_ = CreateChild(form, ANIMATE_CLASSA, "", WS_VISIBLE | ACS_CENTER | ACS_TRANSPARENT, 0, 8, 8,
                                kAnimationWidth, kAnimationHeight, 0, nullptr);
    const int shift = deleting ? 56 : 0;
    label1_ = CreateChild(form, "STATIC", "Status:", WS_VISIBLE | SS_RIGHT, 0, 64 - shift, 16, 41, 13, 0,
                          boldFont_.Get());
    label3_ = CreateChild(form, "STATIC", "", WS_VISIBLE | SS_LEFTNOWORDWRAP, 0, 112 - shift, 16, 0, 13, 0,
                          font_.Get());
    label2_ = CreateChild(form, "STATIC", deleting ? "File:" : "Found:", WS_VISIBLE | SS_RIGHT, 0, 65 - shift,
                          32, 40, 13, 0, boldFont_.Get());
    status_ = std::make_unique<TFileLabel>(form, 112 - shift, 32, 297 + shift, 13);
    if (deleting)
        progressBar_ =
            CreateChild(form, PROGRESS_CLASSA, "", WS_VISIBLE, 0, 8, 54, kClientWidth - 16, 14, 0, nullptr);
    status_->SetFont(font_.Get());
    status_->SetDirection(drFromLeft);
    status_->SetSeparator("\\");
    SetSearchText("");
    OpenAnimation();
}

void TForm3::OpenAnimation() {
    if (!animate1_) return;
    shell32_.reset(LoadLibraryA("shell32.dll"));
    if (shell32_ && ClipFitsBox(shell32_.get(), kFindFileClip, kAnimationWidth, kAnimationHeight))
        animationOpen_ = OpenClip(animate1_, kFindFileClip, shell32_.get());
    if (animationOpen_) return;
    animationOpen_ = OpenClip(animate1_);
    playsOwnClip_ = animationOpen_;
}

void TForm3::PlayAnimation() {
    if (!animationOpen_) return;
    // Repeated without end; a clip shorter than the range plays to its own last frame (0xFFFF).
    const WPARAM forever = static_cast<WPARAM>(-1);
    if (!SendMessageA(animate1_, ACM_PLAY, forever, MAKELPARAM(0, kLastFrame)))
        SendMessageA(animate1_, ACM_PLAY, forever, MAKELPARAM(0, 0xFFFF));
}

void TForm3::FormShow() {
    if (!mainWindow_ || !IsWindow(mainWindow_)) return;
    RECT main = MainWindowBounds(mainWindow_);
    RECT own{};
    GetWindowRect(Handle(), &own);
    SetWindowPos(Handle(), nullptr, CentredOrigin(main.left, main.right - main.left, own.right - own.left),
                 CentredOrigin(main.top, main.bottom - main.top, own.bottom - own.top), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm3::Show() {
    if (!Handle()) return;
    FormShow();
    ShowWindow(Handle(), SW_SHOW);
    PlayAnimation();
    if (button1_) SetFocus(button1_);
}

void TForm3::Hide() {
    if (!Handle()) return;
    if (animationOpen_) SendMessageA(animate1_, ACM_STOP, 0, 0);
    ShowWindow(Handle(), SW_HIDE);
}

bool TForm3::Visible() const {
    return Handle() && IsWindowVisible(Handle());
}

void TForm3::SetSearchText(const std::string& text) {
    if (!label3_) return;
    SetWindowTextA(label3_, text.c_str());
    // Sized as a label sizes itself: one line of its text, or of a blank when it has none.
    const std::string measured = text.empty() ? " " : text;
    const SIZE size = LabelTextSize(label3_, font_.Get(), measured, Ampersands::Prefix);
    SetWindowPos(label3_, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::string TForm3::SearchText() const {
    if (!label3_) return {};
    return WindowText(label3_);
}

void TForm3::SetProgress(int tried, int total) {
    if (!progressBar_) return;
    SendMessageA(progressBar_, PBM_SETRANGE32, 0, total);
    SendMessageA(progressBar_, PBM_SETPOS, static_cast<WPARAM>(tried), 0);
}

void TForm3::RepaintNow() {
    if (!Handle()) return;
    status_->Repaint();
    RedrawWindow(label3_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void TForm3::Button1Click() {
    if (onAbort_) onAbort_();
}

bool TForm3::FormKeyPress(char key) {
    if (key != kEscape) return false;
    Button1Click();
    return true;
}

bool TForm3::IsStopMnemonic(WPARAM character) const {
    return character < 256 && std::toupper(static_cast<int>(character)) == kStopMnemonic;
}

// Without a dialog manager in the message loop, the button does not see Esc, Enter or its Alt key
// for what they mean in a dialog; this gives them that meaning while it has the focus.
LRESULT CALLBACK TForm3::Button1Procedure(HWND button, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<TForm3*>(GetWindowLongPtrA(button, GWLP_USERDATA));
    return GuardedCall(
        self->Handle(), [&] { return self->Button1Message(button, message, wParam, lParam); }, LRESULT{0});
}

LRESULT TForm3::Button1Message(HWND button, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CHAR:
            if (FormKeyPress(static_cast<char>(wParam))) return 0;
            break;
        case WM_KEYDOWN:
            if (wParam == VK_RETURN) {
                Button1Click();
                return 0;
            }
            break;
        case WM_SYSCHAR:
            if (IsStopMnemonic(wParam)) {
                Button1Click();
                return 0;
            }
            break;
    }
    return CallWindowProcA(button1Default_, button, message, wParam, lParam);
}

LRESULT TForm3::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (LOWORD(wParam) == kButton1Id && HIWORD(wParam) == BN_CLICKED) {
                Button1Click();
                return 0;
            }
            break;
        case WM_CHAR:
            if (FormKeyPress(static_cast<char>(wParam))) return 0;
            break;
        case WM_SYSCHAR:
            if (IsStopMnemonic(wParam)) {
                Button1Click();
                return 0;
            }
            break;
        case WM_ACTIVATE:
            // The Stop button is the only control that takes the focus; give it back on return.
            if (LOWORD(wParam) != WA_INACTIVE && button1_) {
                SetFocus(button1_);
                return 0;
            }
            break;
        case WM_SETFOCUS:
            if (button1_) SetFocus(button1_);
            return 0;
        case WM_CTLCOLORSTATIC: {
            const auto control = reinterpret_cast<HWND>(lParam);
            const bool black = control == label1_ || control == label2_;
            SetTextColor(reinterpret_cast<HDC>(wParam), black ? RGB(0, 0, 0) : GetSysColor(COLOR_WINDOWTEXT));
            SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_BTNFACE));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        }
        case WM_CLOSE:
            // The close box is Stop, for a search as for a delete: hiding the window would leave the work
            // going on with its Stop button out of reach. The work hides the window when it ends.
            Button1Click();
            return 0;
    }
    return DefaultHandling(message, wParam, lParam);
}

}  // namespace kelvaro
