#include "widgets/list_rows.h"

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <unordered_map>
#include <unordered_set>

#include "base/errors.h"

namespace kelvaro {
namespace {

// Calls setRank(i, rank) with the rank of each of count keys (keyOf(i)) among them in byte order; equal
// keys have equal ranks.
template <typename KeyOf, typename SetRank>
void RankKeys(std::size_t count, const KeyOf& keyOf, const SetRank& setRank) {
    std::vector<std::size_t> byKey(count);
    std::iota(byKey.begin(), byKey.end(), std::size_t{0});
    const auto keyLess = [&](std::size_t a, std::size_t b) { return keyOf(a) < keyOf(b); };
    // Keys of a list kept in caption order are most often in order already: one pass instead of a sort.
    if (!std::is_sorted(byKey.begin(), byKey.end(), keyLess)) std::sort(byKey.begin(), byKey.end(), keyLess);
    std::uint32_t rank = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0 && keyOf(byKey[i]) != keyOf(byKey[i - 1])) ++rank;
        setRank(byKey[i], rank);
    }
}

// The rank of each text's collation key among the texts' keys, by the texts' numbers.
std::vector<std::uint32_t> KeyRanks(const std::unordered_map<std::string, std::uint32_t>& numbers,
                                    const KeyedCollation& collation) {
    std::vector<std::string> keys(numbers.size());
    for (const auto& [text, number] : numbers) keys[number] = collation.Key(text);
    std::vector<std::uint32_t> ranks(keys.size());
    RankKeys(
        keys.size(), [&](std::size_t i) -> const std::string& { return keys[i]; },
        [&](std::size_t i, std::uint32_t rank) { ranks[i] = rank; });
    return ranks;
}

}  // namespace

// The list's rows in row order, as the caption place finding sees them.
class ListRows::RowCaptions final : public CaptionKeys {
public:
    RowCaptions(const ListRows& list, const std::vector<Row>& rows) : list_(list), rows_(rows) {}
    int Size() const override { return static_cast<int>(rows_.size()); }
    std::string_view Key(int row) const override { return list_.CaptionKey(rows_[row]); }
    std::string Caption(int row) const override { return list_.Caption(rows_[row]); }

private:
    const ListRows& list_;
    const std::vector<Row>& rows_;
};

ListRows::ListRows(const KeyedCollation& collation, RowsDisplay& display, const FileColumns* columns)
    : collation_(collation), display_(display), columns_(columns) {}

void ListRows::SetSortType(TSortType type) {
    if (type == sortType_) return;
    sortType_ = type;
    if (KeepsCaptionOrder() && !captionOrdered_) SortByCaption();
}

bool ListRows::HeaderClick(int column, bool autoSort) {
    if (!sortState_.HeaderClick(column, autoSort)) return false;
    Resort();
    return true;
}

void ListRows::Resort() {
    SortByColumn(sortState_.SortColumn, sortState_.SortAscending);
}

void ListRows::SortByColumn(int column, bool ascending) {
    if (column < 0) return;
    SortRows(column, true, ascending);
    captionOrdered_ = false;
}

// The default comparison: the collation of the captions, ascending, with no numbers.
void ListRows::SortByCaption() {
    SortRows(0, false, true);
    captionOrdered_ = true;
}

void ListRows::SortRows(int column, bool numbers, bool ascending) {
    std::vector<std::size_t> order = KeyedOrder(column, numbers, ascending);
    if (order.size() != rows_.size()) order = CollatedOrder(column, numbers, ascending);
    const Marks marks = NoteMarks(nextRowId_);
    Reorder(order);
    display_.RowsChanging();
    RestoreMarks(marks);
}

