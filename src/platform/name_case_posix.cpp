// The native build's names are UTF-8; their letters compare through the C library's Unicode case
// mapping, as Wine's own table maps them.
#include <locale.h>
#include <wctype.h>

#include "platform/name_case.h"

namespace kelvaro {
namespace {

// The next character of a UTF-8 name; a byte that starts no valid character stands for itself, kept
// apart from every character by the range it is put in.
char32_t NextCharacter(std::string_view text, std::size_t& at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
    bool valid = length > 0 && at + length <= text.size();
    char32_t c = length == 1 ? lead : length == 2 ? lead & 0x1F : length == 3 ? lead & 0x0F : lead & 0x07;
    for (std::size_t i = 1; valid && i < length; ++i) {
        valid = (byte(at + i) & 0xC0) == 0x80;
        c = (c << 6) | (byte(at + i) & 0x3F);
    }
    if (!valid) {
        ++at;
        return 0x110000 + lead;
    }
    at += length;
    return c;
}

locale_t UnicodeLocale() {
    static const locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", nullptr);
    return locale;
}

}  // namespace

std::wstring UpperCaseName(std::string_view name) {
    std::wstring upper;
    upper.reserve(name.size());
    const locale_t locale = UnicodeLocale();
    for (std::size_t at = 0; at < name.size();) {
        const char32_t c = NextCharacter(name, at);
        if (c >= 'a' && c <= 'z')
            upper += static_cast<wchar_t>(c - 'a' + 'A');
        else if (c < 0x80 || c > 0x10FFFF || !locale)
            upper += static_cast<wchar_t>(c);
        else
            upper += static_cast<wchar_t>(towupper_l(static_cast<wint_t>(c), locale));
    }
    return upper;
}

}  // namespace kelvaro
