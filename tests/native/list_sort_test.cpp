#include "widgets/list_sort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "base/errors.h"
#include "base/integer_text.h"

namespace kelvaro {
namespace {

// Byte order, and a count of the comparisons made.
class ByteCollation : public TextCollation {
public:
    int Compare(const std::string& a, const std::string& b) const override {
        ++calls;
        return std::strcmp(a.c_str(), b.c_str());
    }
    mutable int calls = 0;
};

// Not antisymmetric: tells Compare(a, b) from a negated Compare(b, a).
class LopsidedCollation : public TextCollation {
public:
    int Compare(const std::string& a, const std::string& b) const override {
        return static_cast<int>(10 * a.size() + b.size());
    }
};

TEST(ListSortTest, SortKeyNumberConvertsWholeTextsOnly) {
    const struct {
        const char* text;
        std::int32_t number;
    } cases[] = {
        // clang-format off
        {"512", 512}, {"  42", 42}, {"-$10", -16}, {"$FFFFFFFF", 0}, {"1,024", 0}, {"\t5", 0}, {"1.5", 0},
        {"2147483647", 2147483647}, {"2147483648", 0}, {"-2147483648", INT32_MIN}, {"-2147483649", 0},
        {"$100000000", 0}, {"99999999999999999999999", 0},
        // clang-format on
    };
    for (const auto& c : cases) EXPECT_EQ(SortKeyNumber(c.text), c.number) << '"' << c.text << '"';
}

// The quick shape test in front of StrToInt must never turn away a text that StrToInt converts.
TEST(ListSortTest, SortKeyNumberAgreesWithStrToIntOnEveryShortText) {
    const std::string alphabet = " +-$09aFg,";
    std::vector<std::string> texts{""};
    for (int length = 1; length <= 4; ++length) {
        std::vector<std::string> longer;
        for (const std::string& text : texts)
            if (text.size() == static_cast<std::size_t>(length - 1))
                for (char c : alphabet) longer.push_back(text + c);
        texts.insert(texts.end(), longer.begin(), longer.end());
    }
    for (const std::string& text : texts) {
        std::int32_t expected = 0;
        try {
            expected = StrToInt(text);
        } catch (const EConvertError&) {
        }
        ASSERT_EQ(SortKeyNumber(text), expected) << '"' << text << '"';
    }
}

TEST(ListSortTest, CompareSortKeysNumbersOnlyWhenBothAreNonzero) {
    ByteCollation bytes;
    const struct {
        const char* a;
        const char* b;
        int sign;  // ascending
    } cases[] = {
        {"64", "512", -1},                 // numbers: 64 before 512, though "6" > "5"
        {"10", "9", 1},                    // numbers, though "1" < "9"
        {"$10", "9", 1},                   // 16 > 9, though "$" < "9"
        {"  50", "6", 1},                  // leading blanks still make a number
        {"1,024", "999", -1},              // grouped sizes are text: "1" < "9"
        {"0", "$1", 1},                    // 0 never counts as a number: "0" > "$"
        {"-5", "0", -1},                   // text: "-" < "0"
        {"2147483648", "5", -1},           // out of range is text: "2" < "5"
        {"007", "7", 0},                   // equal numbers
        {"abc", "abc", 0},                 // equal texts
        {"2147483647", "-2147483648", 1},  // the difference does not fit in 32 bits
        {"-2147483648", "2147483647", -1},
    };
    for (const auto& c : cases) {
        const int up = CompareSortKeys(c.a, c.b, true, bytes);
        const int down = CompareSortKeys(c.a, c.b, false, bytes);
        EXPECT_EQ((up > 0) - (up < 0), c.sign) << c.a << " vs " << c.b;
        EXPECT_EQ((down > 0) - (down < 0), -c.sign) << c.a << " vs " << c.b << " descending";
    }
    EXPECT_EQ(CompareSortKeys("64", "512", true, bytes), 64 - 512);
    EXPECT_EQ(CompareSortKeys("64", "512", false, bytes), 512 - 64);
}

TEST(ListSortTest, DescendingSwapsTheOperandsOfTheCollation) {
    LopsidedCollation lopsided;
    EXPECT_EQ(CompareSortKeys("abc", "de", true, lopsided), 32);
    EXPECT_EQ(CompareSortKeys("abc", "de", false, lopsided), 23);
    EXPECT_EQ(CompareSortKeys("1,0", "0", false, lopsided), 13);
    EXPECT_EQ(CompareSortKeys(MakeSortKey("$1"), MakeSortKey("0"), false, lopsided), 12);
}

TEST(ListSortTest, HeaderClicksReverseOnlyTheSameColumn) {
    ColumnSortState state;
    const int size = 3, name = 0;
    const struct {
        int column;
        bool ascending;
    } clicks[] = {{size, true}, {size, false}, {size, true}, {name, true}, {size, true}, {size, false}};
    for (const auto& click : clicks) {
        EXPECT_TRUE(state.HeaderClick(click.column, true));
        EXPECT_EQ(state.SortColumn, click.column);
        EXPECT_EQ(state.SortAscending, click.ascending);
    }
    EXPECT_FALSE(state.HeaderClick(size, false));
    EXPECT_FALSE(state.HeaderClick(name, false));
    EXPECT_EQ(state.SortColumn, size);
    EXPECT_FALSE(state.SortAscending);

    ColumnSortState fresh;
    EXPECT_FALSE(fresh.HeaderClick(2, false));
    EXPECT_EQ(fresh.SortColumn, -1);
    EXPECT_TRUE(fresh.SortAscending);
}

// Inserting one caption at a time must end as a stable sort of them all, in about log2(n) comparisons each.
TEST(ListSortTest, CaptionInsertPositionKeepsTheListSortedWithFewComparisons) {
    std::mt19937 random(7);
    std::vector<std::string> added, list;
    for (int i = 0; i < 3000; ++i) added.push_back(std::to_string(random() % 500) + "#" + std::to_string(i));
    ByteCollation bytes;
    const auto captionAt = [&list](int row) { return list[row].substr(0, list[row].find('#')); };
    for (const std::string& row : added) {
        const int before = bytes.calls;
        const int position = CaptionInsertPosition(static_cast<int>(list.size()), captionAt,
                                                   row.substr(0, row.find('#')), bytes);
        ASSERT_LE(bytes.calls - before, 13);  // log2(3000) rounded up
        list.insert(list.begin() + position, row);
    }
    std::vector<std::string> expected = added;
    std::stable_sort(expected.begin(), expected.end(), [](const std::string& a, const std::string& b) {
        return a.substr(0, a.find('#')) < b.substr(0, b.find('#'));
    });
    EXPECT_EQ(list, expected);

    EXPECT_EQ(CaptionInsertPosition(0, captionAt, "x", bytes), 0);
}

}  // namespace
}  // namespace kelvaro
