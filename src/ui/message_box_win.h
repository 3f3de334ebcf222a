#pragma once
// Every message box and question of the program goes through here, so tests can answer them.
#include <windows.h>

#include <exception>
#include <functional>
#include <string>

namespace kelvaro {

using MessageBoxFunction =
    std::function<int(HWND owner, const std::string& text, const std::string& caption, UINT type)>;

int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type);

// Replaces the platform's message box (tests); an empty function restores it. Gives the previous one.
MessageBoxFunction SetMessageBoxFunction(MessageBoxFunction function);

// How an exception that left an event handler is shown: application title, stop icon, OK.
void ShowExceptionBox(HWND owner, const std::exception& error);

}  // namespace kelvaro
