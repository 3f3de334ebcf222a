#include "widgets/list_rows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "base/date_time.h"
#include "base/errors.h"
#include "native/fake_platform.h"
#include "run/result_row.h"

namespace kelvaro {
namespace {

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// Case-insensitive, so that captions differing in case compare equal and keep their arrival order.
class CaseBlindCollation : public KeyedCollation {
public:
    explicit CaseBlindCollation(bool keysAgree, bool exact = false) : keysAgree_(keysAgree), exact_(exact) {}
    bool KeysAreExact() const override { return exact_; }
    int Compare(const std::string& a, const std::string& b) const override {
        const auto lower = [](char c) { return std::tolower(static_cast<unsigned char>(c)); };
        const auto [x, y] = std::mismatch(a.begin(), a.end(), b.begin(), b.end(),
                                          [&](char p, char q) { return lower(p) == lower(q); });
        if (x == a.end() || y == b.end()) return (x == a.end() ? 0 : 1) - (y == b.end() ? 0 : 1);
        return lower(*x) - lower(*y);
    }
    // Keys that disagree with the collation ("B" before "a") make every place found by key a fallback.
    std::string Key(const std::string& text) const override { return keysAgree_ ? Lower(text) : text; }

private:
    bool keysAgree_;
    bool exact_;  // lower-case keys compare exactly as the captions do
};

// Stands in for an owner-data list control: it keeps the row count and the selected and focused places;
// a removed place takes its marks with it and moves those below it up.
class FakeDisplay : public RowsDisplay {
public:
    void RowsChanging() override {}
    int SelectedCount() const override { return static_cast<int>(selected.size()); }
    std::vector<int> SelectedPlaces() const override {
        ++placesAsked;
        return {selected.begin(), selected.end()};
    }
    int FocusedPlace() const override { return focused; }
    void ShowCount(int rows) override {
        count = rows;
        std::erase_if(selected, [&](int row) { return row >= count; });
        if (focused >= count) focused = -1;
    }
    void ShowCount(int rows, const RowMarks& marks) override {
        count = rows;
        selected.clear();
        if (marks.AllSelected)
            for (int row = 0; row < count; ++row) selected.insert(row);
        selected.insert(marks.Selected.begin(), marks.Selected.end());
        focused = marks.Focused;
    }
    void RemovePlace(int row) override {
        EXPECT_LT(row, count);
        std::set<int> shifted;
        for (int place : selected)
            if (place != row) shifted.insert(place > row ? place - 1 : place);
        selected = shifted;
        focused = focused == row ? -1 : focused > row ? focused - 1 : focused;
        --count;
    }
    void RemoveAll() override {
        count = 0;
        selected.clear();
        focused = -1;
    }
    bool CaptionChanging(int) override { return allowCaptions; }
    void TextChanged(int, int) override {}

    int count = 0;
    std::set<int> selected;
    int focused = -1;
    bool allowCaptions = true;
    mutable int placesAsked = 0;
};

// The plain list the model must agree with: rows carry their own marks, every order is a stable sort of
// the whole list, every insertion a linear search.
struct ReferenceRow {
    std::vector<std::string> Texts;
    std::int64_t Data = 0;
    std::uint64_t Serial = 0;
    bool Selected = false, Focused = false;
    std::optional<std::int64_t> SizeValue;  // what a sort by column 3 compares instead of the text
    bool File = false;
};

// The columns of the file rows of the model test: a fixed text, the folder, and the size, sorted by its
// value.
class SizeColumns : public FileColumns {
public:
    int Count() const override { return 4; }
    std::string Text(const FileRowView& file, int column) const override {
        return column == 1 ? "e" : column == 2 ? file.Folder : column == 3 ? std::to_string(file.Size) : "";
    }
    std::optional<std::int64_t> Value(const FileRowView& file, int column) const override {
        if (column != 3) return std::nullopt;
        return static_cast<std::int64_t>(file.Size);
    }
};

class ReferenceList {
public:
    explicit ReferenceList(const TextCollation& collation) : collation_(collation) {}

