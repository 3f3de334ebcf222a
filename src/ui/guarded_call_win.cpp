#include "ui/guarded_call_win.h"

#include <exception>
#include <stdexcept>

#include "ui/message_box_win.h"

namespace kelvaro {

void ShowCurrentException(HWND owner) {
    try {
        throw;
    } catch (const std::exception& error) {
        ShowExceptionBox(owner, error);
    } catch (...) {
        ShowExceptionBox(owner, std::runtime_error("Unknown error"));
    }
}

}  // namespace kelvaro
