// Drives a running Kelvaro's results list from outside and times what a user waits for, one step a call.
// Each step prints "STEP SECONDS" and exits 0, or exits 1 when the window is not found or a wait runs out:
//   start ROWS     clicks Start; seconds until the list holds ROWS rows and the window answers
//   click COLUMN   clicks the header of that column; seconds until the window answers again
//   selectall      presses Ctrl+A in the list; seconds until the window answers again
//   scroll         pages down the list 20 times; seconds until the window answers again
//   close          closes the window; seconds until the process is gone
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr int kStartCommand = 107;  // the Start button's command
constexpr int kResultsList = 301;   // the results list's control id

double Now() {
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

HWND MainWindow() {
    for (DWORD start = GetTickCount(); GetTickCount() - start < 60000; Sleep(100))
        if (HWND found = FindWindowA("TForm1", nullptr); found && IsWindowVisible(found)) return found;
    return nullptr;
}

// Returns once the window has handled everything sent before; false when it stays busy for ten minutes.
bool Answers(HWND window) {
    DWORD_PTR unused = 0;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 600000, &unused) != 0;
}

int RowCount(HWND list) {
    DWORD_PTR count = 0;
    if (!SendMessageTimeoutA(list, LVM_GETITEMCOUNT, 0, 0, SMTO_NORMAL, 600000, &count)) return -1;
    return static_cast<int>(count);
}

int Start(HWND window, HWND list, int rows) {
    const double start = Now();
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(kStartCommand, 0), 0);
    for (DWORD begun = GetTickCount(); RowCount(list) < rows; Sleep(20))
        if (GetTickCount() - begun > 900000) return 1;
    if (!Answers(window)) return 1;
    std::printf("start %.2f\n", Now() - start);
    return 0;
}

// The text of a row's column, read through a buffer in the list's own process.
std::string TextAt(HWND list, int row, int column) {
    DWORD id = 0;
    GetWindowThreadProcessId(list, &id);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, id);
    if (!process) return "?";
    constexpr SIZE_T kText = 520;
    auto* remote = static_cast<char*>(
        VirtualAllocEx(process, nullptr, sizeof(LVITEMA) + kText, MEM_COMMIT, PAGE_READWRITE));
    std::string text = "?";
    if (remote) {
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.iItem = row;
        item.iSubItem = column;
        item.pszText = remote + sizeof(LVITEMA);
        item.cchTextMax = static_cast<int>(kText);
        char buffer[kText] = {};
        if (WriteProcessMemory(process, remote, &item, sizeof item, nullptr) &&
            SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(remote)) >= 0 &&
            ReadProcessMemory(process, remote + sizeof(LVITEMA), buffer, kText - 1, nullptr))
            text = buffer;
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    CloseHandle(process);
    return text;
}

void MouseButton(DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof input);
}

int ClickHeader(HWND window, HWND list, int column) {
    const auto header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
    if (!header) return 1;
    // The middle of the part of the column's header in view, from the widths of the columns before it.
    int left = 0;
    for (int before = 0; before < column; ++before)
        left += static_cast<int>(SendMessageA(list, LVM_GETCOLUMNWIDTH, before, 0));
    const int right = left + static_cast<int>(SendMessageA(list, LVM_GETCOLUMNWIDTH, column, 0));
    RECT bounds{};
    GetClientRect(header, &bounds);
    const int x = (left + (right < bounds.right ? right : bounds.right)) / 2;
    POINT at{x, (bounds.bottom - bounds.top) / 2};
    ClientToScreen(header, &at);
    SetForegroundWindow(window);
    SetCursorPos(at.x, at.y);
    // Apart from the click before it, so that the two are not taken for a double click.
    Sleep(700);
    const double start = Now();
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    MouseButton(MOUSEEVENTF_LEFTUP);
    Sleep(20);
    if (!Answers(header) || !Answers(window)) return 1;
    const double seconds = Now() - start - 0.02;
    const int last = RowCount(list) - 1;
    std::printf("click %d %.2f  first \"%s\"  last \"%s\"\n", column, seconds,
                TextAt(list, 0, column).c_str(), TextAt(list, last, column).c_str());
    return 0;
}

void Press(WORD key, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof input);
}

int SelectAll(HWND window, HWND list) {
    SetForegroundWindow(window);
    SetFocus(list);
    Sleep(300);
    const double start = Now();
    Press(VK_CONTROL, false);
    Press('A', false);
    Press('A', true);
    Press(VK_CONTROL, true);
    Sleep(50);
    if (!Answers(list) || !Answers(window)) return 1;
    std::printf("selectall %.2f  selected %d of %d\n", Now() - start - 0.05,
                static_cast<int>(SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0)), RowCount(list));
    return 0;
}

int Scroll(HWND window, HWND list) {
    const double start = Now();
    for (int page = 0; page < 20; ++page) {
        PostMessageA(list, WM_VSCROLL, SB_PAGEDOWN, 0);
        PostMessageA(list, WM_PAINT, 0, 0);
    }
    if (!Answers(list) || !Answers(window)) return 1;
    std::printf("scroll %.2f\n", Now() - start);
    return 0;
}

int Close(HWND window) {
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, id);
    const double start = Now();
    PostMessageA(window, WM_CLOSE, 0, 0);
    const bool ended = process && WaitForSingleObject(process, 600000) == WAIT_OBJECT_0;
    if (process) CloseHandle(process);
    if (!ended) return 1;
    std::printf("close %.2f\n", Now() - start);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 1;
    HWND window = MainWindow();
    HWND list = window ? GetDlgItem(window, kResultsList) : nullptr;
    if (!list) return 1;
    const char* step = argv[1];
    const int number = argc > 2 ? std::atoi(argv[2]) : 0;
    if (!std::strcmp(step, "start")) return Start(window, list, number);
    if (!std::strcmp(step, "click")) return ClickHeader(window, list, number);
    if (!std::strcmp(step, "selectall")) return SelectAll(window, list);
    if (!std::strcmp(step, "scroll")) return Scroll(window, list);
    if (!std::strcmp(step, "close")) return Close(window);
    return 1;
}
