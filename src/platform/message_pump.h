#pragma once
#include <memory>

namespace kelvaro {

// Runs the user-interface messages that are waiting, so that a Stop button or Esc can act while
// long work goes on in the same thread.
class MessagePump {
public:
    virtual ~MessagePump() = default;
    virtual void ProcessMessages() = 0;
    // True once the program has been told to quit while messages were run: long work stops then.
    virtual bool QuitRequested() const { return false; }
};

std::unique_ptr<MessagePump> MakePlatformMessagePump();

}  // namespace kelvaro