std::vector<std::size_t> ListRows::KeyedOrder(int column, bool numbers, bool ascending) {
    const std::size_t count = rows_.size();
    constexpr std::uint32_t kNoGroup = UINT32_MAX;
    std::vector<KeyedSortEntry> entries(count);
    // Rows of one text (an extension, a folder) share a group: its key is made and ranked once, and
    // neighbours in one group need no confirming.
    std::vector<std::uint32_t> groups(count, kNoGroup);
    if (column == 0) KnowRanks();
    std::unordered_map<std::string, std::uint32_t> groupOfText;
    for (std::size_t place = 0; place < count; ++place) {
        const Row& row = rows_[place];
        KeyedSortEntry& entry = entries[place];
        if (const auto value = numbers ? Value(row, column) : std::nullopt) {
            entry.HasValue = true;
            entry.Value = *value;
            continue;
        }
        if (column == 0) {
            entry.Rank = row.Rank;
            if (numbers) entry.Number = SortKeyNumber(Caption(row));
            continue;
        }
        std::string text = Text(static_cast<int>(place), column);
        if (numbers) entry.Number = SortKeyNumber(text);
        groups[place] =
            groupOfText.try_emplace(std::move(text), static_cast<std::uint32_t>(groupOfText.size()))
                .first->second;
    }
    if (!groupOfText.empty()) {
        const std::vector<std::uint32_t> rankOfGroup = KeyRanks(groupOfText, collation_);
        for (std::size_t place = 0; place < count; ++place)
            if (groups[place] != kNoGroup) entries[place].Rank = rankOfGroup[groups[place]];
    }
    std::vector<std::size_t> order(count);
    std::iota(order.begin(), order.end(), std::size_t{0});
    // Stable: rows whose keys compare equal keep their order.
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return CompareKeyedEntries(entries[a], entries[b], ascending) < 0;
    });
    // The keys only stand in for the collation: the order stands when the collation puts each row after
    // its neighbour, equal ones in the order they were. Values, pairs of numbers and equal texts were
    // compared exactly.
    if (collation_.KeysAreExact()) return order;
    const auto text = [&](std::size_t place) {
        return column == 0 ? Caption(rows_[place]) : Text(static_cast<int>(place), column);
    };
    std::string before, after;
    std::size_t known = count;  // the place whose text is in before
    for (std::size_t rank = 1; rank < count; ++rank) {
        const std::size_t a = order[rank - 1], b = order[rank];
        const KeyedSortEntry &first = entries[a], &second = entries[b];
        if (first.HasValue || second.HasValue || (first.Number && second.Number)) continue;
        if (groups[a] != kNoGroup && groups[a] == groups[b]) continue;
        if (known != a) before = text(a);
        after = text(b);
        const int comparison = before == after ? 0
                               : ascending     ? collation_.Compare(before, after)
                                               : collation_.Compare(after, before);
        if (comparison > 0 || (comparison == 0 && a > b)) return {};
        std::swap(before, after);
        known = b;
    }
    return order;
}

void ListRows::KnowRanks() {
    if (ranksKnown_) return;
    KnowKeys();
    RankKeys(
        rows_.size(), [&](std::size_t i) { return CaptionKey(rows_[i]); },
        [&](std::size_t i, std::uint32_t rank) { rows_[i].Rank = rank; });
    ranksKnown_ = true;
}

std::vector<std::size_t> ListRows::CollatedOrder(int column, bool numbers, bool ascending) const {
    // Each key is read and converted once, not per comparison.
    std::vector<SortKey> keys;
    keys.reserve(rows_.size());
    for (std::size_t place = 0; place < rows_.size(); ++place) {
        std::string text = Text(static_cast<int>(place), column);
        keys.push_back(numbers ? MakeSortKey(std::move(text)) : SortKey{std::move(text), 0, {}});
        if (numbers) keys.back().Value = Value(rows_[place], column);
    }
    std::vector<std::size_t> order(rows_.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return CompareSortKeys(keys[a], keys[b], ascending, collation_) < 0;
    });
    return order;
}

void ListRows::Reorder(const std::vector<std::size_t>& order) {
    std::vector<Row> sorted;
    sorted.reserve(rows_.size());
    for (std::size_t place : order) sorted.push_back(rows_[place]);
    rows_ = std::move(sorted);
}

ListRows::Marks ListRows::NoteMarks(std::uint64_t newFrom) const {
    Marks marks;
    const int selected = display_.SelectedCount();
    // Every row selected (Ctrl+A) is noted as such: asking for a million places one by one takes seconds.
    if (selected > 0 && selected == Count()) {
        marks.All = true;
        marks.AllBefore = newFrom;
    } else if (selected > 0) {
        for (int row : display_.SelectedPlaces())
            if (const Row* found = Find(row)) marks.Selected.push_back(found->Id);
    }
    if (const Row* found = Find(display_.FocusedPlace())) marks.Focused = found->Id;
    return marks;
}

