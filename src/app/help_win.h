#pragma once
// The help engine, reached through one replaceable function so tests need no help window.
#include <windows.h>

#include <functional>
#include <string>

namespace kelvaro {

using HelpFunction =
    std::function<void(HWND owner, const std::string& helpFile, UINT command, ULONG_PTR data)>;

void RunHelpCommand(HWND owner, UINT command, ULONG_PTR data);
// Gives the previous function; an empty one restores WinHelp.
HelpFunction SetHelpFunction(HelpFunction function);

}  // namespace kelvaro
