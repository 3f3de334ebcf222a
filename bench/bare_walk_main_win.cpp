// The bare two-pass walk of a tree as a whole process of its own, the measure a whole Kelvaro process is
// held against; prints the number of files found. With --open it also opens each file found for reading
// and writing, both shared, and closes it again, on this one thread: the least a listing that offers only
// files it could delete must ask of the file system.
//   bare_walk.exe [--open] TREE [PATTERN=*.tmp]
#include <cstdio>
#include <cstring>

#include "bare_walk_win.h"

int main(int argc, char** argv) {
    int at = 1;
    const bool open = at < argc && std::strcmp(argv[at], "--open") == 0;
    if (open) ++at;
    if (at >= argc) return 2;
    const std::string tree = bench::TreeFolder(argv[at]);
    const char* pattern = at + 1 < argc ? argv[at + 1] : "*.tmp";
    long opened = 0;
    const long found = bench::BareWalk(
        tree,
        [&](const std::string& folder, const char* name) {
            if (!open) return;
            HANDLE file = CreateFileA((folder + name).c_str(), GENERIC_READ | GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
            if (file == INVALID_HANDLE_VALUE) return;
            ++opened;
            CloseHandle(file);
        },
        pattern);
    if (open)
        std::printf("%ld %ld opened\n", found, opened);
    else
        std::printf("%ld\n", found);
    return 0;
}
