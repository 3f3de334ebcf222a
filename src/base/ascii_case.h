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

// A name of the 8-bit Windows code page as the platform compares file names: every letter that has a
// capital in the code page takes it (a to z, the accented letters, and the few others such as "\x9A"
// to "\x8A"). Two paths with the same fold name the same file on Windows.
constexpr char FoldNameCase(char c) {
    const auto code = static_cast<unsigned char>(c);
    if (code >= 0xE0 && code <= 0xFE && code != 0xF7) return static_cast<char>(code - 0x20);
    switch (code) {
        case 0x9A:
        case 0x9C:
        case 0x9E:
            return static_cast<char>(code - 0x10);
        case 0xFF:
            return static_cast<char>(0x9F);
        default:
            return UpperAscii(c);
    }
}

inline std::string FoldNameCase(std::string text) {
    for (char& c : text) c = FoldNameCase(c);
    return text;
}

}  // namespace kelvaro
