#pragma once
// The drive a Win32 path names, in code-page text or in UTF-16.
#include <string>

namespace kelvaro {

// "C:" for a path with a drive letter, "\\server\share" for a network path, "" otherwise. A network
// path cut short ("\\server") is its own drive part.
template <class Char>
std::basic_string<Char> DrivePart(const std::basic_string<Char>& path) {
    constexpr Char kSeparator = static_cast<Char>('\\');
    const auto npos = std::basic_string<Char>::npos;
    if (path.size() >= 2 && path[1] == static_cast<Char>(':')) return path.substr(0, 2);
    if (path.size() >= 2 && path[0] == kSeparator && path[1] == kSeparator) {
        const std::size_t share = path.find(kSeparator, 2);
        if (share == npos) return path;
        const std::size_t end = path.find(kSeparator, share + 1);
        return end == npos ? path : path.substr(0, end);
    }
    return {};
}

}  // namespace kelvaro
