// What the end-to-end tests ask of a running Kelvaro and its shortcuts, one question a call:
//   drive_program.exe read LNK         prints the shortcut's target, arguments and working folder
//   drive_program.exe open LNK         opens the shortcut as the shell does; waits for the main window
//   drive_program.exe command ID       clicks the menu item ID of the running Kelvaro's main window
//   drive_program.exe help-caption     waits for the help window and prints its caption
//   drive_program.exe close [PID]      closes Kelvaro (the copy of process PID) through its close box; waits
//                                      for it to end
//   drive_program.exe windows          prints a line per Kelvaro main window: its process id, "minimised" or
//                                      "shown", and "front" when it or a box of its own is the foreground
//   drive_program.exe minimise         minimises the main window
//   drive_program.exe add-rule DIR SPEC  adds a rule through the rule editor of the running Kelvaro
//   drive_program.exe version EXE      prints the file version and product version the program carries
//   drive_program.exe answer BUTTON    waits for a box under Kelvaro's caption, prints its text and buttons,
//                                      and presses BUTTON (yes, no or ok; none leaves it asking)
// Exit code 0 when it did what was asked, 1 otherwise.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "kelvaro_box_win.h"

namespace {

HWND WaitForWindow(const char* windowClass, DWORD milliseconds) {
    for (DWORD start = GetTickCount(); GetTickCount() - start < milliseconds; Sleep(100))
        if (HWND found = FindWindowA(windowClass, nullptr); found && IsWindowVisible(found)) return found;
    return nullptr;
}

HWND MainWindow() {
    return WaitForWindow("TForm1", 30000);
}

struct MainWindows {
    DWORD processId = 0;  // 0: any
    std::vector<HWND> found;
};

BOOL CALLBACK CollectMainWindow(HWND window, LPARAM data) {
    auto& windows = *reinterpret_cast<MainWindows*>(data);
    char kind[16] = {};
    GetClassNameA(window, kind, sizeof kind);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (lstrcmpA(kind, "TForm1") == 0 && IsWindowVisible(window) &&
        (windows.processId == 0 || windows.processId == processId))
        windows.found.push_back(window);
    return TRUE;
}

std::vector<HWND> MainWindowsOf(DWORD processId) {
    MainWindows windows{processId, {}};
    EnumWindows(CollectMainWindow, reinterpret_cast<LPARAM>(&windows));
    return windows.found;
}

int ListWindows() {
    HWND front = GetForegroundWindow();
    for (HWND window : MainWindowsOf(0)) {
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        const bool inFront = front && (front == window || GetWindow(front, GW_OWNER) == window);
        std::printf("%lu %s%s\n", static_cast<unsigned long>(processId),
                    IsIconic(window) ? "minimised" : "shown", inFront ? " front" : "");
    }
    return 0;
}

// The rule editor opened from the menu, its folder and file specification typed, and Ok pressed.
int AddRule(const wchar_t* folder, const wchar_t* spec) {
    HWND window = MainWindow();
    if (!window) return 1;
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(202, 0), 0);  // File > Add
    HWND editor = WaitForWindow("TForm2", 10000);
    if (!editor) return 1;
    SetDlgItemTextW(editor, 10, folder);
    SetDlgItemTextW(editor, 11, spec);
    PostMessageA(editor, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    for (int wait = 0; wait < 100 && IsWindow(editor); ++wait) Sleep(50);
    return IsWindow(editor) ? 1 : 0;
}

int ReadShortcut(const wchar_t* path) {
    IShellLinkW* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&link))))
        return 1;
    IPersistFile* file = nullptr;
    int result = 1;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        wchar_t target[MAX_PATH] = {}, arguments[MAX_PATH] = {}, folder[MAX_PATH] = {};
        if (SUCCEEDED(file->Load(path, STGM_READ)) &&
            SUCCEEDED(link->GetPath(target, MAX_PATH, nullptr, 0))) {
            link->GetArguments(arguments, MAX_PATH);
            link->GetWorkingDirectory(folder, MAX_PATH);
            std::printf("target=%ls\narguments=%ls\nfolder=%ls\n", target, arguments, folder);
            result = 0;
        }
        file->Release();
    }
    link->Release();
    return result;
}

