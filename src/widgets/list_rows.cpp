#include "widgets/list_rows.h"

#include <algorithm>
#include <numeric>
#include <unordered_map>
#include <unordered_set>

#include "base/errors.h"

namespace kelvaro {

ListRows::ListRows(const KeyedCollation& collation, RowsDisplay& display)
    : collation_(collation), display_(display) {}

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
    // Each key is read and converted once, not per comparison.
    std::vector<SortKey> keys;
    keys.reserve(rows_.size());
    for (const auto& record : rows_) {
        const auto& texts = record->Texts;
        std::string text = static_cast<std::size_t>(column) < texts.size() ? texts[column] : std::string();
        keys.push_back(numbers ? MakeSortKey(std::move(text)) : SortKey{std::move(text), 0, {}});
        for (const ColumnValue& value : record->Values)
            if (numbers && value.Column == column) keys.back().Value = value.Value;
    }
    std::vector<std::size_t> order(rows_.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    // Stable: rows whose keys compare equal keep their order.
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return CompareSortKeys(keys[a], keys[b], ascending, collation_) < 0;
    });
    const Marks marks = NoteMarks();
    std::vector<std::unique_ptr<Record>> sorted;
    sorted.reserve(rows_.size());
    for (std::size_t index : order) sorted.push_back(std::move(rows_[index]));
    rows_ = std::move(sorted);
    display_.RowsChanging();
    RestoreMarks(marks);
    captionsKnown_ = false;
}

ListRows::Marks ListRows::NoteMarks() const {
    Marks marks;
    for (int row : display_.SelectedPlaces())
        if (const Record* record = Find(row)) marks.Selected.push_back(record->Id);
    if (const Record* record = Find(display_.FocusedPlace())) marks.Focused = record->Id;
    return marks;
}

void ListRows::RestoreMarks(const Marks& marks) {
    const int count = Count();
    if (marks.Empty()) {
        display_.ShowCount(count);
        return;
    }
    std::unordered_map<std::uint64_t, int> places;
    places.reserve(rows_.size());
    for (int row = 0; row < count; ++row) places.emplace(rows_[row]->Id, row);
    RowMarks placed;
    placed.AllSelected = static_cast<int>(marks.Selected.size()) == count;
    if (!placed.AllSelected) {
        for (std::uint64_t id : marks.Selected)
            if (const auto place = places.find(id); place != places.end())
                placed.Selected.push_back(place->second);
    }
    if (const auto place = places.find(marks.Focused); place != places.end()) placed.Focused = place->second;
    display_.ShowCount(count, placed);
}

const CaptionIndex& ListRows::Captions() {
    if (!captionsKnown_ || captions_.Size() != Count()) {
        captions_.Clear();
        for (int row = 0; row < Count(); ++row) {
            const std::string& caption = rows_[row]->Texts.front();
            captions_.Insert(row, {collation_.Key(caption), caption});
        }
        captionsKnown_ = true;
    }
    return captions_;
}

int ListRows::AddRow(NewListRow row) {
    const int count = Count();
    int position = count;
    std::string key;
    const bool captions = KeepsCaptionOrder();
    if (captions) {
        if (!captionOrdered_) SortByCaption();
        key = collation_.Key(row.Caption);
        position = CaptionPlace(Captions(), row.Caption, key, collation_);
    } else {
        // Only a list kept in caption order needs the copy.
        captionOrdered_ = count == 0;
        captionsKnown_ = false;
    }
    std::string kept = captions ? row.Caption : std::string();
    display_.RowsChanging();
    const Marks marks = position < count ? NoteMarks() : Marks{};
    rows_.insert(rows_.begin() + position, MakeRecord(std::move(row)));
    RestoreMarks(marks);
    if (captions) captions_.Insert(position, {std::move(key), std::move(kept)});
    return position;
}

void ListRows::AddRows(std::vector<NewListRow> rows) {
    if (!KeepsCaptionOrder()) {
        for (NewListRow& row : rows) AddRow(std::move(row));
        return;
    }
    if (rows.empty()) return;
    if (!captionOrdered_) SortByCaption();
    std::vector<CaptionIndex::Entry> batch;
    batch.reserve(rows.size());
    for (const NewListRow& row : rows) batch.push_back({collation_.Key(row.Caption), row.Caption});
    const std::vector<BatchPlace> places = BatchPlaces(Captions(), batch, collation_);
    display_.RowsChanging();
    const Marks marks = NoteMarks();
    // Merged in one pass: the places count the new rows before them, and come in row order.
    std::vector<std::unique_ptr<Record>> merged;
    merged.reserve(rows_.size() + rows.size());
    std::size_t old = 0;
    for (const BatchPlace& place : places) {
        while (static_cast<int>(merged.size()) < place.Row) merged.push_back(std::move(rows_[old++]));
        merged.push_back(MakeRecord(std::move(rows[place.Index])));
        captions_.Insert(place.Row, std::move(batch[place.Index]));
    }
    while (old < rows_.size()) merged.push_back(std::move(rows_[old++]));
    rows_ = std::move(merged);
    RestoreMarks(marks);
}

