// Answers the box Kelvaro raises under its own caption: the question before an unusually large automatic
// run with No, an error box with OK. Prints the box's text and buttons, and closes the main window it
// leaves open after saying how many rows its results list shows:
//   answer_guard.exe
// Exit code 0: the box was answered and the window closed; 2: no box came; 3: the window stayed.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>

#include "kelvaro_box_win.h"

int main() {
    HWND question = kelvaro::e2e::WaitForKelvaroBox(90000);
    if (!question) return 2;
    char text[1024] = {};
    GetDlgItemTextA(question, 0xFFFF, text, sizeof text);  // the box's message text
    std::printf("question: %s\n", text);
    const bool asks = GetDlgItem(question, IDNO) != nullptr;
    std::printf("buttons: %s\n", asks ? "Yes No" : GetDlgItem(question, IDOK) ? "OK" : "other");
    HWND mainWindow = FindWindowA("TForm1", nullptr);
    auto shown = [&] { return IsWindowVisible(mainWindow) && !IsIconic(mainWindow) ? "shown" : "hidden"; };
    std::printf("while asking: window %s\n", shown());
    PostMessageA(question, WM_COMMAND, asks ? IDNO : IDOK, 0);
    Sleep(500);
    HWND results = GetDlgItem(mainWindow, 301);
    std::printf("after %s: rows: %ld, window %s\n", asks ? "No" : "OK",
                static_cast<long>(SendMessageA(results, LVM_GETITEMCOUNT, 0, 0)), shown());
    DWORD processId = 0;
    GetWindowThreadProcessId(mainWindow, &processId);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
    PostMessageA(mainWindow, WM_CLOSE, 0, 0);
    const DWORD waited = process ? WaitForSingleObject(process, 30000) : WAIT_FAILED;
    if (process) CloseHandle(process);
    return waited == WAIT_OBJECT_0 ? 0 : 3;
}