int Command(int id) {
    HWND window = MainWindow();
    if (!window) return 1;
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, 0), 0);
    // Done when the window has handled it and everything before it.
    DWORD_PTR unused = 0;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &unused) ? 0 : 1;
}

int PrintVersion(const wchar_t* path) {
    DWORD unused = 0;
    const DWORD size = GetFileVersionInfoSizeW(path, &unused);
    std::string data(size, '\0');
    if (size == 0 || !GetFileVersionInfoW(path, 0, size, data.data())) return 1;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    wchar_t* text = nullptr;
    if (!VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) ||
        !VerQueryValueW(data.data(), L"\\StringFileInfo\\040904E4\\FileVersion",
                        reinterpret_cast<void**>(&text), &length))
        return 1;
    std::printf("%lu.%lu.%lu %ls\n", static_cast<unsigned long>(HIWORD(fixed->dwFileVersionMS)),
                static_cast<unsigned long>(LOWORD(fixed->dwFileVersionMS)),
                static_cast<unsigned long>(HIWORD(fixed->dwFileVersionLS)), text);
    return 0;
}

int Answer(const std::wstring& button) {
    HWND box = kelvaro::e2e::WaitForKelvaroBox(120000);
    if (!box) return 1;
    char text[4096] = {};
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);  // the box's message text
    std::printf("%s\n", text);
    std::printf("buttons:%s%s%s\n", GetDlgItem(box, IDYES) ? " Yes" : "", GetDlgItem(box, IDNO) ? " No" : "",
                GetDlgItem(box, IDOK) ? " OK" : "");
    if (button == L"none") return 0;
    const int id = button == L"yes" ? IDYES : button == L"no" ? IDNO : IDOK;
    if (!GetDlgItem(box, id)) return 1;
    PostMessageA(box, WM_COMMAND, id, 0);
    for (int wait = 0; wait < 100 && IsWindow(box); ++wait) Sleep(50);
    return IsWindow(box) ? 1 : 0;
}

int Close(DWORD ofProcess) {
    HWND window = ofProcess == 0 ? MainWindow() : nullptr;
    if (ofProcess != 0)
        if (const std::vector<HWND> windows = MainWindowsOf(ofProcess); !windows.empty()) window = windows[0];
    if (!window) return 1;
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
    PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    const bool ended = process && WaitForSingleObject(process, 30000) == WAIT_OBJECT_0;
    if (process) CloseHandle(process);
    return ended ? 0 : 1;
}

}  // namespace

int main() {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc < 2) return 1;
    CoInitialize(nullptr);
    const std::wstring what = argv[1];
    if (what == L"read" && argc > 2) return ReadShortcut(argv[2]);
    if (what == L"open" && argc > 2) {
        if (reinterpret_cast<INT_PTR>(
                ShellExecuteW(nullptr, L"open", argv[2], nullptr, nullptr, SW_SHOWNORMAL)) <= 32)
            return 1;
        return MainWindow() ? 0 : 1;
    }
    if (what == L"command" && argc > 2) return Command(static_cast<int>(std::wcstol(argv[2], nullptr, 10)));
    if (what == L"help-caption") {
        HWND help = WaitForWindow("MS_WINHELP", 30000);
        if (!help) return 1;
        char caption[256] = {};
        // The caption becomes the help file's title once the file is loaded.
        for (int wait = 0; wait < 50 && std::string(caption).find("Kelvaro") == std::string::npos; ++wait) {
            GetWindowTextA(help, caption, sizeof caption);
            Sleep(100);
        }
        std::printf("%s\n", caption);
        PostMessageA(help, WM_CLOSE, 0, 0);
        return 0;
    }
    if (what == L"close") return Close(argc > 2 ? static_cast<DWORD>(std::wcstoul(argv[2], nullptr, 10)) : 0);
    if (what == L"windows") return ListWindows();
    if (what == L"minimise") {
        HWND window = MainWindow();
        if (!window) return 1;
        ShowWindow(window, SW_MINIMIZE);
        return 0;
    }
    if (what == L"add-rule" && argc > 3) return AddRule(argv[2], argv[3]);
    if (what == L"version" && argc > 2) return PrintVersion(argv[2]);
    if (what == L"answer" && argc > 2) return Answer(argv[2]);
    return 1;
}
