#include "ui/help_win.h"

#include "ui/application.h"

namespace kelvaro {
namespace {

HelpFunction& CurrentFunction() {
    static HelpFunction function;
    return function;
}

}  // namespace

void RunHelpCommand(HWND owner, UINT command, ULONG_PTR data) {
    if (const HelpFunction& function = CurrentFunction())
        return function(owner, kHelpFileName, command, data);
    WinHelpA(owner, kHelpFileName.c_str(), command, data);
}

HelpFunction SetHelpFunction(HelpFunction function) {
    HelpFunction previous = std::move(CurrentFunction());
    CurrentFunction() = std::move(function);
    return previous;
}

}  // namespace kelvaro
