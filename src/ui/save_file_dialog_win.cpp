#include "ui/save_file_dialog_win.h"

#include <commdlg.h>

namespace kelvaro {
namespace {

SaveFileDialogFunction& CurrentFunction() {
    static SaveFileDialogFunction function;
    return function;
}

}  // namespace

bool AskSaveFileName(HWND owner, const SaveFileQuestion& question, std::string& chosenPath) {
    if (const SaveFileDialogFunction& function = CurrentFunction())
        return function(owner, question, chosenPath);
    char file[MAX_PATH * 4] = {};
    question.suggestedName.copy(file, sizeof file - 1);
    const std::string filter = question.filter + '\0';  // the list ends with an empty pair
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file;
    dialog.nMaxFile = sizeof file;
    dialog.lpstrTitle = question.title.empty() ? nullptr : question.title.c_str();
    dialog.lpstrDefExt = question.defaultExtension.empty() ? nullptr : question.defaultExtension.c_str();
    // Browsing moves the process's current folder along unless told not to, and a rule whose location is
    // relative would then search, and delete, somewhere else.
    dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_NOCHANGEDIR |
                   OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOREADONLYRETURN;
    if (!GetSaveFileNameA(&dialog)) return false;
    chosenPath = file;
    return true;
}

SaveFileDialogFunction SetSaveFileDialogFunction(SaveFileDialogFunction function) {
    SaveFileDialogFunction previous = std::move(CurrentFunction());
    CurrentFunction() = std::move(function);
    return previous;
}

}  // namespace kelvaro
