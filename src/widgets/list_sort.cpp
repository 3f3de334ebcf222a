#include "widgets/list_sort.h"

#include <climits>

#include "base/errors.h"
#include "base/integer_text.h"

namespace kelvaro {
namespace {

bool IsDigitOfBase(char c, bool hex) {
    if (c >= '0' && c <= '9') return true;
    return hex && ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'));
}

// The shape StrToInt accepts, range aside. Most key texts of a list ("1,024", names, dates) are not numbers,
// and an exception per row would cost more than the sort itself; only a text of this shape can convert.
bool LooksLikeInteger(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    const bool hex = i < text.size() && text[i] == '$';
    if (hex) ++i;
    if (i == text.size()) return false;
    for (; i < text.size(); ++i)
        if (!IsDigitOfBase(text[i], hex)) return false;
    return true;
}

}  // namespace

std::int32_t SortKeyNumber(const std::string& text) {
    if (!LooksLikeInteger(text)) return 0;
    try {
        return StrToInt(text);
    } catch (const EConvertError&) {
        return 0;  // out of range
    }
}

SortKey MakeSortKey(std::string text) {
    const std::int32_t number = SortKeyNumber(text);
    return {std::move(text), number};
}

namespace {

// The order both comparisons share; texts compares two keys' texts, first operand first.
template <typename Key, typename Texts>
int CompareKeys(const Key& a, const Key& b, bool ascending, bool aHasValue, bool bHasValue,
                std::int64_t aValue, std::int64_t bValue, Texts texts) {
    if (aHasValue || bHasValue) {
        // Values give a true order, which the texts' mix of numbers and words does not.
        const bool firstHas = ascending ? aHasValue : bHasValue,
                   secondHas = ascending ? bHasValue : aHasValue;
        const std::int64_t first = ascending ? aValue : bValue, second = ascending ? bValue : aValue;
        if (!firstHas || !secondHas) return firstHas ? -1 : 1;
        return first < second ? -1 : first > second ? 1 : 0;
    }
    if (a.Number != 0 && b.Number != 0) {
        // 64 bits: 2147483647 - (-5) must stay positive.
        const std::int64_t difference =
            ascending ? std::int64_t{a.Number} - b.Number : std::int64_t{b.Number} - a.Number;
        if (difference > INT_MAX) return INT_MAX;
        if (difference < -INT_MAX) return -INT_MAX;
        return static_cast<int>(difference);
    }
    return ascending ? texts(a, b) : texts(b, a);
}

}  // namespace

int CompareSortKeys(const SortKey& a, const SortKey& b, bool ascending, const TextCollation& collation) {
    return CompareKeys(
        a, b, ascending, a.Value.has_value(), b.Value.has_value(), a.Value.value_or(0), b.Value.value_or(0),
        [&collation](const SortKey& x, const SortKey& y) { return collation.Compare(x.Text, y.Text); });
}

int CompareKeyedEntries(const KeyedSortEntry& a, const KeyedSortEntry& b, bool ascending) {
    return CompareKeys(a, b, ascending, a.HasValue, b.HasValue, a.Value, b.Value,
                       [](const KeyedSortEntry& x, const KeyedSortEntry& y) {
                           return x.Rank < y.Rank ? -1 : x.Rank > y.Rank ? 1 : 0;
                       });
}

int CompareSortKeys(const std::string& a, const std::string& b, bool ascending,
                    const TextCollation& collation) {
    return CompareSortKeys(SortKey{a, SortKeyNumber(a), {}}, SortKey{b, SortKeyNumber(b), {}}, ascending,
                           collation);
}

bool ColumnSortState::HeaderClick(int column, bool autoSort) {
    if (!autoSort) return false;
    SortAscending = column == SortColumn ? !SortAscending : true;
    SortColumn = column;
    return true;
}

int CaptionInsertPosition(int rowCount, const std::function<std::string(int row)>& captionAt,
                          const std::string& caption, const TextCollation& collation) {
    int low = 0, high = rowCount;
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (collation.Compare(captionAt(middle), caption) <= 0)
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

}  // namespace kelvaro
