// Starts a program as a whole process and times it from outside, by polling its windows every ten
// milliseconds: when Kelvaro's progress dialog shows and goes, when its delete question shows, when its
// delete's progress first says "Deleting n of N", when a watched folder first changes (the first file
// deleted into it) and when the process ends.
//   job_watch.exe [--answer-no] [--hold FILE] [--sorts] [--folder FOLDER] PROGRAM [ARGUMENTS...]
// --answer-no: the question is answered No and the main window closed, so that the run ends there.
// --hold FILE: once the question shows, waits (up to 30 s) for FILE to exist before answering, so
//   that a caller can read the process's memory while the question waits.
// --sorts: after the No, and before the close, clicks each column header of the results list in turn and
//   times each from the click to the list's repaint after it; prints "sorts Name=S Ext=S ...".
// Prints one line "phases progress=S gone=S question=S deleting=S folder=S end=S" (seconds from the
// start, -1 for what was not seen) and returns the program's exit code, or 3 when the program did not
// end in time.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "bare_walk_win.h"

namespace {

struct Phases {
    double progress = -1, gone = -1, question = -1, deleting = -1, folder = -1, end = -1;
};

struct Options {
    bool answerNo = false, sorts = false;
    std::string hold, folder, commandLine;
};

// Every question about another process's window is a trip to the Wine server, which the watched program
// waits on too: a watcher that polled every window of the desktop every 2 ms took a third of the server's
// requests during a search and slowed the program it timed. It polls every 10 ms, and asks of the
// program's own thread's windows, the title first.
constexpr DWORD kPollMilliseconds = 10;

BOOL CALLBACK FindQuestion(HWND window, LPARAM lParam) {
    char title[32] = {};
    GetWindowTextA(window, title, sizeof title);
    if (std::strcmp(title, "Confirm") != 0 || !IsWindowVisible(window) || !GetDlgItem(window, IDNO))
        return TRUE;
    *reinterpret_cast<HWND*>(lParam) = window;
    return FALSE;
}

// The question the program's main thread shows, which owns its windows.
HWND QuestionOf(DWORD threadId) {
    HWND found = nullptr;
    EnumThreadWindows(threadId, FindQuestion, reinterpret_cast<LPARAM>(&found));
    return found;
}

HWND VisibleProgressDialog() {
    HWND dialog = FindWindowA("TForm3", nullptr);
    return dialog && IsWindowVisible(dialog) ? dialog : nullptr;
}

BOOL CALLBACK FindDeletingLine(HWND child, LPARAM lParam) {
    char text[16] = {};
    GetWindowTextA(child, text, sizeof text);
    if (std::strncmp(text, "Deleting ", 9) != 0) return TRUE;
    *reinterpret_cast<bool*>(lParam) = true;
    return FALSE;
}

// Whether the delete's progress window shows and says "Deleting ...".
bool DeletingShown() {
    HWND dialog = FindWindowA("TForm3Delete", nullptr);
    bool found = false;
    if (dialog && IsWindowVisible(dialog))
        EnumChildWindows(dialog, FindDeletingLine, reinterpret_cast<LPARAM>(&found));
    return found;
}

BOOL CALLBACK FindResultList(HWND child, LPARAM lParam) {
    char name[32] = {};
    GetClassNameA(child, name, sizeof name);
    if (std::strcmp(name, "SysListView32") != 0 || !IsWindowVisible(child)) return TRUE;
    *reinterpret_cast<HWND*>(lParam) = child;
    return FALSE;
}

// Clicks each column's header of the main window's shown list, one after the other, as a mouse would:
// the header turns the press and release into the list's column click, and the sort runs inside it. The
// repaint asked for next is sent, so it returns once the list has drawn its new order.
void TimeSorts(HWND mainWindow) {
    HWND list = nullptr;
    EnumChildWindows(mainWindow, FindResultList, reinterpret_cast<LPARAM>(&list));
    HWND header = list ? reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0)) : nullptr;
    if (!header) {
        std::printf("sorts: no results list\n");
        return;
    }
    static const char* const kColumns[] = {"Name", "Ext", "Location", "Size", "Date", "Time"};
    std::printf("sorts");
    int left = 0;
    for (int column = 0; column < 6; ++column) {
        const int width = static_cast<int>(SendMessageA(list, LVM_GETCOLUMNWIDTH, column, 0));
        const int x = left + width / 2;
        left += width;
        // A column past the list's right edge is scrolled into reach first: the header only takes clicks
        // inside itself, and it widens by what the list scrolls.
        RECT inside{};
        GetClientRect(header, &inside);
        if (x >= inside.right) SendMessageA(list, LVM_SCROLL, x - inside.right + width, 0);
        const LPARAM at = MAKELPARAM(x, 5);
        LARGE_INTEGER start;
        QueryPerformanceCounter(&start);
        SendMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageA(header, WM_LBUTTONUP, 0, at);
        RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        std::printf(" %s=%.3f", kColumns[column], bench::Seconds(start));
    }
    std::printf("\n");
    std::fflush(stdout);
}

