#pragma once
// How the sortable list view orders its rows: the key comparison of a header-click sort (whole numbers
// numerically, everything else by the platform's collation), what a header click does to the remembered
// column and direction, and where a row goes in a list kept in caption order.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace kelvaro {

// When the list re-sorts itself by caption: stText/stBoth whenever a caption is set, stData/stBoth whenever
// a row's data value is set.
enum TSortType { stNone, stData, stText, stBoth };

// The whole text as a 32-bit integer as the program converts numbers (StrToInt: leading blanks, sign,
// decimal or "$" hexadecimal); a text that does not convert, or is out of range, gives 0.
std::int32_t SortKeyNumber(const std::string& text);

// The platform's locale-aware, case-sensitive comparison (lstrcmpA on Windows); tests use a stand-in.
class TextCollation {
public:
    virtual ~TextCollation() = default;
    virtual int Compare(const std::string& a, const std::string& b) const = 0;
};

// A key text with its number worked out once, so that a sort converts each row once, not per comparison.
// A key with a value (a size, a time) sorts by that value alone.
struct SortKey {
    std::string Text;
    std::int32_t Number = 0;
    std::optional<std::int64_t> Value;
};
SortKey MakeSortKey(std::string text);

// Both with values: by value, equal values equal; a key with a value before one without (ascending).
// Otherwise both numbers nonzero: nA - nB ascending, nB - nA descending (clamped, never overflowing);
// otherwise collation(A, B) ascending and collation(B, A) descending: descending swaps the operands rather
// than negating the result.
int CompareSortKeys(const SortKey& a, const SortKey& b, bool ascending, const TextCollation& collation);
int CompareSortKeys(const std::string& a, const std::string& b, bool ascending,
                    const TextCollation& collation);

// A row's key in a header-click sort made by collation keys instead of the collation itself: the rank of
// the text's collation key among the column's keys in byte order (equal keys, equal ranks; the keys'
// byte order stands in for the collation), the text's number, or a value.
struct KeyedSortEntry {
    std::uint32_t Rank = 0;
    std::int32_t Number = 0;
    bool HasValue = false;
    std::int64_t Value = 0;
};
// As CompareSortKeys, with the ranks of the keys in place of the collation of the texts.
int CompareKeyedEntries(const KeyedSortEntry& a, const KeyedSortEntry& b, bool ascending);

// The column and direction of the last header-click sort.
struct ColumnSortState {
    int SortColumn = -1;  // -1: no header-click sort yet
    bool SortAscending = true;

    // A click on the header of column (0 = caption). With autoSort off nothing changes and false is returned;
    // otherwise a click on the column sorted last reverses the direction, a click on another column starts
    // ascending, and true says the list must now be sorted by SortColumn / SortAscending.
    bool HeaderClick(int column, bool autoSort);
};

// Where a row with this caption goes in a list of rowCount rows already in ascending caption order:
// after every row whose caption does not sort after it, so rows with equal captions keep the order in
// which they came. Binary search: about log2(rowCount) comparisons.
int CaptionInsertPosition(int rowCount, const std::function<std::string(int row)>& captionAt,
                          const std::string& caption, const TextCollation& collation);

}  // namespace kelvaro
