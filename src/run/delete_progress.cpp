#include "run/delete_progress.h"

#include <algorithm>
#include <utility>

#include "base/digit_groups.h"

namespace kelvaro {

DeletePacer::DeletePacer(Clock& clock, MessagePump& pump, DeleteProgressView& view,
                         std::string thousandSeparator, RowRemover removeRows)
    : clock_(clock),
      pump_(pump),
      view_(view),
      thousandSeparator_(std::move(thousandSeparator)),
      started_(clock.TickCount()),
      lastPump_(started_),
      removeRows_(std::move(removeRows)),
      lastRemoval_(started_) {}

DeletePacer::~DeletePacer() {
    if (shown_) view_.Hide();
}

bool DeletePacer::Between(int tried, int total, const ListedFile& last) {
    // Differences of ticks, so that the counter's wrap-around costs nothing.
    const std::uint32_t now = clock_.TickCount();
    if (now - lastPump_ < kPaceMilliseconds) return !stopRequested_;
    lastPump_ = now;
    if (!shown_ && now - started_ >= kShowAfterMilliseconds) {
        view_.Show();
        shown_ = true;
        lastRedraw_ = now - kRedrawMilliseconds;
    }
    if (shown_ && now - lastRedraw_ >= kRedrawMilliseconds) {
        lastRedraw_ = now;
        view_.Update(DeletingText(tried, total, thousandSeparator_), last.path, tried, total);
    }
    if (removeRows_ && !gone_.empty() && now - lastRemoval_ >= removalSpacing_) {
        removeRows_(gone_);
        gone_.clear();
        lastRemoval_ = clock_.TickCount();
        removalSpacing_ = std::max(kRemoveMilliseconds, kRemovalShare * (lastRemoval_ - now));
    }
    pump_.ProcessMessages();
    return !stopRequested_;
}

std::string DeletingText(int tried, int total, const std::string& thousandSeparator) {
    return "Deleting " + GroupThousands(std::to_string(tried), thousandSeparator) + " of " +
           GroupThousands(std::to_string(total), thousandSeparator);
}

}  // namespace kelvaro
