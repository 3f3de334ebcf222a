#pragma once
// The help engine, reached through one replaceable function so tests need no help window.
#include <windows.h>

#include <functional>
#include <string>

namespace kelvaro {

// The numbers the help file gives the topics a window opens at (HELP_CONTEXT), each given in the help
// source beside its topic with "@context".
namespace help_topic {
inline constexpr ULONG_PTR kRules = 3;
inline constexpr ULONG_PTR kProtectedFolders = 10;
}  // namespace help_topic

using HelpFunction =
    std::function<void(HWND owner, const std::string& helpFile, UINT command, ULONG_PTR data)>;

void RunHelpCommand(HWND owner, UINT command, ULONG_PTR data);
// Gives the previous function; an empty one restores WinHelp.
HelpFunction SetHelpFunction(HelpFunction function);

}  // namespace kelvaro
