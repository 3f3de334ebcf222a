#pragma once
// The rows of the sortable list view, kept in the program rather than in the control: their texts and
// values in row order, the caption order kept as rows come and go, header-click sorts, deletion by id, and
// the selection and focus carried with their rows wherever a change moves them. The control that shows
// the rows keeps only their count and which places are selected and focused; it is reached through
// RowsDisplay.
//
// Rows come in two kinds. A text row (NewListRow) keeps its texts as given: the few rows of a list of
// rules. A file row (NewFileRow) keeps only the file's facts in a compact store (FileRows) and has its
// texts made by the list's FileColumns when they are read: a results list of a million files.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "widgets/caption_index.h"
#include "widgets/file_rows.h"
#include "widgets/list_sort.h"

namespace kelvaro {

using RowTags = std::array<std::uint64_t, 3>;

// A collation that also gives each text a key whose byte order stands in for it: exactly, or almost (an
// order or a place found by key is then confirmed by the collation itself).
class KeyedCollation : public TextCollation {
public:
    virtual std::string Key(const std::string& text) const = 0;
    // True when comparing two keys' bytes always gives the sign the collation gives their texts.
    virtual bool KeysAreExact() const { return false; }
};

// A value that a header-click sort by this column compares instead of the column's text.
struct ColumnValue {
    int Column = 0;  // 0: the caption, c > 0: sub-item c - 1
    std::int64_t Value = 0;
};

struct NewListRow {
    std::string Caption;
    std::vector<std::string> SubItems;
    int ImageIndex = -1;  // negative: no icon
    std::int64_t Data = 0;
    RowTags Tags{};  // values kept with the row for the program; sorts never read them
    int Rule = 0;    // the number of the rule that made the row; sorts never read it
    std::vector<ColumnValue> Values;
};

// Selected and focused rows by place, as the control numbers them.
struct RowMarks {
    std::vector<int> Selected;  // in the order they were noted
    bool AllSelected = false;   // every row: one request instead of one per row
    int Focused = -1;
};

// What the rows need of the control that shows them.
class RowsDisplay {
public:
    virtual ~RowsDisplay() = default;
    // Rows are about to be added, moved or removed: the display may wait and repaint once.
    virtual void RowsChanging() = 0;
    virtual int SelectedCount() const = 0;
    virtual std::vector<int> SelectedPlaces() const = 0;  // top to bottom
    virtual int FocusedPlace() const = 0;                 // -1: none
    // The control shows count rows; the selection and focus stay on the places they are.
    virtual void ShowCount(int count) = 0;
    // The control shows count rows, with the selection and focus on exactly these places. Not a change of
    // any row: the rows moved, the marks moved with them.
    virtual void ShowCount(int count, const RowMarks& marks) = 0;
    // The row at this place is going, while it is still among the rows; the places below move up a row.
    virtual void RemovePlace(int row) = 0;
    virtual void RemoveAll() = 0;
    // A caption is about to change; false refuses the change.
    virtual bool CaptionChanging(int row) = 0;
    virtual void TextChanged(int row, int column) = 0;
};

class ListRows {
public:
    // columns makes the texts and sort values of file rows past the name; it may be null in a list that
    // has none, and must outlive the list.
    ListRows(const KeyedCollation& collation, RowsDisplay& display, const FileColumns* columns = nullptr);
    ListRows(const ListRows&) = delete;
    ListRows& operator=(const ListRows&) = delete;

    TSortType SortType() const { return sortType_; }
    // A new stText or stBoth puts the rows in caption order at once.
    void SetSortType(TSortType type);
    // Column and direction of the last header-click sort; the automatic caption order leaves them alone.
    const ColumnSortState& SortState() const { return sortState_; }
    // A header click: with autoSort, sorts by the column, reversing a second click on the same column, and
    // returns true; otherwise nothing.
    bool HeaderClick(int column, bool autoSort);
    // Sorts again by the last header-click sort.
    void Resort();
    // Column 0 sorts by caption, column c > 0 by sub-item c - 1, stable: by the rows' values for the column
    // where they have them (rows without come after them, ascending), otherwise whole numbers numerically
    // and the rest by collation. A negative column does nothing.
    void SortByColumn(int column, bool ascending);

    // Appends a row, or with stText/stBoth puts it where a caption sort would (after equal captions).
    // Returns the row's index.
    int AddRow(NewListRow row);
    // The rows as AddRow would add them one after another, in one pass.
    void AddRows(std::vector<NewListRow> rows);
    // File rows as AddRows adds rows: the name is the caption, the size the data, the tags the last-write
    // time, volume and index.
    void AddFileRows(const std::vector<NewFileRow>& rows);
    void SetFileColumns(const FileColumns* columns) { columns_ = columns; }
    // Replaces the caption (if the display allows) and the given sub-items; with stText/stBoth the row
    // moves to its place in caption order. A file row becomes a text row with the texts it showed. An
    // index out of range throws.
    void SetRowTexts(int row, const std::string& caption, const std::vector<std::string>& subItems);
    // With stData/stBoth the rows are put back in caption order. An index out of range throws.
    void SetRowData(int row, std::int64_t value);
    void DeleteRow(int row);  // an index out of range throws
    // Removes the rows with these ids wherever they are, from the bottom up; ids of rows that are gone are
    // passed over.
    void DeleteRows(const std::vector<std::uint64_t>& ids);
    void Clear();

