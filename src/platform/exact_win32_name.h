#pragma once
// Whether a name read from a directory reaches that same entry again when it is put into a Win32
// path. Wine lists Linux names as they are, but a path through the Win32 calls drops trailing dots and
// blanks and splits at "\" and "/": "report.doc." and "notes.txt " then open "report.doc" and
// "notes.txt", and "x\y.txt" opens "y.txt" in folder "x" -- other files, which a delete would reach.
#include <string_view>
#include <type_traits>

namespace kelvaro {

// Char is wchar_t for wide names, or char for UTF-8 names: every character the rule looks at is
// ASCII, and in UTF-8 an ASCII byte always stands for itself (not so in double-byte code pages).
template <typename Char>
bool IsExactWin32Name(std::basic_string_view<Char> name) {
    if (name.empty()) return false;
    // The folder itself and its parent, which the path rules keep as they are.
    if (name.size() <= 2 && name.find_first_not_of(Char('.')) == std::basic_string_view<Char>::npos)
        return true;
    if (name.back() == Char('.') || name.back() == Char(' ')) return false;
    constexpr std::string_view kForbidden = "<>:\"/\\|?*";
    for (Char c : name) {
        auto code = static_cast<std::make_unsigned_t<Char>>(c);
        if (code < 0x20) return false;
        if (code < 0x80 && kForbidden.find(static_cast<char>(code)) != std::string_view::npos) return false;
    }
    return true;
}

}  // namespace kelvaro
