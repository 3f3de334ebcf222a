#pragma once
// Upper case for comparing names and search texts without regard to case. Only a to z change: the
// code page's other letters compare as they are, so the result never depends on the locale.
#include <string>

namespace kelvaro {

constexpr char UpperAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

inline void UpperAsciiInPlace(char* begin, char* end) {
    for (char* c = begin; c != end; ++c) *c = UpperAscii(*c);
}

inline std::string UpperAscii(std::string text) {
    UpperAsciiInPlace(text.data(), text.data() + text.size());
    return text;
}

}  // namespace kelvaro