    int Count() const { return static_cast<int>(rows_.size()); }
    // Column 0 is the caption, column c > 0 sub-item c - 1; "" for a row or column that does not exist.
    std::string Text(int row, int column) const;
    // Zeros, -1 and nothing for a row that does not exist.
    std::int64_t Data(int row) const;
    RowTags Tags(int row) const;
    int Rule(int row) const;
    int ImageIndex(int row) const;
    // A number that names the row for as long as it exists, never reused; 0 for a row that does not exist.
    std::uint64_t Id(int row) const;
    int FindRow(std::uint64_t id) const;  // -1: gone
    // The first row from start on (wrapping if asked; from row 0 when start is out of range) whose caption
    // matches; -1 for none.
    int FindCaption(int start, bool wrap, const std::function<bool(const std::string&)>& matches) const;

private:
    // A text row's own texts and values.
    struct Record {
        std::int64_t Data = 0;
        RowTags Tags{};
        int Rule = 0;
        int ImageIndex = -1;
        std::vector<std::string> Texts;  // the caption, then the sub-items
        std::vector<ColumnValue> Values;
        std::string Key;  // the caption's collation key, while the list keeps keys
    };
    // A row in row order: which text or file row it is.
    struct Row {
        std::uint64_t Id = 0;
        std::uint32_t Item = 0;  // in texts_ or files_
        std::uint32_t Rank = 0;  // of the caption's key among all the rows' keys, while ranksKnown_
        bool File = false;
    };
    // Which rows are selected and focused, by id, while rows move under the control's places.
    struct Marks {
        std::vector<std::uint64_t> Selected;
        bool All = false;             // every row: the list need not be walked to note them
        std::uint64_t AllBefore = 0;  // with All: the rows selected are those of smaller ids
        std::uint64_t Focused = 0;
        bool Empty() const { return Selected.empty() && !All && Focused == 0; }
    };
    class RowCaptions;

    bool KeepsCaptionOrder() const { return sortType_ == stText || sortType_ == stBoth; }
    void SortByCaption();
    void SortRows(int column, bool numbers, bool ascending);
    // The order a sort by collation keys gives, when the collation confirms it; empty when it does not.
    std::vector<std::size_t> KeyedOrder(int column, bool numbers, bool ascending);
    std::vector<std::size_t> CollatedOrder(int column, bool numbers, bool ascending) const;
    void Reorder(const std::vector<std::size_t>& order);
    const Row* Find(int row) const;
    void CheckRow(int row) const;
    bool CaptionFitsAt(int row) const;
    std::string Caption(const Row& row) const;
    std::string_view CaptionKey(const Row& row) const;
    void SetCaptionKey(const Row& row, const std::string& key);
    // Every row's caption key, made now if the list has not kept them.
    void KnowKeys();
    // Every row's caption rank, worked out now if rows came or captions changed since.
    void KnowRanks();
    std::optional<std::int64_t> Value(const Row& row, int column) const;
    Row MakeTextRow(NewListRow row);
    Row MakeFileRow(const NewFileRow& row);
    // Inserts rows just made (with ids from the next one on) where caption order puts them, in one pass.
    void MergeInCaptionOrder(const std::vector<Row>& made);
    // newFrom: the first id of rows made for the change under way, which were not there to be marked.
    Marks NoteMarks(std::uint64_t newFrom) const;
    void RestoreMarks(const Marks& marks);

    const KeyedCollation& collation_;
    RowsDisplay& display_;
    const FileColumns* columns_;
    TSortType sortType_ = stNone;
    ColumnSortState sortState_;
    // Whether the rows are known to be in caption order; a header-click sort breaks it, and the next
    // automatic sort restores it with one sort instead of one per row.
    bool captionOrdered_ = true;
    // Whether every row's caption key is kept (the list is kept in caption order, or was sorted by
    // caption): a new row's place is then found by binary search, and a sort by caption makes none.
    bool keysKnown_ = true;
    // Whether every row's Rank is up to date: a sort by caption then compares numbers, not keys.
    bool ranksKnown_ = true;
    std::vector<Row> rows_;
    std::vector<Record> texts_;
    FileRows files_;
    TextBlocks fileKeys_;  // the file rows' caption keys
    std::uint64_t nextRowId_ = 1;
};

}  // namespace kelvaro
