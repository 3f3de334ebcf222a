#include "widgets/caption_index.h"

#include <algorithm>
#include <numeric>

namespace kelvaro {
namespace {

// The first row whose key sorts after key in byte order: where a row with that key goes after every
// equal one.
int UpperBound(const CaptionKeys& captions, std::string_view key) {
    int low = 0, high = captions.Size();
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (captions.Key(middle) <= key)
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

}  // namespace

int CaptionPlace(const CaptionKeys& captions, const std::string& caption, std::string_view key,
                 const TextCollation& collation, bool exact) {
    const int count = captions.Size();
    if (count == 0) return 0;
    const int place = UpperBound(captions, key);
    if (exact) return place;
    const bool confirmed = (place == 0 || collation.Compare(captions.Caption(place - 1), caption) <= 0) &&
                           (place == count || collation.Compare(caption, captions.Caption(place)) < 0);
    if (confirmed) return place;
    return CaptionInsertPosition(
        count, [&captions](int row) { return captions.Caption(row); }, caption, collation);
}

std::vector<BatchPlace> BatchPlaces(const CaptionKeys& captions, const CaptionKeys& batch,
                                    const TextCollation& collation, bool exact) {
    const std::size_t count = static_cast<std::size_t>(batch.Size());
    std::vector<std::size_t> order(count);
    std::iota(order.begin(), order.end(), std::size_t{0});
    const auto row = [](std::size_t index) { return static_cast<int>(index); };
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return batch.Key(row(a)) < batch.Key(row(b)); });
    // The key order stands when each caption follows its neighbour, equal ones in arrival order.
    std::string before = count > 0 && !exact ? batch.Caption(row(order[0])) : std::string();
    for (std::size_t rank = exact ? count : 1; rank < count; ++rank) {
        std::string after = batch.Caption(row(order[rank]));
        const int comparison = collation.Compare(before, after);
        if (comparison > 0 || (comparison == 0 && order[rank - 1] > order[rank])) {
            std::iota(order.begin(), order.end(), std::size_t{0});
            std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
                return collation.Compare(batch.Caption(row(a)), batch.Caption(row(b))) < 0;
            });
            break;
        }
        before = std::move(after);
    }
    std::vector<BatchPlace> places;
    places.reserve(count);
    const int existing = captions.Size();
    // Exact keys in key order: a large batch finds its places in one walk down the list beside it, rather
    // than a binary search for each row.
    if (exact && count * 20 > static_cast<std::size_t>(existing)) {
        int passed = 0;
        for (std::size_t rank = 0; rank < count; ++rank) {
            const std::string_view key = batch.Key(row(order[rank]));
            while (passed < existing && captions.Key(passed) <= key) ++passed;
            places.push_back({order[rank], passed + static_cast<int>(rank)});
        }
        return places;
    }
    for (std::size_t rank = 0; rank < count; ++rank) {
        const int index = row(order[rank]);
        const int before = existing == 0
                               ? 0
                               : CaptionPlace(captions, exact ? std::string() : batch.Caption(index),
                                              batch.Key(index), collation, exact);
        places.push_back({order[rank], before + static_cast<int>(rank)});
    }
    return places;
}

}  // namespace kelvaro
