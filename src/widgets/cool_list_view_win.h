#pragma once
// TCoolListView: the report-style list view of both lists of the main window. Rows have a caption, sub-items,
// an icon and a 64-bit value. With AutoSort a header click sorts by that column (whole numbers numerically,
// other texts by lstrcmpA) and a second click reverses the order; independently, SortType keeps the list in
// caption order as rows come and go.
#include <windows.h>
// after windows.h, whose types it uses
#include <commctrl.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "widgets/caption_index.h"
#include "widgets/list_sort.h"
#include "widgets/row_tips_win.h"
#include "widgets/view_style.h"

namespace kelvaro {

// lstrcmpA: the user's locale, case-sensitive.
const TextCollation& PlatformCollation();

class TCoolListView {
public:
    // A WC_LISTVIEW child of parent with the given control id: report style, multi-select, no caption
    // editing, shared (borrowed) image lists, icons auto-arranged, sunken border. Hidden or visible as asked.
    TCoolListView(HWND parent, int controlId, bool visible);
    ~TCoolListView();
    TCoolListView(const TCoolListView&) = delete;
    TCoolListView& operator=(const TCoolListView&) = delete;

    HWND Handle() const { return handle_; }

    // Header clicks sort the rows.
    bool AutoSort = false;
    TSortType SortType() const { return sortType_; }
    // A new stText or stBoth puts the rows in caption order at once.
    void SetSortType(TSortType type);
    // Column and direction of the last header-click sort; the automatic caption order leaves them alone.
    int SortColumn() const { return sortState_.SortColumn; }
    bool SortAscending() const { return sortState_.SortAscending; }

    // Raised first on every header click, AutoSort or not.
    std::function<void(TCoolListView&, int column)> OnColumnSort;
    // Raised after each sort made by a header click.
    std::function<void(TCoolListView&)> OnAfterSort;

    // With AutoSort, sorts again by SortColumn / SortAscending; otherwise nothing.
    void Resort();
    // Column 0 sorts by caption, column c > 0 by sub-item c - 1; a negative column does nothing.
    void SortByColumn(int column, bool ascending);

    void SetFont(HFONT font);  // not owned
    // format: LVCFMT_LEFT, LVCFMT_RIGHT or LVCFMT_CENTER (the caption column is always left-aligned).
    void AddColumn(const std::string& caption, int width, int format);
    int ColumnCount() const;
    int ColumnWidth(int column) const;
    void SetColumnWidth(int column, int width);

    // Appends a row, or with stText/stBoth puts it where a caption sort would (after equal captions).
    // A negative image index shows no icon; data is the row's value. Returns the row's index.
    int AddRow(std::string caption, std::vector<std::string> subItems, int imageIndex, std::int64_t data = 0);
    struct NewRow {
        std::string Caption;
        std::vector<std::string> SubItems;
        int ImageIndex = -1;
        std::int64_t Data = 0;
        std::uint64_t Tag = 0;  // a second value kept with the row; sorts never read it
        int Rule = 0;           // the number of the rule that made the row; sorts never read it
    };
    // The rows as AddRow would add them one after another, in one pass: a list kept in caption order
    // sorts the new captions once instead of searching the list for each.
    void AddRows(std::vector<NewRow> rows);
    // Replaces caption and the given sub-items; the image index and value stay. With stText/stBoth the row
    // moves to its place in caption order.
    void SetRowTexts(int row, const std::string& caption, const std::vector<std::string>& subItems);
    // With stData/stBoth the rows are put back in caption order.
    void SetRowData(int row, std::int64_t value);
    std::int64_t RowData(int row) const;
    std::uint64_t RowTag(int row) const;
    int RowRule(int row) const;  // 0 for a row that does not exist or was inserted past this class
    // A number that names the row for as long as it exists, wherever sorts and other rows' changes move it;
    // never reused. 0 for a row that does not exist or was inserted past this class.
    std::uint64_t RowId(int row) const;
    // The row's index now, or -1 when it is gone.
    int FindRow(std::uint64_t id) const;
    void DeleteRow(int row);
    // Removes the rows with these ids wherever sorts have put them, in one pass over the list and with one
    // repaint; ids of rows that are gone are passed over.
    void DeleteRows(const std::vector<std::uint64_t>& ids);
    void Clear();

    int RowCount() const;
    // Column 0 is the caption, column c > 0 sub-item c - 1; "" for a row or column that does not exist.
    std::string Text(int row, int column) const;
    int ImageIndex(int row) const;  // -1: none

    int SelectedCount() const;
    bool IsSelected(int row) const;
    void SetSelected(int row, bool selected);
    // Selects every row in one request to the control and repaints once; the control still reports each
    // row's change.
    void SelectAll();
    std::vector<int> SelectedRows() const;  // top to bottom

    // Neither list is owned: the shell's system image lists are only borrowed.
    void SetImageLists(HIMAGELIST smallImages, HIMAGELIST largeImages);
    ViewStyle GetViewStyle() const;
    void SetViewStyle(ViewStyle style);
    // The list's own visibility (use this rather than IsWindowVisible, which also asks the parents).
    bool Visible() const;
    void SetVisible(bool visible);
    void SetBounds(int x, int y, int width, int height);

