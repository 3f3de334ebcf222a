#pragma once
// TCoolListView: the report-style list view of both lists of the main window. Rows have a caption, sub-items,
// an icon and a 64-bit value. With AutoSort a header click sorts by that column (whole numbers numerically,
// other texts by lstrcmpA) and a second click reverses the order; independently, SortType keeps the list in
// caption order as rows come and go. The rows and their order live in ListRows; this class shows them in
// the platform's list view and turns its notifications into events.
#include <windows.h>
// after windows.h, whose types it uses
#include <commctrl.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "widgets/list_rows.h"
#include "widgets/platform_collation_win.h"
#include "widgets/row_tips_win.h"
#include "widgets/view_style.h"

namespace kelvaro {

class TCoolListView : private RowsDisplay {
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
    TSortType SortType() const { return rows_.SortType(); }
    // A new stText or stBoth puts the rows in caption order at once.
    void SetSortType(TSortType type) { rows_.SetSortType(type); }
    // Column and direction of the last header-click sort; the automatic caption order leaves them alone.
    int SortColumn() const { return rows_.SortState().SortColumn; }
    bool SortAscending() const { return rows_.SortState().SortAscending; }

    // A header click on a list of at least this many rows shows the wait cursor while it sorts.
    static constexpr int kWaitCursorRows = 100000;
    // Raised first on every header click, AutoSort or not.
    std::function<void(TCoolListView&, int column)> OnColumnSort;
    // Raised after each sort made by a header click.
    std::function<void(TCoolListView&)> OnAfterSort;

    // With AutoSort, sorts again by SortColumn / SortAscending; otherwise nothing.
    void Resort() {
        if (AutoSort) rows_.Resort();
    }
    // Column 0 sorts by caption, column c > 0 by sub-item c - 1; a negative column does nothing.
    void SortByColumn(int column, bool ascending) { rows_.SortByColumn(column, ascending); }

    void SetFont(HFONT font);  // not owned
    // format: LVCFMT_LEFT, LVCFMT_RIGHT or LVCFMT_CENTER (the caption column is always left-aligned).
    void AddColumn(const std::string& caption, int width, int format);
    int ColumnCount() const;
    int ColumnWidth(int column) const;
    void SetColumnWidth(int column, int width);

    // Appends a row, or with stText/stBoth puts it where a caption sort would (after equal captions).
    // A negative image index shows no icon; data is the row's value. Returns the row's index.
    int AddRow(std::string caption, std::vector<std::string> subItems, int imageIndex,
               std::int64_t data = 0) {
        return rows_.AddRow({std::move(caption), std::move(subItems), imageIndex, data});
    }
    using NewRow = NewListRow;
    // The rows as AddRow would add them one after another, in one pass: a list kept in caption order
    // sorts the new captions once instead of searching the list for each.
    void AddRows(std::vector<NewRow> rows) { rows_.AddRows(std::move(rows)); }
    // Rows of found files, kept compactly; columns (not owned) makes their texts past the name when the
    // list draws them.
    void SetFileColumns(const FileColumns* columns) { rows_.SetFileColumns(columns); }
    void AddFileRows(const std::vector<NewFileRow>& rows) { rows_.AddFileRows(rows); }
    // Replaces caption and the given sub-items; the image index and value stay. With stText/stBoth the row
    // moves to its place in caption order. A caption change asks OnChanging first and calls OnChange after.
    void SetRowTexts(int row, const std::string& caption, const std::vector<std::string>& subItems) {
        rows_.SetRowTexts(row, caption, subItems);
    }
    // With stData/stBoth the rows are put back in caption order.
    void SetRowData(int row, std::int64_t value) { rows_.SetRowData(row, value); }
    std::int64_t RowData(int row) const { return rows_.Data(row); }
    RowTags RowTagsOf(int row) const { return rows_.Tags(row); }  // zeros for a row that does not exist
    int RowRule(int row) const { return rows_.Rule(row); }        // 0 for a row that does not exist
    // A number that names the row for as long as it exists, wherever sorts and other rows' changes move it;
    // never reused. 0 for a row that does not exist.
    std::uint64_t RowId(int row) const { return rows_.Id(row); }
    // The row's index now, or -1 when it is gone.
    int FindRow(std::uint64_t id) const { return rows_.FindRow(id); }
    void DeleteRow(int row) { rows_.DeleteRow(row); }
    // Removes the rows with these ids wherever sorts have put them, in one pass over the list and with one
    // repaint; ids of rows that are gone are passed over.
    void DeleteRows(const std::vector<std::uint64_t>& ids) { rows_.DeleteRows(ids); }
    void Clear() { rows_.Clear(); }

