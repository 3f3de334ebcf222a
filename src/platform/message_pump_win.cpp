#include <windows.h>

#include "platform/message_filter_win.h"
#include "platform/message_pump.h"

namespace kelvaro {
namespace {

MessageFilter& CurrentFilter() {
    static MessageFilter filter;
    return filter;
}

class Win32MessagePump : public MessagePump {
public:
    void ProcessMessages() override {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                // Leave it for the program's own message loop, which ends on it.
                PostQuitMessage(static_cast<int>(message.wParam));
                quitRequested_ = true;
                return;
            }
            DispatchFiltered(message);
        }
    }
    bool QuitRequested() const override { return quitRequested_; }

private:
    bool quitRequested_ = false;
};

}  // namespace

MessageFilter SetMessageFilter(MessageFilter filter) {
    MessageFilter previous = std::move(CurrentFilter());
    CurrentFilter() = std::move(filter);
    return previous;
}

bool FilterMessage(MSG& message) {
    return CurrentFilter() && CurrentFilter()(message);
}

void DispatchFiltered(MSG& message) {
    if (FilterMessage(message)) return;
    TranslateMessage(&message);
    DispatchMessageA(&message);
}

std::unique_ptr<MessagePump> MakePlatformMessagePump() {
    return std::make_unique<Win32MessagePump>();
}

}  // namespace kelvaro
