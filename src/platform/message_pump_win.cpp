#include <windows.h>

#include "platform/message_pump.h"

namespace kelvaro {
namespace {

class Win32MessagePump : public MessagePump {
public:
    void ProcessMessages() override {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                // Leave it for the program's own message loop, which ends on it.
                PostQuitMessage(static_cast<int>(message.wParam));
                return;
            }
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
};

}  // namespace

std::unique_ptr<MessagePump> MakePlatformMessagePump() { return std::make_unique<Win32MessagePump>(); }

}  // namespace kelvaro
