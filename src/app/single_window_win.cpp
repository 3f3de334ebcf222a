#include "app/single_window_win.h"

#include <string>

#include "app/main_window_win.h"

namespace kelvaro {
namespace {

constexpr const char* kOwnerProperty = "Kelvaro.MainWindowOwner";

// "Local\" keeps it to the logon session; the user's name keeps apart users who share one (run as).
std::string MutexName() {
    char user[256] = {};
    DWORD size = sizeof user;
    if (!GetUserNameA(user, &size)) user[0] = '\0';
    std::string name = "Local\\Kelvaro.MainWindow.";
    for (const char* c = user; *c; ++c) name += *c == '\\' ? '_' : *c;
    return name;
}

BOOL CALLBACK FindOwnerWindow(HWND window, LPARAM found) {
    char kind[16] = {};
    GetClassNameA(window, kind, sizeof kind);
    if (lstrcmpA(kind, TForm1::kClassName) != 0 || !GetPropA(window, kOwnerProperty)) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

}  // namespace

WindowOwnership::WindowOwnership() {
    mutex_ = CreateMutexA(nullptr, FALSE, MutexName().c_str());
    if (!mutex_) {
        // Made by a copy running with other rights (started by setup as administrator): it is there and
        // held. Any other failure tells nothing, and the program runs as it would without the mutex.
        owned_ = GetLastError() != ERROR_ACCESS_DENIED;
        return;
    }
    // An abandoned mutex is a copy that ended without releasing it: free.
    const DWORD taken = WaitForSingleObject(mutex_, 0);
    owned_ = taken == WAIT_OBJECT_0 || taken == WAIT_ABANDONED;
}

WindowOwnership::~WindowOwnership() {
    if (!mutex_) return;
    if (owned_) ReleaseMutex(mutex_);
    CloseHandle(mutex_);
}

void WindowOwnership::Mark(HWND window) const {
    if (owned_ && mutex_) SetPropA(window, kOwnerProperty, reinterpret_cast<HANDLE>(1));
}

bool WindowOwnership::BringOwnerToFront(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    for (;;) {
        HWND owner = nullptr;
        EnumWindows(FindOwnerWindow, reinterpret_cast<LPARAM>(&owner));
        if (owner) {
            PostMessageA(owner, StartedAgainMessage(), 0, 0);
            // Asynchronously: a window busy with a delete must not hold this start up.
            if (IsIconic(owner)) ShowWindowAsync(owner, SW_RESTORE);
            // A box the window is asking stays in front of it.
            SetForegroundWindow(GetLastActivePopup(owner));
            return true;
        }
        // Still making its window, or ending after its window has gone: in the second case, this start is
        // the window now.
        const DWORD waited = mutex_ ? WaitForSingleObject(mutex_, 100) : (Sleep(100), WAIT_TIMEOUT);
        if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED) {
            owned_ = true;
            return false;
        }
        if (GetTickCount() - start >= milliseconds) return false;
    }
}

UINT StartedAgainMessage() {
    static const UINT message = RegisterWindowMessageA("Kelvaro.StartedAgain");
    return message;
}

}  // namespace kelvaro
