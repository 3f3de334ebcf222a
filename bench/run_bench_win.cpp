// Under Wine, in one process: (a) the bare two-pass FindFirstFileA/FindNextFileA walk of a tree, and
// (b) a whole search run of the real main window (scan, open test, icons, rows) with the rule "*.tmp"
// and subfolders over the same tree, each the best of three. Prints both times, the ratio b/a, and
// checks that the results list ends in name order with one row per file. Also prints (c), the run's
// open test alone over the files found: one open and one close a file, each a trip to the Wine
// server, which is the part of the run that the walk does not have and no change of the program's own
// work can shorten.
//   run_bench.exe TREE
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "app/command_ids.h"
#include "app/main_window_win.h"
#include "bare_walk_win.h"
#include "run/listable_file_win.h"
#include "widgets/cool_list_view_win.h"

using bench::BareWalk;
using bench::Seconds;

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    const std::string tree = bench::TreeFolder(argv[1]);
    using namespace kelvaro;
    const std::string key = "Software\\Tarnwell\\KelvaroBench";
    RegDeleteTreeA(HKEY_CURRENT_USER, key.c_str());
    MainWindowServices services = MakePlatformMainWindowServices();
    MainWindowParts parts = MakeMainWindowParts(services);
    TForm1 form(std::move(services), std::move(parts), key);
    form.CommandLine = "Kelvaro.exe";
    ShowWindow(form.Handle(), SW_SHOWNORMAL);
    form.AppendRule({tree, {"*.tmp", "  ", "  ", "Yes", " "}});

    // The best of three of each, taken in turns, so that a pause of the machine does not decide the ratio.
    long bare = 0;
    double bareSeconds = 1e9, runSeconds = 1e9;
    for (int round = 0; round < 3; ++round) {
        LARGE_INTEGER start;
        QueryPerformanceCounter(&start);
        bare = BareWalk(tree);
        bareSeconds = std::min(bareSeconds, Seconds(start));
        QueryPerformanceCounter(&start);
        SendMessageA(form.Handle(), WM_COMMAND, MAKEWPARAM(command::StartKelvaro1, 0), 0);
        runSeconds = std::min(runSeconds, Seconds(start));
    }

    TCoolListView& list = form.ListView();
    int rows = list.RowCount();
    double openSeconds = 1e9;
    for (int round = 0; round < 3; ++round) {
        LARGE_INTEGER start;
        QueryPerformanceCounter(&start);
        for (int row = 0; row < rows; ++row) CanOpenForReadWrite(list.Text(row, 2) + list.Text(row, 0), 0);
        openSeconds = std::min(openSeconds, Seconds(start));
    }
    bool ordered = true;
    for (int row = 1; row < rows && ordered; ++row)
        ordered = lstrcmpA(list.Text(row - 1, 0).c_str(), list.Text(row, 0).c_str()) <= 0;
    std::printf("bare walk (a): %.3f s, %ld files\n", bareSeconds, bare);
    std::printf("whole run (b): %.3f s, %d rows, %s\n", runSeconds, rows,
                ordered ? "in name order" : "NOT IN NAME ORDER");
    std::printf("ratio b/a: %.2f (target <= 3)\n", runSeconds / bareSeconds);
    std::printf("open test alone (c): %.3f s, ratio c/a: %.2f\n", openSeconds, openSeconds / bareSeconds);
    RegDeleteTreeA(HKEY_CURRENT_USER, key.c_str());
    return ordered && rows == bare ? 0 : 1;
}
