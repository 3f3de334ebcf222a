#include "widgets/caption_index.h"

#include <algorithm>
#include <numeric>
#include <stdexcept>

namespace kelvaro {
namespace {

// A full block is split in two halves of this size.
constexpr std::size_t kHalfBlock = 256;

}  // namespace

CaptionIndex::Place CaptionIndex::Locate(int row) const {
    if (row < 0 || row > size_) throw std::out_of_range("caption index row " + std::to_string(row));
    int block = 0;
    for (; block < static_cast<int>(blocks_.size()); ++block) {
        const int length = static_cast<int>(blocks_[block].size());
        if (row < length) return {block, row};
        row -= length;
    }
    // One past the last row: the end of the last block.
    if (blocks_.empty()) return {0, 0};
    return {block - 1, static_cast<int>(blocks_.back().size())};
}

const CaptionIndex::Entry& CaptionIndex::At(int row) const {
    if (row >= size_) throw std::out_of_range("caption index row " + std::to_string(row));
    const Place place = Locate(row);
    return blocks_[place.Block][place.Offset];
}

int CaptionIndex::UpperBound(const std::string& key) const {
    int before = 0;
    for (const auto& block : blocks_) {
        if (key < block.back().Key) {
            const auto after =
                std::upper_bound(block.begin(), block.end(), key,
                                 [](const std::string& k, const Entry& e) { return k < e.Key; });
            return before + static_cast<int>(after - block.begin());
        }
        before += static_cast<int>(block.size());
    }
    return size_;
}

void CaptionIndex::Insert(int row, Entry entry) {
    const Place place = Locate(row);
    if (blocks_.empty()) blocks_.emplace_back();
    auto& block = blocks_[place.Block];
    block.insert(block.begin() + place.Offset, std::move(entry));
    ++size_;
    if (block.size() >= 2 * kHalfBlock) {
        std::vector<Entry> upper(std::make_move_iterator(block.begin() + kHalfBlock),
                                 std::make_move_iterator(block.end()));
        block.resize(kHalfBlock);
        blocks_.insert(blocks_.begin() + place.Block + 1, std::move(upper));
    }
}

void CaptionIndex::Erase(int row) {
    if (row >= size_) throw std::out_of_range("caption index row " + std::to_string(row));
    const Place place = Locate(row);
    auto& block = blocks_[place.Block];
    block.erase(block.begin() + place.Offset);
    --size_;
    if (block.empty()) blocks_.erase(blocks_.begin() + place.Block);
}

void CaptionIndex::Clear() {
    blocks_.clear();
    size_ = 0;
}

int CaptionPlace(const CaptionIndex& captions, const std::string& caption, const std::string& key,
                 const TextCollation& collation) {
    const int count = captions.Size();
    const int place = captions.UpperBound(key);
    const bool confirmed = (place == 0 || collation.Compare(captions.At(place - 1).Caption, caption) <= 0) &&
                           (place == count || collation.Compare(caption, captions.At(place).Caption) < 0);
    if (confirmed) return place;
    return CaptionInsertPosition(
        count, [&captions](int row) { return captions.At(row).Caption; }, caption, collation);
}

std::vector<BatchPlace> BatchPlaces(const CaptionIndex& captions,
                                    const std::vector<CaptionIndex::Entry>& batch,
                                    const TextCollation& collation) {
    const std::size_t count = batch.size();
    std::vector<std::size_t> order(count);
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&batch](std::size_t a, std::size_t b) { return batch[a].Key < batch[b].Key; });
    // The key order stands when each caption follows its neighbour, equal ones in arrival order.
    for (std::size_t rank = 1; rank < count; ++rank) {
        const std::size_t before = order[rank - 1], after = order[rank];
        const int comparison = collation.Compare(batch[before].Caption, batch[after].Caption);
        if (comparison > 0 || (comparison == 0 && before > after)) {
            std::iota(order.begin(), order.end(), std::size_t{0});
            std::stable_sort(order.begin(), order.end(), [&batch, &collation](std::size_t a, std::size_t b) {
                return collation.Compare(batch[a].Caption, batch[b].Caption) < 0;
            });
            break;
        }
    }
    std::vector<BatchPlace> places;
    places.reserve(count);
    for (std::size_t rank = 0; rank < count; ++rank) {
        const CaptionIndex::Entry& entry = batch[order[rank]];
        const int existing =
            captions.Size() == 0 ? 0 : CaptionPlace(captions, entry.Caption, entry.Key, collation);
        places.push_back({order[rank], existing + static_cast<int>(rank)});
    }
    return places;
}

}  // namespace kelvaro