void ListRows::RestoreMarks(const Marks& marks) {
    const int count = Count();
    if (marks.Empty()) {
        display_.ShowCount(count);
        return;
    }
    const std::unordered_set<std::uint64_t> chosen(marks.Selected.begin(), marks.Selected.end());
    RowMarks placed;
    for (int row = 0; row < count; ++row) {
        const std::uint64_t id = rows_[static_cast<std::size_t>(row)].Id;
        // The rows that were there when every row was selected have the ids made before.
        if (marks.All ? id < marks.AllBefore : chosen.count(id) > 0) placed.Selected.push_back(row);
        if (id == marks.Focused) placed.Focused = row;
    }
    if (static_cast<int>(placed.Selected.size()) == count) {
        placed.AllSelected = true;
        placed.Selected.clear();
    }
    display_.ShowCount(count, placed);
}

std::string ListRows::Caption(const Row& row) const {
    return row.File ? std::string(files_.Name(row.Item)) : texts_[row.Item].Texts.front();
}

std::string_view ListRows::CaptionKey(const Row& row) const {
    if (!row.File) return texts_[row.Item].Key;
    const FileRows::Record& record = files_.At(row.Item);
    return fileKeys_.Get(record.KeyAt, record.KeyLength);
}

void ListRows::SetCaptionKey(const Row& row, const std::string& key) {
    if (!row.File) {
        texts_[row.Item].Key = key;
        return;
    }
    FileRows::Record& record = files_.At(row.Item);
    record.KeyAt = fileKeys_.Add(key);
    record.KeyLength = static_cast<std::uint32_t>(key.size());
}

void ListRows::KnowKeys() {
    if (keysKnown_) return;
    // Made again from the start: the keys of rows gone since are dropped.
    fileKeys_.Clear();
    for (const Row& row : rows_) SetCaptionKey(row, collation_.Key(Caption(row)));
    keysKnown_ = true;
}

std::optional<std::int64_t> ListRows::Value(const Row& row, int column) const {
    if (row.File) {
        if (column <= 0 || !columns_) return std::nullopt;
        return columns_->Value(files_.View(row.Item), column);
    }
    std::optional<std::int64_t> found;
    for (const ColumnValue& value : texts_[row.Item].Values)
        if (value.Column == column) found = value.Value;
    return found;
}

int ListRows::AddRow(NewListRow row) {
    const int count = Count();
    int position = count;
    const bool captions = KeepsCaptionOrder();
    if (captions && !captionOrdered_) SortByCaption();
    if (captions) KnowKeys();
    const Row made = MakeTextRow(std::move(row));
    if (captions) {
        const std::string caption = Caption(made);
        SetCaptionKey(made, collation_.Key(caption));
        position = CaptionPlace(RowCaptions(*this, rows_), caption, CaptionKey(made), collation_,
                                collation_.KeysAreExact());
    } else {
        // Only a list kept in caption order needs the keys.
        captionOrdered_ = count == 0;
        keysKnown_ = false;
    }
    ranksKnown_ = false;
    display_.RowsChanging();
    const Marks marks = position < count ? NoteMarks(made.Id) : Marks{};
    rows_.insert(rows_.begin() + position, made);
    RestoreMarks(marks);
    return position;
}

void ListRows::AddRows(std::vector<NewListRow> rows) {
    if (!KeepsCaptionOrder()) {
        for (NewListRow& row : rows) AddRow(std::move(row));
        return;
    }
    if (rows.empty()) return;
    std::vector<Row> made;
    made.reserve(rows.size());
    for (NewListRow& row : rows) made.push_back(MakeTextRow(std::move(row)));
    MergeInCaptionOrder(made);
}

void ListRows::AddFileRows(const std::vector<NewFileRow>& rows) {
    if (rows.empty()) return;
    if (!KeepsCaptionOrder()) {
        // Appended: the rows above keep their places and marks.
        captionOrdered_ = rows_.empty() && rows.size() == 1;
        keysKnown_ = ranksKnown_ = false;
        display_.RowsChanging();
        for (const NewFileRow& row : rows) rows_.push_back(MakeFileRow(row));
        display_.ShowCount(Count());
        return;
    }
    std::vector<Row> made;
    made.reserve(rows.size());
    for (const NewFileRow& row : rows) made.push_back(MakeFileRow(row));
    MergeInCaptionOrder(made);
}

