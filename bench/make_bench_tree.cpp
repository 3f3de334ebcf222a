// Makes the benchmark tree: FILES files in about FOLDERS folders (20 top folders, the rest below
// them), one file in six named "*.tmp". Does nothing when the tree is already complete.
//   make_bench_tree DIR [FILES=100000] [FOLDERS=500]
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s DIR [FILES] [FOLDERS]\n", argv[0]);
        return 2;
    }
    fs::path root = argv[1];
    long files = argc > 2 ? std::atol(argv[2]) : 100000;
    long folders = argc > 3 ? std::atol(argv[3]) : 500;
    std::string stamp = std::to_string(files) + " " + std::to_string(folders);
    fs::path marker = root / ".complete";
    {
        std::ifstream in(marker);
        std::string existing;
        if (std::getline(in, existing) && existing == stamp) return 0;
    }
    fs::remove_all(root);
    const long top = 20;
    std::vector<fs::path> all;
    for (long t = 0; t < top && static_cast<long>(all.size()) < folders; ++t) {
        fs::path folder = root / ("Top" + std::to_string(t));
        all.push_back(folder);
        for (long s = 0; s < (folders - top) / top && static_cast<long>(all.size()) < folders; ++s)
            all.push_back(folder / ("Sub" + std::to_string(s)));
    }
    for (const fs::path& folder : all) fs::create_directories(folder);
    static const char* kOther[] = {".dat", ".txt", ".log", ".bak", ".doc"};
    for (long i = 0; i < files; ++i) {
        std::string name = "file" + std::to_string(i) + (i % 6 == 0 ? ".tmp" : kOther[i % 5]);
        std::ofstream(all[static_cast<std::size_t>(i) % all.size()] / name) << i;
    }
    std::ofstream(marker) << stamp << "\n";
    return 0;
}
