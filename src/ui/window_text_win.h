#pragma once
// What a window or control shows, read whole however long it is.
#include <windows.h>

#include <string>

namespace kelvaro {

inline std::string WindowText(HWND window) {
    const int length = GetWindowTextLengthA(window);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(window, text.data(), length + 1)));
    return text;
}

}  // namespace kelvaro