    bool KeepsCaptions() const { return type == stText || type == stBoth; }
    void SortBy(int column, bool numbers, bool ascending) {
        std::stable_sort(rows.begin(), rows.end(), [&](const ReferenceRow& a, const ReferenceRow& b) {
            const std::string& x = column < static_cast<int>(a.Texts.size()) ? a.Texts[column] : "";
            const std::string& y = column < static_cast<int>(b.Texts.size()) ? b.Texts[column] : "";
            if (!numbers) return collation_.Compare(x, y) < 0;
            const auto key = [&](const ReferenceRow& row, const std::string& text) {
                return SortKey{text, SortKeyNumber(text), column == 3 ? row.SizeValue : std::nullopt};
            };
            return CompareSortKeys(key(a, x), key(b, y), ascending, collation_) < 0;
        });
    }
    int Add(const NewListRow& row) {
        ReferenceRow added{{row.Caption}, row.Data, row.Tags[0]};
        added.Texts.insert(added.Texts.end(), row.SubItems.begin(), row.SubItems.end());
        return Add(std::move(added));
    }
    int Add(const NewFileRow& row) {
        const std::size_t split = row.Path.find_last_of("\\:") + 1;
        const auto size = static_cast<std::int64_t>(row.Size);
        ReferenceRow added{{row.Path.substr(split), "e", row.Path.substr(0, split), std::to_string(size)},
                           size,
                           row.LastWriteTime};
        added.SizeValue = size;
        added.File = true;
        return Add(std::move(added));
    }
    int Add(ReferenceRow added) {
        std::size_t place = rows.size();
        if (KeepsCaptions()) {
            SortBy(0, false, true);
            place = 0;
            while (place < rows.size() && collation_.Compare(rows[place].Texts[0], added.Texts[0]) <= 0)
                ++place;
        }
        rows.insert(rows.begin() + static_cast<std::ptrdiff_t>(place), added);
        return static_cast<int>(place);
    }
    void Click(int column) {
        ascending = column == lastColumn ? !ascending : true;
        lastColumn = column;
        SortBy(column, true, ascending);
    }

