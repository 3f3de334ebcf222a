#pragma once
// The pace of a long delete: the window's messages run between files every few tens of milliseconds (each
// pump is a round trip to the window system, so never per file), and a delete that lasts longer than half
// a second shows its progress (how many files of how many, the last file, Stop) until it ends.
#include <cstdint>
#include <string>

#include "platform/clock.h"
#include "platform/message_pump.h"
#include "run/deletion.h"

namespace kelvaro {

// The window that shows a delete's progress.
class DeleteProgressView {
public:
    virtual ~DeleteProgressView() = default;
    virtual void Show() = 0;
    // text: "Deleting 1,234 of 16,667"; path: the file just tried.
    virtual void Update(const std::string& text, const std::string& path, int tried, int total) = 0;
    virtual void Hide() = 0;
};

class DeletePacer {
public:
    static constexpr std::uint32_t kShowAfterMilliseconds = 500;
    static constexpr std::uint32_t kPaceMilliseconds = 40;
    // Drawing the window's lines costs far more than a pump: a few times a second is enough to read them.
    static constexpr std::uint32_t kRedrawMilliseconds = 250;

    // The delete's time counts from here.
    DeletePacer(Clock& clock, MessagePump& pump, DeleteProgressView& view, std::string thousandSeparator);
    // The view goes when the delete ends, however it ends.
    ~DeletePacer();
    DeletePacer(const DeletePacer&) = delete;
    DeletePacer& operator=(const DeletePacer&) = delete;

    // The delete's progress hook (DeletionProgress): false once Stop was asked for.
    bool Between(int tried, int total, const ListedFile& last);
    // Stop, Esc or the view's close box: the delete ends after the file under way.
    void RequestStop() { stopRequested_ = true; }

private:
    Clock& clock_;
    MessagePump& pump_;
    DeleteProgressView& view_;
    std::string thousandSeparator_;
    std::uint32_t started_;
    std::uint32_t lastPump_;
    std::uint32_t lastRedraw_ = 0;
    bool shown_ = false;
    bool stopRequested_ = false;
};

// "Deleting 1,234 of 16,667".
std::string DeletingText(int tried, int total, const std::string& thousandSeparator);

}  // namespace kelvaro
