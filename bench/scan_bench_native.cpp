// Times the scanner natively over a tree with the rule "*.tmp" and subfolders.
//   scan_bench_native TREE_DIR
#include <chrono>
#include <cstdio>

#include "search/platform_scan.h"

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    using namespace kelvaro;
    PlatformScanServices platform;
    TFileScan scan(platform.Get());
    scan.Directory = argv[1];
    scan.FileSpecs = "*.tmp";
    auto start = std::chrono::steady_clock::now();
    scan.SetStartScan(true);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%.3f %zu\n", seconds, scan.FileList.size());
    return 0;
}
