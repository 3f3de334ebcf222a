#include "run/question_decliner_win.h"

namespace kelvaro {

thread_local QuestionDecliner* QuestionDecliner::active = nullptr;

QuestionDecliner::QuestionDecliner() {
    active = this;
    hook_ = SetWindowsHookExA(WH_CALLWNDPROCRET, Watch, nullptr, GetCurrentThreadId());
}

QuestionDecliner::~QuestionDecliner() {
    if (hook_) UnhookWindowsHookEx(hook_);
    active = nullptr;
}

LRESULT CALLBACK QuestionDecliner::Watch(int code, WPARAM wParam, LPARAM lParam) {
    const auto& call = *reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    // Ending a dialog while it initialises ends it before its modal loop starts.
    if (code == HC_ACTION && call.message == WM_INITDIALOG && active && GetDlgItem(call.hwnd, IDNO)) {
        EndDialog(call.hwnd, IDNO);
        active->declined_ = true;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace kelvaro
