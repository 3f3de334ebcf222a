#include "ui/message_box_win.h"

#include "ui/application.h"

namespace kelvaro {
namespace {

MessageBoxFunction& CurrentFunction() {
    static MessageBoxFunction function;
    return function;
}

}  // namespace

int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type) {
    if (const MessageBoxFunction& function = CurrentFunction()) return function(owner, text, caption, type);
    return MessageBoxA(owner, text.c_str(), caption.c_str(), type);
}

MessageBoxFunction SetMessageBoxFunction(MessageBoxFunction function) {
    MessageBoxFunction previous = std::move(CurrentFunction());
    CurrentFunction() = std::move(function);
    return previous;
}

void ShowExceptionBox(HWND owner, const std::exception& error) {
    ShowMessageBox(owner, ExceptionDisplayText(error.what()), kApplicationTitle, MB_OK | MB_ICONSTOP);
}

}  // namespace kelvaro
