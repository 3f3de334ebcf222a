// The bare two-pass walk of a tree for "*.tmp" as a whole process of its own, the measure a whole
// Kelvaro process is held against; prints the number of files found.
//   bare_walk.exe TREE
#include <cstdio>

#include "bare_walk_win.h"

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    std::printf("%ld\n", bench::BareWalk(bench::TreeFolder(argv[1])));
    return 0;
}
