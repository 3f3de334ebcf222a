// Closes Kelvaro's main window through its close box as soon as its progress dialog shows, that is
// while a run is under way, and reports how long the process took to end after that:
//   close_during_run.exe
// Exit code 0: it ended within a second; 1: it ended later; 2: no run was seen; 3: it did not end.
#include <windows.h>

#include <cstdio>

int main() {
    HWND progress = nullptr;
    for (DWORD start = GetTickCount(); !progress && GetTickCount() - start < 60000; Sleep(5)) {
        HWND found = FindWindowA("TForm3", nullptr);
        if (found && IsWindowVisible(found)) progress = found;
    }
    if (!progress) return 2;
    HWND mainWindow = GetWindow(progress, GW_OWNER);
    DWORD processId = 0;
    GetWindowThreadProcessId(mainWindow, &processId);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
    if (!process) return 3;
    const DWORD closedAt = GetTickCount();
    PostMessageA(mainWindow, WM_SYSCOMMAND, SC_CLOSE, 0);
    const DWORD waited = WaitForSingleObject(process, 30000);
    const DWORD elapsed = GetTickCount() - closedAt;
    CloseHandle(process);
    std::printf("ended %lu ms after the close\n", static_cast<unsigned long>(elapsed));
    if (waited != WAIT_OBJECT_0) return 3;
    return elapsed < 1000 ? 0 : 1;
}