void ListRows::MergeInCaptionOrder(const std::vector<Row>& made) {
    if (!captionOrdered_) SortByCaption();
    KnowKeys();
    for (const Row& row : made) SetCaptionKey(row, collation_.Key(Caption(row)));
    const std::vector<BatchPlace> places = BatchPlaces(RowCaptions(*this, rows_), RowCaptions(*this, made),
                                                       collation_, collation_.KeysAreExact());
    ranksKnown_ = false;
    display_.RowsChanging();
    const Marks marks = NoteMarks(made.front().Id);
    // In one pass: the places count the new rows before them, and come in row order.
    std::vector<Row> merged;
    merged.reserve(rows_.size() + made.size());
    std::size_t old = 0;
    for (const BatchPlace& place : places) {
        while (static_cast<int>(merged.size()) < place.Row) merged.push_back(rows_[old++]);
        merged.push_back(made[place.Index]);
    }
    while (old < rows_.size()) merged.push_back(rows_[old++]);
    rows_ = std::move(merged);
    RestoreMarks(marks);
}

ListRows::Row ListRows::MakeTextRow(NewListRow row) {
    Record record;
    record.Data = row.Data;
    record.Tags = row.Tags;
    record.Rule = row.Rule;
    record.Values = std::move(row.Values);
    record.ImageIndex = row.ImageIndex < 0 ? -1 : row.ImageIndex;
    record.Texts.reserve(row.SubItems.size() + 1);
    record.Texts.push_back(std::move(row.Caption));
    for (std::string& text : row.SubItems) record.Texts.push_back(std::move(text));
    texts_.push_back(std::move(record));
    return {nextRowId_++, static_cast<std::uint32_t>(texts_.size() - 1), 0, false};
}

ListRows::Row ListRows::MakeFileRow(const NewFileRow& row) {
    return {nextRowId_++, files_.Add(row), 0, true};
}

void ListRows::CheckRow(int row) const {
    if (row < 0 || row >= Count()) throw Exception("List index out of bounds (" + std::to_string(row) + ")");
}

void ListRows::SetRowTexts(int row, const std::string& caption, const std::vector<std::string>& subItems) {
    CheckRow(row);
    Row& changed = rows_[static_cast<std::size_t>(row)];
    if (changed.File) {
        // Texts of its own from now on: the ones it showed, then the new ones.
        const FileRows::Record& file = files_.At(changed.Item);
        Record record{Data(row),
                      Tags(row),
                      file.Rule,
                      file.ImageIndex,
                      {},
                      {},
                      keysKnown_ ? std::string(CaptionKey(changed)) : std::string()};
        for (int column = 0; column < (columns_ ? columns_->Count() : 1); ++column) {
            record.Texts.push_back(Text(row, column));
            if (const auto value = Value(changed, column)) record.Values.push_back({column, *value});
        }
        texts_.push_back(std::move(record));
        changed.Item = static_cast<std::uint32_t>(texts_.size() - 1);
        changed.File = false;
    }
    const auto setText = [&](std::size_t column, const std::string& text) {
        auto& texts = texts_[changed.Item].Texts;
        if (column >= texts.size()) texts.resize(column + 1);
        if (texts[column] == text) return;
        // The display cannot see a caption change coming from the control: it is asked here.
        if (column == 0 && !display_.CaptionChanging(row)) return;
        texts_[changed.Item].Texts[column] = text;
        if (column == 0 && keysKnown_) SetCaptionKey(changed, collation_.Key(text));
        if (column == 0) ranksKnown_ = false;
        display_.TextChanged(row, static_cast<int>(column));
    };
    setText(0, caption);
    for (std::size_t i = 0; i < subItems.size(); ++i) setText(i + 1, subItems[i]);
    const bool fits = captionOrdered_ && CaptionFitsAt(row);
    if (KeepsCaptionOrder() && !fits)
        SortByCaption();
    else
        captionOrdered_ = fits;
}

void ListRows::SetRowData(int row, std::int64_t value) {
    CheckRow(row);
    Row& changed = rows_[static_cast<std::size_t>(row)];
    if (changed.File)
        files_.At(changed.Item).Size = static_cast<std::uint64_t>(value);
    else
        texts_[changed.Item].Data = value;
    if ((sortType_ == stData || sortType_ == stBoth) && !captionOrdered_) SortByCaption();
}

