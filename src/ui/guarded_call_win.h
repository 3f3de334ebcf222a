#pragma once
// Every path on which the platform calls into the program (window and subclass procedures, the key
// preview of the message loops) runs the program's code through here: an exception that leaves it is
// shown as the application shows errors, and the program goes on.
#include <windows.h>

#include <utility>

namespace kelvaro {

// Shows the exception being handled in the application's error box; only inside a catch block.
void ShowCurrentException(HWND owner);

// work's result, or fallback when work threw.
template <class Work, class Result>
Result GuardedCall(HWND owner, Work&& work, Result fallback) {
    try {
        return std::forward<Work>(work)();
    } catch (...) {
        ShowCurrentException(owner);
        return fallback;
    }
}

template <class Work>
void GuardedCall(HWND owner, Work&& work) {
    try {
        std::forward<Work>(work)();
    } catch (...) {
        ShowCurrentException(owner);
    }
}

}  // namespace kelvaro
