#pragma once
// The program's paths use "\" between folders; the native build's file system wants "/".
#include <string>

namespace kelvaro {

inline std::string ToUnixPath(std::string path) {
    for (char& c : path)
        if (c == '\\') c = '/';
    return path;
}

}  // namespace kelvaro
