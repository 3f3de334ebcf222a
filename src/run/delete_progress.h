#pragma once
// The pace of a long delete: the window's messages run between files every few tens of milliseconds (each
// pump is a round trip to the window system, so never per file), a delete that lasts longer than half
// a second shows its progress (how many files of how many, the last file, Stop) until it ends, and the rows
// of the files gone leave the list as it goes, a batch at a time.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

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
    // Removing rows costs a pass over the whole list however few go (about 12 ms at 100,000 rows under
    // Wine): a batch waits at least this long, and ten times as long as the last removal took, so that a
    // long list never spends more than a tenth of the delete on its removals.
    static constexpr std::uint32_t kRemoveMilliseconds = 250;
    static constexpr std::uint32_t kRemovalShare = 10;

    using RowRemover = std::function<void(const std::vector<std::uint64_t>& rowIds)>;

    // The delete's time counts from here. removeRows: takes the rows of files gone out of the list.
    DeletePacer(Clock& clock, MessagePump& pump, DeleteProgressView& view, std::string thousandSeparator,
                RowRemover removeRows = {});
    // The view goes when the delete ends, however it ends.
    ~DeletePacer();
    DeletePacer(const DeletePacer&) = delete;
    DeletePacer& operator=(const DeletePacer&) = delete;

    // The delete's progress hook (DeletionProgress): false once Stop was asked for.
    bool Between(int tried, int total, const ListedFile& last);
    // Stop, Esc or the view's close box: the delete ends after the file under way.
    void RequestStop() { stopRequested_ = true; }
    // The file of this row is gone: its row leaves the list with the next batch. Rows still waiting when
    // the delete ends are the caller's to remove.
    void FileGone(std::uint64_t rowId) { gone_.push_back(rowId); }

private:
    Clock& clock_;
    MessagePump& pump_;
    DeleteProgressView& view_;
    std::string thousandSeparator_;
    std::uint32_t started_;
    std::uint32_t lastPump_;
    std::uint32_t lastRedraw_ = 0;
    RowRemover removeRows_;
    std::vector<std::uint64_t> gone_;
    std::uint32_t lastRemoval_;
    std::uint32_t removalSpacing_ = kRemoveMilliseconds;
    bool shown_ = false;
    bool stopRequested_ = false;
};

// "Deleting 1,234 of 16,667".
std::string DeletingText(int tried, int total, const std::string& thousandSeparator);

}  // namespace kelvaro
