#include "app/main_window_selection_win.h"

#include "base/busy_flag.h"

namespace kelvaro {

ListedFile ResultRows::Listed(int row) const {
    const RowTags tags = list_.RowTagsOf(row);
    return {list_.Text(row, 2) + list_.Text(row, 0),
            static_cast<std::uint64_t>(list_.RowData(row)),
            tags[0],
            list_.RowId(row),
            list_.RowRule(row),
            tags[2] != 0 ? std::optional<FileIdentity>(FileIdentity{tags[1], tags[2]}) : std::nullopt};
}

void ResultSelection::RowsAdded(const std::vector<NewFileRow>& rows) {
    for (const NewFileRow& row : rows) sums_.Added(static_cast<std::int64_t>(row.Size));
}

void ResultSelection::ShowSummary() {
    if (removingRows_) return;
    int selected = list_.SelectedCount();
    // The list may report a selected row while a selection change is under way, before its count says
    // so. Only then is it asked: the question walks the whole list, and rows being added change texts.
    bool reportsSelected = selected == 0 && changeTouchesSelection_ &&
                           ListView_GetNextItem(list_.Handle(), -1, LVNI_SELECTED) != -1;
    if (selected == 0 && !reportsSelected && !wasSelected_) return;
    sums_.RecountIfNeeded(ResultRows(list_));
    if (auto summary = SelectionSummaryFromSums(selected, list_.RowCount(), reportsSelected, wasSelected_,
                                                sums_.SelectedBytes(), sums_.TotalBytes(),
                                                locale_.ThousandSeparator(), locale_.DecimalSeparator()))
        show_(*summary);
    wasSelected_ = selected > 0 || reportsSelected;
}

void ResultSelection::Track(const NMHDR& header) {
    // Rows that move take their selection along: the sums stay as they are.
    if (list_.MovingRows()) return;
    const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
    if (header.code == LVN_ITEMCHANGING || header.code == LVN_ITEMCHANGED)
        changeTouchesSelection_ = (change.uChanged & LVIF_STATE) != 0;
    switch (header.code) {
        case LVN_ITEMCHANGED:
            if (!(change.uChanged & LVIF_STATE) || !((change.uOldState ^ change.uNewState) & LVIS_SELECTED))
                break;
            if (change.iItem < 0)
                sums_.AllSelectionChanged(change.uNewState & LVIS_SELECTED);
            else if (sums_.Valid())
                sums_.SelectionChanged(list_.RowData(change.iItem), change.uNewState & LVIS_SELECTED);
            break;
        case LVN_DELETEITEM:
            if (sums_.Valid()) sums_.Deleted(list_.RowData(change.iItem), list_.IsSelected(change.iItem));
            break;
        case LVN_DELETEALLITEMS:
        case LVN_ODSTATECHANGED:  // a range of rows selected or unselected at once
            sums_.Invalidate();
            break;
    }
}

void ResultSelection::RowChanged() {
    if (!selectingAll_) ShowSummary();
}

void ResultSelection::SelectAll() {
    const int selectedBefore = list_.SelectedCount();
    {
        BusyFlag quiet(selectingAll_);
        list_.SelectAll();
    }
    // Unchanged, the selection says nothing new: the panel keeps what it shows.
    if (list_.SelectedCount() != selectedBefore) ShowSummary();
}

void ResultSelection::RemoveRows(const std::vector<std::uint64_t>& rowIds) {
    if (rowIds.empty()) return;
    {
        BusyFlag removing(removingRows_);
        list_.DeleteRows(rowIds);
    }
    ShowSummary();
}

RunFigures ResultSelection::Selected() {
    sums_.RecountIfNeeded(ResultRows(list_));
    return {list_.SelectedCount(), sums_.SelectedBytes()};
}

RunFigures ResultSelection::Listed() {
    sums_.RecountIfNeeded(ResultRows(list_));
    return {list_.RowCount(), sums_.TotalBytes()};
}

}  // namespace kelvaro