FILETIME LastWrite(const std::string& folder) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!folder.empty()) GetFileAttributesExA(folder.c_str(), GetFileExInfoStandard, &data);
    return data.ftLastWriteTime;
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Answers No, waiting first for the hold file, times the sorts when asked, and closes the window the
// question belongs to.
void AnswerNoAndClose(HWND question, const Options& options) {
    for (DWORD start = GetTickCount();
         !options.hold.empty() && !Exists(options.hold) && GetTickCount() - start < 30000;)
        Sleep(5);
    HWND mainWindow = GetWindow(question, GW_OWNER);
    PostMessageA(question, WM_COMMAND, IDNO, 0);
    for (DWORD start = GetTickCount(); IsWindow(question) && GetTickCount() - start < 5000;) Sleep(5);
    if (mainWindow && options.sorts) {
        // The run's end after the No lets the list be sorted again; a message sent waits for it.
        SendMessageA(mainWindow, WM_NULL, 0, 0);
        TimeSorts(mainWindow);
    }
    if (mainWindow) PostMessageA(mainWindow, WM_CLOSE, 0, 0);
}

Options ReadOptions(int argc, char** argv) {
    Options options;
    int at = 1;
    for (; at < argc && argv[at][0] == '-' && argv[at][1] == '-'; ++at) {
        if (!std::strcmp(argv[at], "--answer-no")) options.answerNo = true;
        if (!std::strcmp(argv[at], "--sorts")) options.sorts = true;
        if (!std::strcmp(argv[at], "--hold") && at + 1 < argc) options.hold = argv[++at];
        if (!std::strcmp(argv[at], "--folder") && at + 1 < argc) options.folder = argv[++at];
    }
    for (; at < argc; ++at) options.commandLine += std::string("\"") + argv[at] + "\" ";
    return options;
}

}  // namespace

int main(int argc, char** argv) {
    const Options options = ReadOptions(argc, argv);
    if (options.commandLine.empty()) return 2;
    const FILETIME folderBefore = LastWrite(options.folder);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::string commandLine = options.commandLine;
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return 2;
    CloseHandle(process.hThread);

    Phases phases;
    bool answered = false;
    while (WaitForSingleObject(process.hProcess, kPollMilliseconds) == WAIT_TIMEOUT) {
        const double now = bench::Seconds(start);
        if (now > 600) break;
        const bool progressShown = VisibleProgressDialog() != nullptr;
        if (progressShown && phases.progress < 0) phases.progress = now;
        if (!progressShown && phases.progress >= 0 && phases.gone < 0) phases.gone = now;
        // Looked for once the search's window has gone, so that the questions it costs the server do not
        // slow the search down.
        if (phases.gone >= 0 && phases.deleting < 0 && DeletingShown()) phases.deleting = now;
        if (!options.folder.empty() && phases.folder < 0) {
            const FILETIME folderNow = LastWrite(options.folder);
            if (CompareFileTime(&folderBefore, &folderNow) != 0) phases.folder = now;
        }
        // The question comes after the search: while the search's window shows, it is not looked for.
        if (phases.question >= 0 || (progressShown && phases.gone < 0)) continue;
        if (HWND question = QuestionOf(process.dwThreadId)) {
            phases.question = now;
            if (options.answerNo && !answered) {
                answered = true;
                std::printf("question shown\n");
                std::fflush(stdout);
                AnswerNoAndClose(question, options);
            }
        }
    }
    DWORD code = 3;
    if (WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0) {
        phases.end = bench::Seconds(start);
        GetExitCodeProcess(process.hProcess, &code);
    }
    CloseHandle(process.hProcess);
    std::printf("phases progress=%.3f gone=%.3f question=%.3f deleting=%.3f folder=%.3f end=%.3f\n",
                phases.progress, phases.gone, phases.question, phases.deleting, phases.folder, phases.end);
    return static_cast<int>(code);
}
