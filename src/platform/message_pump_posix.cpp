#include "platform/message_pump.h"

namespace kelvaro {
namespace {

// The native build has no window system, so there is nothing waiting to be run.
class NoMessagePump : public MessagePump {
public:
    void ProcessMessages() override {}
};

}  // namespace

std::unique_ptr<MessagePump> MakePlatformMessagePump() {
    return std::make_unique<NoMessagePump>();
}

}  // namespace kelvaro