std::unique_ptr<ListRows::Record> ListRows::MakeRecord(NewListRow row) {
    auto record = std::make_unique<Record>();
    record->Data = row.Data;
    record->Tags = row.Tags;
    record->Rule = row.Rule;
    record->Values = std::move(row.Values);
    record->ImageIndex = row.ImageIndex < 0 ? -1 : row.ImageIndex;
    record->Id = nextRowId_++;
    record->Texts.reserve(row.SubItems.size() + 1);
    record->Texts.push_back(std::move(row.Caption));
    for (std::string& text : row.SubItems) record->Texts.push_back(std::move(text));
    return record;
}

void ListRows::CheckRow(int row) const {
    if (row < 0 || row >= Count()) throw Exception("List index out of bounds (" + std::to_string(row) + ")");
}

void ListRows::SetRowTexts(int row, const std::string& caption, const std::vector<std::string>& subItems) {
    CheckRow(row);
    const auto setText = [&](std::size_t column, const std::string& text) {
        auto& texts = rows_[row]->Texts;
        if (column >= texts.size()) texts.resize(column + 1);
        if (texts[column] == text) return;
        // The display cannot see a caption change coming from the control: it is asked here.
        if (column == 0 && !display_.CaptionChanging(row)) return;
        rows_[row]->Texts[column] = text;
        display_.TextChanged(row, static_cast<int>(column));
    };
    setText(0, caption);
    captionsKnown_ = false;
    for (std::size_t i = 0; i < subItems.size(); ++i) setText(i + 1, subItems[i]);
    const bool fits = captionOrdered_ && CaptionFitsAt(row);
    if (KeepsCaptionOrder() && !fits)
        SortByCaption();
    else
        captionOrdered_ = fits;
}

void ListRows::SetRowData(int row, std::int64_t value) {
    CheckRow(row);
    rows_[row]->Data = value;
    if ((sortType_ == stData || sortType_ == stBoth) && !captionOrdered_) SortByCaption();
}

bool ListRows::CaptionFitsAt(int row) const {
    const std::string& caption = rows_[row]->Texts.front();
    if (row > 0 && collation_.Compare(rows_[row - 1]->Texts.front(), caption) > 0) return false;
    return row + 1 >= Count() || collation_.Compare(caption, rows_[row + 1]->Texts.front()) <= 0;
}

void ListRows::DeleteRow(int row) {
    CheckRow(row);
    DeleteRows({rows_[row]->Id});
}

void ListRows::DeleteRows(const std::vector<std::uint64_t>& ids) {
    const std::unordered_set<std::uint64_t> doomed(ids.begin(), ids.end());
    // Every row going (as after an automatic run's delete) is one clear rather than a removal per row.
    if (!rows_.empty() &&
        std::all_of(rows_.begin(), rows_.end(), [&](const auto& row) { return doomed.count(row->Id) > 0; })) {
        Clear();
        return;
    }
    const bool captionsKept = captionsKnown_ && captions_.Size() == Count();
    bool removed = false;
    // From the bottom up: the display moves the marks of the rows below each removed one up a row, and the
    // rows still to be looked at keep their places here and there. The display hears of each row while it
    // is still here; the gaps are closed once at the end.
    for (int row = Count() - 1; row >= 0; --row) {
        if (!doomed.count(rows_[row]->Id)) continue;
        if (!removed) display_.RowsChanging();
        removed = true;
        display_.RemovePlace(row);
        rows_[row].reset();
        if (captionsKept) captions_.Erase(row);
    }
    if (!removed) return;
    rows_.erase(std::remove(rows_.begin(), rows_.end(), nullptr), rows_.end());
    captionsKnown_ = captionsKept;
}

void ListRows::Clear() {
    display_.RemoveAll();
    rows_.clear();
    captions_.Clear();
    captionsKnown_ = true;
    captionOrdered_ = true;
}

const ListRows::Record* ListRows::Find(int row) const {
    if (row < 0 || row >= Count()) return nullptr;
    return rows_[static_cast<std::size_t>(row)].get();
}

const std::string& ListRows::Text(int row, int column) const {
    static const std::string none;
    const Record* record = Find(row);
    if (!record || column < 0 || column >= static_cast<int>(record->Texts.size())) return none;
    return record->Texts[static_cast<std::size_t>(column)];
}

std::int64_t ListRows::Data(int row) const {
    const Record* record = Find(row);
    return record ? record->Data : 0;
}

RowTags ListRows::Tags(int row) const {
    const Record* record = Find(row);
    return record ? record->Tags : RowTags{};
}

int ListRows::Rule(int row) const {
    const Record* record = Find(row);
    return record ? record->Rule : 0;
}

int ListRows::ImageIndex(int row) const {
    const Record* record = Find(row);
    return record ? record->ImageIndex : -1;
}

std::uint64_t ListRows::Id(int row) const {
    const Record* record = Find(row);
    return record ? record->Id : 0;
}

int ListRows::FindRow(std::uint64_t id) const {
    if (id == 0) return -1;
    for (std::size_t row = 0; row < rows_.size(); ++row)
        if (rows_[row]->Id == id) return static_cast<int>(row);
    return -1;
}

int ListRows::FindCaption(int start, bool wrap,
                          const std::function<bool(const std::string&)>& matches) const {
    const int count = Count();
    if (start < 0 || start >= count) start = 0;
    const int span = wrap ? count : count - start;
    for (int step = 0; step < span; ++step) {
        const int row = (start + step) % count;
        if (matches(rows_[row]->Texts.front())) return row;
    }
    return -1;
}

}  // namespace kelvaro
