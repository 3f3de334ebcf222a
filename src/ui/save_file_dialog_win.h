#pragma once
// The "Save As" question of the program: the platform's dialog, or a function tests put in its place.
#include <windows.h>

#include <functional>
#include <string>

namespace kelvaro {

struct SaveFileQuestion {
    std::string title;
    // Pairs of a description and its patterns, each part ended by a NUL, as the platform's dialog takes them.
    std::string filter;
    std::string defaultExtension;  // without the dot; added to a name typed without one
    std::string suggestedName;
};

using SaveFileDialogFunction =
    std::function<bool(HWND owner, const SaveFileQuestion& question, std::string& chosenPath)>;

// True, with chosenPath set, when the user chose a file; an existing one only after agreeing to replace it.
bool AskSaveFileName(HWND owner, const SaveFileQuestion& question, std::string& chosenPath);

// Replaces the platform's dialog (tests); an empty function restores it. Gives the previous one.
SaveFileDialogFunction SetSaveFileDialogFunction(SaveFileDialogFunction function);

}  // namespace kelvaro