    int RowCount() const { return rows_.Count(); }
    // Column 0 is the caption, column c > 0 sub-item c - 1; "" for a row or column that does not exist.
    std::string Text(int row, int column) const { return rows_.Text(row, column); }
    int ImageIndex(int row) const { return rows_.ImageIndex(row); }  // -1: none

    int SelectedCount() const override;
    bool IsSelected(int row) const;
    void SetSelected(int row, bool selected);
    // Selects every row in one request to the control and repaints once; the control reports it as one
    // change of row -1.
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
    // LVN_COLUMNCLICK runs the header click; LVN_ITEMCHANGED of a row's state, and a change of a caption,
    // call OnChange (a list whose rows live here is told of a selection change only once it is made, so
    // OnChanging is asked before a caption change only); LVN_ODSTATECHANGED (a range of rows selected at
    // once, by Shift+click) calls OnChange with the range's first row; LVN_ODFINDITEM answers the control's
    // type-ahead from the captions kept here; NM_DBLCLK calls OnDblClick. Exceptions from the events pass
    // to the caller. While rows move (MovingRows), the control's reports of the selection put back on the
    // moved rows are no change of a row.
    bool HandleNotify(NMHDR& header, LRESULT& result);
    bool MovingRows() const { return movingRows_; }
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
    // The custom-draw answer: selected rows keep their marking while the list has no focus.
    LRESULT MarkSelectionWithoutFocus(NMLVCUSTOMDRAW& draw) const;
    static LRESULT CALLBACK ListProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    void Detach();
    // Adding or deleting rows of a visible list view updates its scroll bars and invalidates at once, which
    // costs milliseconds per row (under Wine each update waits on the display). So a change of rows turns
    // redrawing off until the program next reads its message queue, where a message posted to the list turns
    // it on again and repaints: filling a list costs one repaint, not one per row.
    void DeferRedraw();
    void ResumeRedraw();
    void HeaderClick(int column);
    void AnswerDisplayRequest(NMHDR& header);
    // Type-ahead: the first row from start on (wrapping) whose caption begins with the typed text.
    int FindTypedCaption(NMHDR& header) const;
    // The rows moved under the mouse: a tip shown names a row that may be elsewhere now.
    void RowsMoved();

    // What the rows ask of the control. It numbers selected and focused rows by place: the rows note them
    // before a change that moves rows and put them back on the same rows after.
    void RowsChanging() override { DeferRedraw(); }
    std::vector<int> SelectedPlaces() const override;
    int FocusedPlace() const override;
    void ShowCount(int count) override;
    void ShowCount(int count, const RowMarks& marks) override;
    void RemovePlace(int row) override;
    void RemoveAll() override;
    bool CaptionChanging(int row) override { return !OnChanging || OnChanging(*this, row); }
    void TextChanged(int row, int column) override;

    HWND handle_ = nullptr;
    WNDPROC originalProcedure_ = nullptr;
    bool redrawDeferred_ = false;
    bool movingRows_ = false;
    // The control keeps no rows (LVS_OWNERDATA): each row lives here, in row order, and the control asks for
    // its texts and icon when it draws (a copy of the texts in the control costs several times more than
    // the texts themselves). The control keeps only the count and which rows are selected and focused.
    ListRows rows_{PlatformCollation(), *this};
    std::unique_ptr<RowTips> rowTips_;
};

}  // namespace kelvaro