    std::vector<ReferenceRow> rows;
    TSortType type = stNone;
    int lastColumn = -1;
    bool ascending = true;

private:
    const TextCollation& collation_;
};

// Random operations of every kind, each applied to the model (its marks kept by the stand-in control) and
// to the reference, which must agree after every step: rows, texts, values, selection and focus.
void RunRandomOperations(bool keysAgree, unsigned seed, bool exact = false) {
    const CaseBlindCollation collation(keysAgree, exact);
    FakeDisplay display;
    const SizeColumns columns;
    ListRows model(collation, display, &columns);
    ReferenceList reference(collation);
    std::mt19937 random(seed);
    const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    const char* const captions[] = {"a", "A", "b", "B", "c", "10", "9", "$1F", "-2", "ab"};
    const char* const sizes[] = {"512", "1,024", "-3", "", "x", "0", "64", "$10"};
    std::uint64_t serial = 0, goneId = 0;
    const auto newRow = [&] {
        NewListRow row{captions[pick(10)], {"e", captions[pick(10)], sizes[pick(8)]}, pick(3) - 1, pick(100)};
        row.Tags[0] = ++serial;
        return row;
    };
    const char* const folders[] = {"C:\\a\\", "C:\\B\\", "D:"};
    const auto newFileRow = [&] {
        return NewFileRow{folders[pick(3)] + std::string(captions[pick(10)]),
                          static_cast<std::uint64_t>(pick(3) * 512), ++serial};
    };
    const auto serialAt = [&](int row) { return model.Tags(row)[0]; };

    for (int step = 0; step < 1000; ++step) {
        const int count = model.Count();
        switch (pick(count == 0 ? 3 : 13)) {
            case 0:
            case 1: {
                const NewListRow row = newRow();
                ASSERT_EQ(model.AddRow(row), reference.Add(row)) << step;
                break;
            }
            case 2: {
                std::vector<NewListRow> batch;
                for (int i = pick(12); i > 0; --i) batch.push_back(newRow());
                for (const NewListRow& row : batch) reference.Add(row);
                model.AddRows(batch);
                break;
            }
            case 12: {
                std::vector<NewFileRow> batch;
                for (int i = pick(12); i > 0; --i) batch.push_back(newFileRow());
                for (const NewFileRow& row : batch) reference.Add(row);
                model.AddFileRows(batch);
                break;
            }
            case 3: {
                const TSortType type = static_cast<TSortType>(pick(4));
                if (type != reference.type && (type == stText || type == stBoth))
                    reference.SortBy(0, false, true);
                reference.type = type;
                model.SetSortType(type);
                break;
            }
            case 4: {
                const int column = pick(4);
                const bool autoSort = pick(4) != 0;
                if (autoSort) reference.Click(column);
                const int asked = display.placesAsked;
                const bool all = static_cast<int>(display.selected.size()) == count;
                EXPECT_EQ(model.HeaderClick(column, autoSort), autoSort);
                // Every row selected (Ctrl+A over a million rows) is not asked for place by place.
                if (all) {
                    EXPECT_EQ(display.placesAsked, asked);
                }
                EXPECT_EQ(model.SortState().SortColumn, reference.lastColumn);
                EXPECT_EQ(model.SortState().SortAscending, reference.ascending);
                break;
            }
            case 5: {
                const int row = pick(count);
                const std::string caption = captions[pick(10)];
                const std::vector<std::string> subItems{"f", sizes[pick(8)]};
                display.allowCaptions = pick(3) != 0;
                auto& texts = reference.rows[row].Texts;
                reference.rows[row].File = false;
                if (display.allowCaptions) texts[0] = caption;
                texts.resize(std::max<std::size_t>(texts.size(), 3));
                std::copy(subItems.begin(), subItems.end(), texts.begin() + 1);
                if (reference.KeepsCaptions()) reference.SortBy(0, false, true);
                model.SetRowTexts(row, caption, subItems);
                break;
            }
            case 6: {
                const int row = pick(count), value = pick(1000);
                reference.rows[row].Data = value;
                // A file row's data is its size, which it shows and sorts by.
                if (reference.rows[row].File) {
                    reference.rows[row].Texts[3] = std::to_string(value);
                    reference.rows[row].SizeValue = value;
                }
                if (reference.type == stData || reference.type == stBoth) reference.SortBy(0, false, true);
                model.SetRowData(row, value);
                break;
            }
            case 7:
            case 8: {
                // Ids of rows anywhere (now and then every row), and one of a row long gone.
                std::vector<std::uint64_t> ids{goneId};
                std::set<std::uint64_t> serials;
                const bool every = pick(30) == 0;
                for (int i = every ? count : pick(4); i > 0; --i) {
                    const int row = every ? i - 1 : pick(count);
                    ids.push_back(model.Id(row));
                    serials.insert(serialAt(row));
                }
                std::erase_if(reference.rows,
                              [&](const ReferenceRow& r) { return serials.count(r.Serial) > 0; });
                model.DeleteRows(ids);
                break;
            }
            case 9: {
                const int row = pick(count);
                reference.rows.erase(reference.rows.begin() + row);
                goneId = model.Id(row);
                model.DeleteRow(row);
                break;
            }
            case 10: {
                // The user selects or unselects a row, or all of them.
                const int row = pick(count + 1) - 1;
                for (int place = 0; place < count; ++place) {
                    if (row >= 0 && place != row) continue;
                    const bool select = row < 0 || !display.selected.count(place);
                    reference.rows[place].Selected = select;
                    if (select)
                        display.selected.insert(place);
                    else
                        display.selected.erase(place);
                }
                break;
            }
            default: {
                const int row = pick(count);
                for (int place = 0; place < count; ++place) reference.rows[place].Focused = place == row;
                display.focused = row;
                break;
            }
        }
        ASSERT_EQ(model.Count(), static_cast<int>(reference.rows.size())) << step;
        ASSERT_EQ(display.count, model.Count()) << step;
        for (int row = 0; row < model.Count(); ++row) {
            const ReferenceRow& expected = reference.rows[row];
            ASSERT_EQ(serialAt(row), expected.Serial) << "step " << step << " row " << row;
            for (int column = 0; column < 5; ++column)
                ASSERT_EQ(model.Text(row, column),
                          column < static_cast<int>(expected.Texts.size()) ? expected.Texts[column] : "");
            ASSERT_EQ(model.Data(row), expected.Data);
            ASSERT_EQ(model.FindRow(model.Id(row)), row);
            ASSERT_EQ(display.selected.count(row) > 0, expected.Selected)
                << "step " << step << " row " << row;
            ASSERT_EQ(display.focused == row, expected.Focused) << "step " << step << " row " << row;
        }
    }
}

TEST(ListRows, AgreesWithAPlainListThroughRandomOperations) {
    for (unsigned seed : {1u, 2u}) {
        SCOPED_TRACE(seed);
        RunRandomOperations(true, seed);
        RunRandomOperations(false, seed);
        RunRandomOperations(true, seed, true);  // keys trusted: nothing confirmed by the collation
    }
}

// Results rows of the awkward sizes and times, shown in two locales' formats: a click on Size, Date or Time
// orders them as a stable sort of the values they show, and a second click reverses it.
TEST(ListRows, ResultsSortSizeDateAndTimeByTheirValues) {
    const std::uint64_t sizes[] = {0, 3, 10, 999, 1000, 2000, 3000, 65536, 3000000, (1ull << 32) + 1};
    const int days[][3] = {{2018, 9, 20}, {2025, 12, 31}, {2026, 1, 1}, {2026, 2, 10}, {2026, 11, 3}};
    const int times[][3] = {{0, 5, 0},    {1, 0, 0},  {11, 59, 58}, {12, 0, 0},
                            {12, 30, 10}, {13, 5, 0}, {23, 59, 58}};
    std::mt19937 random(7);
    std::vector<std::pair<std::uint64_t, DosDateTimeParts>> files;
    for (int i = 0; i < 60; ++i) {
        const int* d = days[random() % std::size(days)];
        const int* t = times[random() % std::size(times)];
        files.push_back({sizes[random() % std::size(sizes)], {d[0], d[1], d[2], t[0], t[1], t[2]}});
    }
    // What each column shows, as one number: the bytes; the date and time; the time alone.
    const auto shownValue = [&](int column, std::int64_t file) -> std::int64_t {
        const auto& [size, w] = files[static_cast<std::size_t>(file)];
        const std::int64_t time = (w.hour * 100LL + w.minute) * 100 + w.second;
        if (column == 3) return static_cast<std::int64_t>(size);
        return column == 4 ? ((w.year * 100LL + w.month) * 100 + w.day) * 1000000 + time : time;
    };
    for (const auto& [separator, pattern] : {std::pair(",", "M/d/yyyy"), std::pair(".", "dd.MM.yyyy")}) {
        testing::FixedLocale locale;
        locale.separator = separator;
        locale.datePattern = pattern;
        const CaseBlindCollation collation(true);
        FakeDisplay display;
        const ResultColumns columns(locale);
        ListRows model(collation, display, &columns);
        for (std::size_t i = 0; i < files.size(); ++i) {
            const std::uint32_t dos = MakeDosDateTime(files[i].second);
            // A FILETIME's scale: 100 ns steps.
            const auto lastWrite =
                static_cast<std::uint64_t>(DosDateTimeToDateTime(dos) * 86400.0 + 0.5) * 10000000;
            // The volume number names the file.
            model.AddFileRows({{"C:\\f" + std::to_string(i), files[i].first, lastWrite, dos, i}});
        }
        const auto shownFiles = [&] {
            std::vector<std::int64_t> order;
            for (int row = 0; row < model.Count(); ++row)
                order.push_back(static_cast<std::int64_t>(model.Tags(row)[1]));
            return order;
        };
        for (int column = 3; column <= 5; ++column) {
            for (bool ascending : {true, false}) {
                SCOPED_TRACE(pattern + std::string(" column ") + std::to_string(column) +
                             (ascending ? " ascending" : " descending"));
                // Each click sorts the rows as they stand, so the reference does too.
                std::vector<std::int64_t> expected = shownFiles();
                std::stable_sort(expected.begin(), expected.end(), [&](std::int64_t a, std::int64_t b) {
                    return ascending ? shownValue(column, a) < shownValue(column, b)
                                     : shownValue(column, b) < shownValue(column, a);
                });
                model.HeaderClick(column, true);
                ASSERT_EQ(shownFiles(), expected);
            }
        }
    }
}

TEST(ListRows, RowsThatDoNotExistReadAsNothingAndThrowWhenChanged) {
    const CaseBlindCollation collation(true);
    FakeDisplay display;
    ListRows model(collation, display);
    model.AddRow({"a", {"b"}, 4, 9, {1, 2, 3}, 5});
    EXPECT_EQ(model.Text(0, 1), "b");
    EXPECT_EQ(model.Rule(0), 5);
    EXPECT_EQ(model.ImageIndex(0), 4);
    for (int row : {-1, 1}) {
        EXPECT_EQ(model.Text(row, 0), "");
        EXPECT_EQ(model.Data(row), 0);
        EXPECT_EQ(model.Tags(row), RowTags{});
        EXPECT_EQ(model.Rule(row), 0);
        EXPECT_EQ(model.ImageIndex(row), -1);
        EXPECT_EQ(model.Id(row), 0u);
        EXPECT_THROW(model.DeleteRow(row), Exception);
        EXPECT_THROW(model.SetRowData(row, 1), Exception);
        EXPECT_THROW(model.SetRowTexts(row, "x", {}), Exception);
    }
    EXPECT_EQ(model.FindRow(0), -1);
    EXPECT_EQ(model.Text(0, 2), "");
}

TEST(ListRows, FindCaptionSearchesFromTheStartRowAndWrapsOnlyWhenAsked) {
    const CaseBlindCollation collation(true);
    FakeDisplay display;
    ListRows model(collation, display);
    for (const char* caption : {"x1", "y", "x2", "z"}) model.AddRow({caption});
    const auto isX = [](const std::string& caption) { return caption[0] == 'x'; };
    EXPECT_EQ(model.FindCaption(1, false, isX), 2);
    EXPECT_EQ(model.FindCaption(3, false, isX), -1);
    EXPECT_EQ(model.FindCaption(3, true, isX), 0);
    EXPECT_EQ(model.FindCaption(-5, false, isX), 0);  // out of range: from the top
    EXPECT_EQ(model.FindCaption(9, false, isX), 0);
    model.Clear();
    EXPECT_EQ(model.FindCaption(0, true, isX), -1);
}

}  // namespace
}  // namespace kelvaro
