// The plainest recycle of a tree's "*.tmp" files, the measure Kelvaro's whole automatic recycle job is
// held against: the bare walk, then one SHFileOperationA call a file (FO_DELETE, silent, no questions,
// into the Recycle Bin). As a whole process of its own; prints how many files it recycled and how many
// calls failed.
//   recycle_loop.exe TREE
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bare_walk_win.h"

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    std::vector<std::string> paths;
    bench::BareWalk(bench::TreeFolder(argv[1]), [&](const std::string& folder, const char* name) {
        // The shell takes a list ending in two NULs; a string holds one past its end.
        paths.push_back(folder + name + '\0');
    });
    long recycled = 0, failed = 0;
    for (const std::string& path : paths) {
        SHFILEOPSTRUCTA operation{};
        operation.wFunc = FO_DELETE;
        operation.pFrom = path.c_str();
        operation.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_ALLOWUNDO;  // 0x54
        if (SHFileOperationA(&operation) == 0)
            ++recycled;
        else
            ++failed;
    }
    std::printf("recycled %ld, failed %ld\n", recycled, failed);
    return failed == 0 ? 0 : 1;
}
