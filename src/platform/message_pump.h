#pragma once
#include <memory>

namespace kelvaro {

// Runs the user-interface messages that are waiting, so that a Stop button or Esc can act while
// long work goes on in the same thread.
class MessagePump {
public:
    virtual ~MessagePump() = default;
    virtual void ProcessMessages() = 0;
};

std::unique_ptr<MessagePump> MakePlatformMessagePump();

}  // namespace kelvaro
