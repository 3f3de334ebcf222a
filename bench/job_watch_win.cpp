// Starts a program as a whole process and times it from outside, by polling its windows every few
// milliseconds: when Kelvaro's progress dialog shows and goes, when its delete question shows, when a
// watched folder first changes (the first file deleted into it) and when the process ends.
//   job_watch.exe [--answer-no] [--hold FILE] [--folder FOLDER] PROGRAM [ARGUMENTS...]
// --answer-no: the question is answered No and the main window closed, so that the run ends there.
// --hold FILE: once the question shows, waits (up to 30 s) for FILE to exist before answering, so
//   that a caller can read the process's memory while the question waits.
// Prints one line "phases progress=S gone=S question=S folder=S end=S" (seconds from the start, -1 for
// what was not seen) and returns the program's exit code, or 3 when the program did not end in time.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "bare_walk_win.h"

namespace {

struct Phases {
    double progress = -1, gone = -1, question = -1, folder = -1, end = -1;
};

struct Options {
    bool answerNo = false;
    std::string hold, folder, commandLine;
};

struct Found {
    DWORD processId;
    HWND window;
};

BOOL CALLBACK FindQuestion(HWND window, LPARAM lParam) {
    auto& found = *reinterpret_cast<Found*>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char title[32] = {};
    if (owner != found.processId || !IsWindowVisible(window) || !GetDlgItem(window, IDNO)) return TRUE;
    GetWindowTextA(window, title, sizeof title);
    if (std::strcmp(title, "Confirm") != 0) return TRUE;
    found.window = window;
    return FALSE;
}

HWND QuestionOf(DWORD processId) {
    Found found{processId, nullptr};
    EnumWindows(FindQuestion, reinterpret_cast<LPARAM>(&found));
    return found.window;
}

HWND VisibleProgressDialog() {
    HWND dialog = FindWindowA("TForm3", nullptr);
    return dialog && IsWindowVisible(dialog) ? dialog : nullptr;
}

FILETIME LastWrite(const std::string& folder) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!folder.empty()) GetFileAttributesExA(folder.c_str(), GetFileExInfoStandard, &data);
    return data.ftLastWriteTime;
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Answers No, waiting first for the hold file, and closes the window the question belongs to.
void AnswerNoAndClose(HWND question, const std::string& hold) {
    for (DWORD start = GetTickCount(); !hold.empty() && !Exists(hold) && GetTickCount() - start < 30000;)
        Sleep(5);
    HWND mainWindow = GetWindow(question, GW_OWNER);
    PostMessageA(question, WM_COMMAND, IDNO, 0);
    for (DWORD start = GetTickCount(); IsWindow(question) && GetTickCount() - start < 5000;) Sleep(5);
    if (mainWindow) PostMessageA(mainWindow, WM_CLOSE, 0, 0);
}

Options ReadOptions(int argc, char** argv) {
    Options options;
    int at = 1;
    for (; at < argc && argv[at][0] == '-' && argv[at][1] == '-'; ++at) {
        if (!std::strcmp(argv[at], "--answer-no")) options.answerNo = true;
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
    while (WaitForSingleObject(process.hProcess, 2) == WAIT_TIMEOUT) {
        const double now = bench::Seconds(start);
        if (now > 600) break;
        const bool progressShown = VisibleProgressDialog() != nullptr;
        if (progressShown && phases.progress < 0) phases.progress = now;
        if (!progressShown && phases.progress >= 0 && phases.gone < 0) phases.gone = now;
        if (!options.folder.empty() && phases.folder < 0) {
            const FILETIME folderNow = LastWrite(options.folder);
            if (CompareFileTime(&folderBefore, &folderNow) != 0) phases.folder = now;
        }
        if (phases.question >= 0) continue;
        if (HWND question = QuestionOf(process.dwProcessId)) {
            phases.question = now;
            if (options.answerNo && !answered) {
                answered = true;
                std::printf("question shown\n");
                std::fflush(stdout);
                AnswerNoAndClose(question, options.hold);
            }
        }
    }
    DWORD code = 3;
    if (WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0) {
        phases.end = bench::Seconds(start);
        GetExitCodeProcess(process.hProcess, &code);
    }
    CloseHandle(process.hProcess);
    std::printf("phases progress=%.3f gone=%.3f question=%.3f folder=%.3f end=%.3f\n", phases.progress,
                phases.gone, phases.question, phases.folder, phases.end);
    return static_cast<int>(code);
}
