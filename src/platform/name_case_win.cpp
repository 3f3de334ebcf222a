// The case mapping of the system's own upper-casing, which its file name comparisons follow.
#include <windows.h>

#include "platform/name_case.h"

namespace kelvaro {

std::wstring UpperCaseName(std::wstring_view name) {
    std::wstring upper(name);
    // Most names are plain ASCII, whose only upper-casing is a to z.
    bool ascii = true;
    for (wchar_t& c : upper) {
        if (c >= 0x80) {
            ascii = false;
            break;
        }
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
    }
    if (!ascii) CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
    return upper;
}

std::wstring UpperCaseName(std::string_view name) {
    if (name.empty()) return {};
    const int size = static_cast<int>(name.size());
    const int length = MultiByteToWideChar(CP_ACP, 0, name.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, name.data(), size, wide.data(), length);
    return UpperCaseName(std::wstring_view(wide));
}

}  // namespace kelvaro