bool ListRows::CaptionFitsAt(int row) const {
    const std::string caption = Caption(rows_[row]);
    if (row > 0 && collation_.Compare(Caption(rows_[row - 1]), caption) > 0) return false;
    return row + 1 >= Count() || collation_.Compare(caption, Caption(rows_[row + 1])) <= 0;
}

void ListRows::DeleteRow(int row) {
    CheckRow(row);
    DeleteRows({rows_[row].Id});
}

void ListRows::DeleteRows(const std::vector<std::uint64_t>& ids) {
    const std::unordered_set<std::uint64_t> doomed(ids.begin(), ids.end());
    // Every row going (as after an automatic run's delete) is one clear rather than a removal per row.
    if (!rows_.empty() &&
        std::all_of(rows_.begin(), rows_.end(), [&](const Row& row) { return doomed.count(row.Id) > 0; })) {
        Clear();
        return;
    }
    bool removed = false;
    // From the bottom up: the display moves the marks of the rows below each removed one up a row, and the
    // rows still to be looked at keep their places here and there. The display hears of each row while it
    // is still here; the gaps are closed once at the end. A file row's facts stay in the store until the
    // list is cleared.
    for (int row = Count() - 1; row >= 0; --row) {
        Row& gone = rows_[static_cast<std::size_t>(row)];
        if (!doomed.count(gone.Id)) continue;
        if (!removed) display_.RowsChanging();
        removed = true;
        display_.RemovePlace(row);
        if (!gone.File) texts_[gone.Item] = Record{};
        gone.Id = 0;
    }
    if (removed) std::erase_if(rows_, [](const Row& row) { return row.Id == 0; });
}

void ListRows::Clear() {
    display_.RemoveAll();
    std::vector<Row>().swap(rows_);
    std::vector<Record>().swap(texts_);
    files_.Clear();
    fileKeys_.Clear();
    keysKnown_ = ranksKnown_ = true;
    captionOrdered_ = true;
}

const ListRows::Row* ListRows::Find(int row) const {
    if (row < 0 || row >= Count()) return nullptr;
    return &rows_[static_cast<std::size_t>(row)];
}

std::string ListRows::Text(int row, int column) const {
    const Row* found = Find(row);
    if (!found || column < 0) return {};
    if (found->File) {
        if (column == 0) return std::string(files_.Name(found->Item));
        return columns_ && column < columns_->Count() ? columns_->Text(files_.View(found->Item), column)
                                                      : std::string();
    }
    const auto& texts = texts_[found->Item].Texts;
    return column < static_cast<int>(texts.size()) ? texts[static_cast<std::size_t>(column)] : std::string();
}

std::int64_t ListRows::Data(int row) const {
    const Row* found = Find(row);
    if (!found) return 0;
    return found->File ? static_cast<std::int64_t>(files_.At(found->Item).Size) : texts_[found->Item].Data;
}

RowTags ListRows::Tags(int row) const {
    const Row* found = Find(row);
    if (!found) return {};
    if (!found->File) return texts_[found->Item].Tags;
    const FileRows::Record& file = files_.At(found->Item);
    return {file.LastWriteTime, file.Volume, file.Index};
}

int ListRows::Rule(int row) const {
    const Row* found = Find(row);
    if (!found) return 0;
    return found->File ? files_.At(found->Item).Rule : texts_[found->Item].Rule;
}

int ListRows::ImageIndex(int row) const {
    const Row* found = Find(row);
    if (!found) return -1;
    return found->File ? files_.At(found->Item).ImageIndex : texts_[found->Item].ImageIndex;
}

std::uint64_t ListRows::Id(int row) const {
    const Row* found = Find(row);
    return found ? found->Id : 0;
}

int ListRows::FindRow(std::uint64_t id) const {
    if (id == 0) return -1;
    for (std::size_t row = 0; row < rows_.size(); ++row)
        if (rows_[row].Id == id) return static_cast<int>(row);
    return -1;
}

int ListRows::FindCaption(int start, bool wrap,
                          const std::function<bool(const std::string&)>& matches) const {
    const int count = Count();
    if (start < 0 || start >= count) start = 0;
    const int span = wrap ? count : count - start;
    for (int step = 0; step < span; ++step) {
        const int row = (start + step) % count;
        if (matches(Caption(rows_[static_cast<std::size_t>(row)]))) return row;
    }
    return -1;
}

}  // namespace kelvaro