    // The parent forwards every WM_NOTIFY whose hwndFrom is this list; true when handled, with the value the
    // parent's window procedure must return in result. LVN_GETDISPINFO is answered with the texts kept here
    // (the list shows nothing without it); LVN_DELETEALLITEMS asks for no LVN_DELETEITEM per row;
    // LVN_COLUMNCLICK runs the header click; LVN_ITEMCHANGING and LVN_ITEMCHANGED of a row's icon or state,
    // and a change of a caption, call OnChanging and OnChange; NM_DBLCLK calls OnDblClick. Exceptions from
    // the events pass to the caller.
    bool HandleNotify(NMHDR& header, LRESULT& result);
    std::function<void(TCoolListView&, int row)> OnChange;
    std::function<bool(TCoolListView&, int row)> OnChanging;  // false forbids the change
    std::function<void(TCoolListView&)> OnDblClick;
    // Shows a tip over the row the mouse rests on, with the text tip gives for the row ("" for none).
    void EnableInfoTips(std::function<std::string(TCoolListView&, int row)> tip);
    const RowTips* InfoTips() const { return rowTips_.get(); }

    // Keys typed while the list has the focus, before the control's own handling: OnKeyDown for WM_KEYDOWN
    // and WM_SYSKEYDOWN (a key pressed with Alt), OnKeyPress for WM_CHAR. An exception is shown as the
    // application's error box and the key goes no further.
    std::function<void(TCoolListView&, WPARAM key)> OnKeyDown;
    std::function<void(TCoolListView&, char character)> OnKeyPress;

private:
    // Kept in each row's lParam, so that the control's own sort hands the comparison the keys read before it.
    // The texts of the rows added here live here too, and the control asks for them when it draws
    // (LPSTR_TEXTCALLBACK): a copy of five sub-items in the control costs more than the rest of a row.
    struct RowRecord {
        std::int64_t Data = 0;
        std::uint64_t Tag = 0;
        int Rule = 0;
        std::uint64_t Id = 0;
        SortKey Key;
        bool KeepsTexts = false;  // false for a row inserted past this class: its texts are the control's
        std::vector<std::string> Texts;  // the caption, then the sub-items
    };

    static LRESULT CALLBACK ListProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static int CALLBACK CompareRows(LPARAM first, LPARAM second, LPARAM sortPass);

    void Detach();
    // Adding or deleting rows of a visible list view updates its scroll bars and invalidates at once, which
    // costs milliseconds per row (under Wine each update waits on the display). So a change of rows turns
    // redrawing off until the program next reads its message queue, where a message posted to the list turns
    // it on again and repaints: filling a list costs one repaint, not one per row.
    void DeferRedraw();
    void ResumeRedraw();
    void HeaderClick(int column);
    bool KeepsCaptionOrder() const { return sortType_ == stText || sortType_ == stBoth; }
    // The default comparison: lstrcmpA of the captions, ascending.
    void SortByCaption();
    void SortRows(int column, bool numbers, bool ascending);
    // Null for no row, or a row inserted past this class.
    const RowRecord* FindRecord(int row) const;
    RowRecord* FindRecord(int row);
    // The text kept here for a row and column, or null when the control keeps it.
    const std::string* KeptText(int row, int column) const;
    void AnswerDisplayRequest(NMHDR& header);
    // The rows moved under the mouse: a tip shown names a row that may be elsewhere now.
    void RowsMoved();
    // The record of an existing row; one is made for a row inserted past this class.
    RowRecord& ExistingRecord(int row);
    bool CaptionFitsAt(int row) const;
    // The captions of the list's count rows in row order, read from the control only when the copy kept
    // here is not known.
    const CaptionIndex& Captions(int count);
    void SetItemText(int row, int column, const std::string& text);
    // Deletes the row at index, whose record (if any) is given, from a list of count rows.
    void RemoveRow(int row, const RowRecord* record, int count);
    // Puts a row at position, its texts kept here; returns the row the control gave it.
    int InsertRow(int position, NewRow row);

    HWND handle_ = nullptr;
    WNDPROC originalProcedure_ = nullptr;
    TSortType sortType_ = stNone;
    ColumnSortState sortState_;
    // Whether the rows are known to be in lstrcmpA caption order; a header-click sort breaks it, and the next
    // automatic sort restores it with one sort instead of one per row.
    bool captionOrdered_ = true;
    bool redrawDeferred_ = false;
    // A copy of the captions in row order, so that finding a new row's place asks the control nothing.
    CaptionIndex captions_;
    bool captionsKnown_ = true;
    std::unordered_map<const RowRecord*, std::unique_ptr<RowRecord>> records_;
    std::uint64_t nextRowId_ = 1;
    std::unique_ptr<RowTips> rowTips_;
};

}  // namespace kelvaro
