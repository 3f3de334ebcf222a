#pragma once
// What the Wine benchmarks measure against: the bare two-pass walk of a tree for "*.tmp" (or another
// pattern).
#include <windows.h>

#include <cstring>
#include <string>

namespace bench {

// The walk the scanner makes, with nothing else: files matching the pattern, then the subfolders. Hands
// each file's path to visit, and returns how many there were.
template <typename Visit>
long BareWalk(const std::string& folder, Visit&& visit, const char* pattern = "*.tmp") {
    long found = 0;
    WIN32_FIND_DATAA data;
    HANDLE files = FindFirstFileA((folder + pattern).c_str(), &data);
    if (files != INVALID_HANDLE_VALUE) {
        do
            if (!(data.dwFileAttributes & 0x1E)) {
                ++found;
                visit(folder, data.cFileName);
            }
        while (FindNextFileA(files, &data));
        FindClose(files);
    }
    HANDLE folders = FindFirstFileA((folder + "*.*").c_str(), &data);
    if (folders != INVALID_HANDLE_VALUE) {
        do
            if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !std::strchr(data.cFileName, '.'))
                found += BareWalk(folder + data.cFileName + "\\", visit, pattern);
        while (FindNextFileA(folders, &data));
        FindClose(folders);
    }
    return found;
}

inline long BareWalk(const std::string& folder) {
    return BareWalk(folder, [](const std::string&, const char*) {});
}

// The tree folder given on the command line, ending in "\" as the walk and the rules want it.
inline std::string TreeFolder(std::string argument) {
    if (argument.empty() || argument.back() != '\\') argument += '\\';
    return argument;
}

inline double Seconds(LARGE_INTEGER start) {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

}  // namespace bench
