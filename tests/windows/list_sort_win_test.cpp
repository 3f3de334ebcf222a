// The results list's header-click sorts and caption order, made by the platform's collation keys, against
// stable sorts by the platform's own comparison of every pair (CompareStringA in the user's locale), over
// generated names in the letters of several languages that the ANSI code page holds.
#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "platform/locale_formats.h"
#include "run/result_row.h"
#include "widgets/list_rows.h"
#include "widgets/platform_collation_win.h"

namespace kelvaro::testing {
namespace {

// The comparison a sort without keys makes, asked directly.
class CompareStringCollation : public TextCollation {
public:
    int Compare(const std::string& a, const std::string& b) const override {
        return CompareStringA(GetThreadLocale(), 0, a.c_str(), -1, b.c_str(), -1) - CSTR_EQUAL;
    }
};

// The platform's collation and keys, with a count of the comparisons asked of it.
class CountingCollation : public KeyedCollation {
public:
    int Compare(const std::string& a, const std::string& b) const override {
        ++calls;
        return PlatformCollation().Compare(a, b);
    }
    std::string Key(const std::string& text) const override { return PlatformCollation().Key(text); }
    mutable int calls = 0;
};

class NoDisplay : public RowsDisplay {
public:
    void RowsChanging() override {}
    int SelectedCount() const override { return 0; }
    std::vector<int> SelectedPlaces() const override { return {}; }
    int FocusedPlace() const override { return -1; }
    void ShowCount(int) override {}
    void ShowCount(int, const RowMarks&) override {}
    void RemovePlace(int) override {}
    void RemoveAll() override {}
    bool CaptionChanging(int) override { return true; }
    void TextChanged(int, int) override {}
};

// Names of one to three pieces: accented and plain letters in both cases, letters that sort as two
// (ß, æ, œ), digits and whole numbers, punctuation that the comparison weighs lightly, and repeats.
std::vector<NewFileRow> GeneratedFiles(int count, unsigned seed, int firstNumber = 0) {
    const std::vector<std::string> pieces = {
        "a",    "A",  "e",    "\xe9", "\xc9", "\xe8", "s",    "ss",   "\xdf", "\xe6", "ae",   "\xc6",
        "\x9c", "oe", "\x8c", "o",    "\xf8", "\xd8", "\xe5", "\xc5", "aa",   "y",    "\xff", "\x9f",
        "z",    "Z",  "\x8e", "\x9e", "\xfc", "\xdc", "n",    "\xf1", "\xd1", "th",   "\xfe", "\xde",
        "-",    "'",  "_",    " ",    "~",    "!",    "(",    "0",    "1",    "2",    "9",    "10"};
    const std::vector<std::string> extensions = {".tmp", ".TMP",   ".t\xe9", ".1",
                                                 "",     ".\xc5r", ".bak",   ".b-k"};
    const std::vector<std::string> folders = {"C:\\Temp\\",  "C:\\temp\\",      "C:\\T\xe9mp\\",
                                              "D:\\\xc5r\\", "C:\\Temp\\Sub\\", "C:\\Te-mp\\"};
    std::mt19937 random(seed);
    const auto pick = [&](const std::vector<std::string>& from) { return from[random() % from.size()]; };
    std::vector<NewFileRow> files;
    for (int i = 0; i < count; ++i) {
        std::string name;
        if (random() % 20 == 0) {
            name = std::to_string(static_cast<int>(random() % 40) - 10);  // a whole number
        } else {
            for (int piece = 1 + static_cast<int>(random() % 3); piece > 0; --piece) name += pick(pieces);
            name += pick(extensions);
        }
        const std::uint32_t dos =
            (46u << 25) | (1u << 21) | ((1 + random() % 28) << 16) | (random() % 0xBFFF);
        // The volume number tells the files apart; some share a size and a time.
        files.push_back({pick(folders) + name, random() % 5 * 100, random() % 4, dos,
                         static_cast<std::uint64_t>(firstNumber + i)});
    }
    return files;
}

std::vector<std::uint64_t> Files(const ListRows& rows) {
    std::vector<std::uint64_t> files;
    for (int row = 0; row < rows.Count(); ++row) files.push_back(rows.Tags(row)[1]);
    return files;
}

// A results list over the platform's own locale formats and collation.
class ListSortWin : public ::testing::Test {
protected:
    const std::unique_ptr<LocaleFormats> locale = MakePlatformLocaleFormats();
    const ResultColumns columns{*locale};
    const CountingCollation keyed;
    const CompareStringCollation compare;
    NoDisplay display;
    ListRows model{keyed, display, &columns};
};

TEST_F(ListSortWin, HeaderClicksOrderRowsAsTheComparisonOfEveryPairDoes) {
    // Rows that come after a sort by name take their places among its ranks too.
    model.AddFileRows(GeneratedFiles(2000, 5));
    model.HeaderClick(0, true);
    model.AddFileRows(GeneratedFiles(1000, 6, 2000));
    model.HeaderClick(3, true);
    // Name, Ext and Location; Size, Date and Time sort by values, whatever the texts say.
    for (int column = 0; column < 3; ++column) {
        for (bool ascending : {true, false}) {
            SCOPED_TRACE("column " + std::to_string(column) + (ascending ? " ascending" : " descending"));
            // What the sort compared before keys: each row's text (or value) with the comparison itself.
            std::vector<int> expected(static_cast<std::size_t>(model.Count()));
            std::vector<SortKey> keys;
            for (int row = 0; row < model.Count(); ++row) {
                expected[static_cast<std::size_t>(row)] = row;
                keys.push_back(MakeSortKey(model.Text(row, column)));
            }
            const std::vector<std::uint64_t> before = Files(model);
            keyed.calls = 0;
            model.HeaderClick(column, true);
            std::stable_sort(expected.begin(), expected.end(), [&](int a, int b) {
                return CompareSortKeys(keys[a], keys[b], ascending, compare) < 0;
            });
            std::vector<std::uint64_t> wanted;
            for (int row : expected) wanted.push_back(before[static_cast<std::size_t>(row)]);
            ASSERT_EQ(Files(model), wanted);
            // The keys decided; the comparison only confirmed each row's neighbour.
            EXPECT_LT(keyed.calls, model.Count());
        }
    }
}

// Rows kept in caption order as batches of them come, as a run's rules add their files.
TEST_F(ListSortWin, BatchesLandInTheComparisonsOrder) {
    model.SetSortType(stBoth);
    std::vector<NewFileRow> all;
    for (unsigned batch = 0; batch < 3; ++batch) {
        const std::vector<NewFileRow> files =
            GeneratedFiles(1000, 20 + batch, static_cast<int>(batch) * 1000);
        all.insert(all.end(), files.begin(), files.end());
        model.AddFileRows(files);
    }
    std::vector<std::uint64_t> wanted;
    std::stable_sort(all.begin(), all.end(), [&](const NewFileRow& a, const NewFileRow& b) {
        return compare.Compare(a.Path.substr(a.Path.rfind('\\') + 1), b.Path.substr(b.Path.rfind('\\') + 1)) <
               0;
    });
    for (const NewFileRow& file : all) wanted.push_back(file.Volume);
    EXPECT_EQ(Files(model), wanted);
}

}  // namespace
}  // namespace kelvaro::testing
