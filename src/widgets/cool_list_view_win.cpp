#include "widgets/cool_list_view_win.h"

#include <algorithm>
#include <cstring>
#include <numeric>
#include <unordered_map>
#include <unordered_set>

#include "base/errors.h"
#include "ui/guarded_call_win.h"

namespace kelvaro {
namespace {

class LstrcmpCollation final : public TextCollation {
public:
    int Compare(const std::string& a, const std::string& b) const override {
        return lstrcmpA(a.c_str(), b.c_str());
    }
};

// Posted to the list to turn redrawing back on once the program reads its messages again.
UINT ResumeRedrawMessage() {
    static const UINT message = RegisterWindowMessageA("KelvaroCoolListViewResumeRedraw");
    return message;
}

// A text's collation key in the user's locale: its bytes compare as lstrcmpA compares the texts (almost:
// the caller confirms each place found by key with lstrcmpA itself).
std::string CollationKey(const std::string& text) {
    const LCID locale = GetThreadLocale();
    // Most keys fit a small buffer, so most texts are mapped once rather than measured first.
    char small[256];
    int length = LCMapStringA(locale, LCMAP_SORTKEY, text.c_str(), -1, small, sizeof small);
    if (length > 0) return std::string(small, static_cast<std::size_t>(length));
    length = LCMapStringA(locale, LCMAP_SORTKEY, text.c_str(), -1, nullptr, 0);
    if (length <= 0) return text;
    std::string key(static_cast<std::size_t>(length), '\0');
    LCMapStringA(locale, LCMAP_SORTKEY, text.c_str(), -1, key.data(), length);
    return key;
}

Exception RowError(int row) {
    return Exception("List index out of bounds (" + std::to_string(row) + ")");
}

}  // namespace

const TextCollation& PlatformCollation() {
    static const LstrcmpCollation collation;
    return collation;
}

TCoolListView::TCoolListView(HWND parent, int controlId, bool visible) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    // No LVS_SINGLESEL (multi-select), no LVS_EDITLABELS (read-only captions), no LVS_SHOWSELALWAYS (the
    // selection is hidden while the list has no focus), clickable headers.
    const DWORD style = WS_CHILD | WS_TABSTOP | WS_CLIPSIBLINGS | LVS_REPORT | LVS_SHAREIMAGELISTS |
                        LVS_AUTOARRANGE | LVS_OWNERDATA | (visible ? WS_VISIBLE : 0);
    handle_ = CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "", style, 0, 0, 0, 0, parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)),
                              GetModuleHandleA(nullptr), nullptr);
    if (!handle_)
        throw Exception("Cannot create the list view (error " + std::to_string(GetLastError()) + ")");
    // The object rides in the window's user data: a window property would cost a trip to the
    // window server (under Wine) on every message the list receives.
    SetWindowLongPtrA(handle_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    originalProcedure_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(handle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TCoolListView::ListProcedure)));
}

TCoolListView::~TCoolListView() {
    rowTips_.reset();
    if (HWND window = handle_) {
        // Detach first: the parent may be told of the deleted rows, and must not reach a half-destroyed list.
        Detach();
        DestroyWindow(window);
    }
}

void TCoolListView::Detach() {
    SetWindowLongPtrA(handle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(originalProcedure_));
    SetWindowLongPtrA(handle_, GWLP_USERDATA, 0);
    handle_ = nullptr;
}

LRESULT CALLBACK TCoolListView::ListProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<TCoolListView*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!self) return DefWindowProcA(window, message, wParam, lParam);
    const WNDPROC original = self->originalProcedure_;
    if (message == WM_NCDESTROY) {
        // The parent is being destroyed with its children: the object outlives the control.
        self->Detach();
        return CallWindowProcA(original, window, message, wParam, lParam);
    }
    if (message == ResumeRedrawMessage()) {
        self->ResumeRedraw();
        return 0;
    }
    if (self->rowTips_ && message >= WM_MOUSEFIRST && message <= WM_MOUSELAST)
        self->rowTips_->Relay(message, wParam, lParam);
    const bool completed = GuardedCall(
        window,
        [&] {
            if ((message == WM_KEYDOWN || message == WM_SYSKEYDOWN) && self->OnKeyDown) {
                self->OnKeyDown(*self, wParam);
            } else if (message == WM_CHAR && self->OnKeyPress) {
                self->OnKeyPress(*self, static_cast<char>(wParam));
            }
            return true;
        },
        false);
    // A key whose handler failed does not go on to the control.
    if (!completed) return 0;
    return CallWindowProcA(original, window, message, wParam, lParam);
}

void TCoolListView::RowsMoved() {
    if (rowTips_) rowTips_->Forget();
}

void TCoolListView::DeferRedraw() {
    RowsMoved();
    // The list's own visibility decides, not its window's: a list filled before its window is first shown
    // (as a run at start-up does) pays for every change all the same. A list hidden itself is cheap to
    // change, and must not be made visible again by the WM_SETREDRAW that ends it.
    if (redrawDeferred_ || !(GetWindowLongPtrA(handle_, GWL_STYLE) & WS_VISIBLE)) return;
    redrawDeferred_ = true;
    SendMessageA(handle_, WM_SETREDRAW, FALSE, 0);
    PostMessageA(handle_, ResumeRedrawMessage(), 0, 0);
}

void TCoolListView::ResumeRedraw() {
    if (!redrawDeferred_) return;
    redrawDeferred_ = false;
    SendMessageA(handle_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(handle_, nullptr, TRUE);
}

void TCoolListView::SetSortType(TSortType type) {
    if (type == sortType_) return;
    sortType_ = type;
    if (KeepsCaptionOrder() && !captionOrdered_) SortByCaption();
}

void TCoolListView::HeaderClick(int column) {
    if (OnColumnSort) OnColumnSort(*this, column);
    if (!sortState_.HeaderClick(column, AutoSort)) return;
    Resort();
    if (OnAfterSort) OnAfterSort(*this);
}

void TCoolListView::Resort() {
    if (AutoSort) SortByColumn(sortState_.SortColumn, sortState_.SortAscending);
}

void TCoolListView::SortByColumn(int column, bool ascending) {
    if (column < 0) return;
    SortRows(column, true, ascending);
    captionOrdered_ = false;
}

void TCoolListView::SortByCaption() {
    SortRows(0, false, true);
    captionOrdered_ = true;
}

void TCoolListView::SortRows(int column, bool numbers, bool ascending) {
    if (!handle_) return;
    // Each key is read and converted once; the comparisons then touch no window.
    std::vector<SortKey> keys;
    keys.reserve(rows_.size());
    for (const auto& record : rows_) {
        const auto& texts = record->Texts;
        std::string text = static_cast<std::size_t>(column) < texts.size() ? texts[column] : std::string();
        keys.push_back(numbers ? MakeSortKey(std::move(text)) : SortKey{std::move(text), 0});
    }
    std::vector<std::size_t> order(rows_.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    const TextCollation& collation = PlatformCollation();
    // Stable: rows whose keys compare equal keep their order, as the control's own merge sort kept them.
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return CompareSortKeys(keys[a], keys[b], ascending, collation) < 0;
    });
    const Marks marks = NoteMarks();
    std::vector<std::unique_ptr<RowRecord>> sorted;
    sorted.reserve(rows_.size());
    for (std::size_t index : order) sorted.push_back(std::move(rows_[index]));
    rows_ = std::move(sorted);
    // The control keeps no texts: the repaint that ends the deferral draws the rows in their new places.
    DeferRedraw();
    RestoreMarks(marks);
    captionsKnown_ = false;
}

TCoolListView::Marks TCoolListView::NoteMarks() const {
    Marks marks;
    if (SelectedCount() > 0)
        for (int row : SelectedRows()) marks.Selected.push_back(rows_[row]->Id);
    const int focused =
        static_cast<int>(SendMessageA(handle_, LVM_GETNEXTITEM, -1, MAKELPARAM(LVNI_FOCUSED, 0)));
    if (const RowRecord* record = FindRecord(focused)) marks.Focused = record->Id;
    return marks;
}

void TCoolListView::RestoreMarks(const Marks& marks) {
    const bool movingBefore = movingRows_;
    movingRows_ = true;
    const int count = static_cast<int>(rows_.size());
    if (marks.Empty()) {
        SendMessageA(handle_, LVM_SETITEMCOUNT, count, LVSICF_NOSCROLL | LVSICF_NOINVALIDATEALL);
        movingRows_ = movingBefore;
        return;
    }
    // Cleared first, then put back where the rows are now.
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(handle_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
    SendMessageA(handle_, LVM_SETITEMCOUNT, count, LVSICF_NOSCROLL | LVSICF_NOINVALIDATEALL);
    std::unordered_map<std::uint64_t, int> places;
    places.reserve(rows_.size());
    for (int row = 0; row < count; ++row) places.emplace(rows_[row]->Id, row);
    if (static_cast<int>(marks.Selected.size()) == count) {
        item.stateMask = item.state = LVIS_SELECTED;
        SendMessageA(handle_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
    } else {
        for (std::uint64_t id : marks.Selected) {
            const auto place = places.find(id);
            if (place == places.end()) continue;
            item.stateMask = item.state = LVIS_SELECTED;
            SendMessageA(handle_, LVM_SETITEMSTATE, place->second, reinterpret_cast<LPARAM>(&item));
        }
    }
    if (const auto place = places.find(marks.Focused); place != places.end()) {
        item.stateMask = item.state = LVIS_FOCUSED;
        SendMessageA(handle_, LVM_SETITEMSTATE, place->second, reinterpret_cast<LPARAM>(&item));
    }
    movingRows_ = movingBefore;
}

const CaptionIndex& TCoolListView::Captions(int count) {
    if (!captionsKnown_ || captions_.Size() != count) {
        captions_.Clear();
        for (int row = 0; row < count; ++row) {
            const std::string& caption = rows_[row]->Texts.front();
            captions_.Insert(row, {CollationKey(caption), caption});
        }
        captionsKnown_ = true;
    }
    return captions_;
}

void TCoolListView::SetFont(HFONT font) {
    SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void TCoolListView::AddColumn(const std::string& caption, int width, int format) {
    const int index = ColumnCount();
    LVCOLUMNA column{};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = format;
    column.cx = width;
    column.pszText = const_cast<char*>(caption.c_str());
    column.iSubItem = index;
    SendMessageA(handle_, LVM_INSERTCOLUMNA, index, reinterpret_cast<LPARAM>(&column));
}

int TCoolListView::ColumnCount() const {
    const auto header = reinterpret_cast<HWND>(SendMessageA(handle_, LVM_GETHEADER, 0, 0));
    return header ? static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
}

// The column's own width, in every view style: LVM_GETCOLUMNWIDTH and LVM_SETCOLUMNWIDTH address the
// list view's single column width while the list style is shown, and nothing in the icon styles.
int TCoolListView::ColumnWidth(int column) const {
    LVCOLUMNA header{};
    header.mask = LVCF_WIDTH;
    if (!SendMessageA(handle_, LVM_GETCOLUMNA, column, reinterpret_cast<LPARAM>(&header))) return 0;
    return header.cx;
}

void TCoolListView::SetColumnWidth(int column, int width) {
    // The negative widths ask the control to size the column to its texts, which only this message does.
    if (width < 0) {
        SendMessageA(handle_, LVM_SETCOLUMNWIDTH, column, MAKELPARAM(width, 0));
        return;
    }
    LVCOLUMNA header{};
    header.mask = LVCF_WIDTH;
    header.cx = width;
    SendMessageA(handle_, LVM_SETCOLUMNA, column, reinterpret_cast<LPARAM>(&header));
}

int TCoolListView::AddRow(std::string caption, std::vector<std::string> subItems, int imageIndex,
                          std::int64_t data) {
    const int count = RowCount();
    int position = count;
    std::string key;
    if (KeepsCaptionOrder()) {
        if (!captionOrdered_) SortByCaption();
        key = CollationKey(caption);
        position = CaptionPlace(Captions(count), caption, key, PlatformCollation());
    } else {
        // Only a list kept in caption order needs the copy.
        captionOrdered_ = count == 0;
        captionsKnown_ = false;
    }
    const bool captions = KeepsCaptionOrder();
    std::string kept = captions ? caption : std::string();
    DeferRedraw();
    const Marks marks = position < count ? NoteMarks() : Marks{};
    rows_.insert(rows_.begin() + position,
                 MakeRecord({std::move(caption), std::move(subItems), imageIndex, data}));
    RestoreMarks(marks);
    if (captions) captions_.Insert(position, {std::move(key), std::move(kept)});
    return position;
}

void TCoolListView::AddRows(std::vector<NewRow> rows) {
    if (!KeepsCaptionOrder()) {
        for (NewRow& row : rows)
            AddRow(std::move(row.Caption), std::move(row.SubItems), row.ImageIndex, row.Data);
        return;
    }
    if (rows.empty()) return;
    if (!captionOrdered_) SortByCaption();
    std::vector<CaptionIndex::Entry> batch;
    batch.reserve(rows.size());
    for (const NewRow& row : rows) batch.push_back({CollationKey(row.Caption), row.Caption});
    const std::vector<BatchPlace> places = BatchPlaces(Captions(RowCount()), batch, PlatformCollation());
    DeferRedraw();
    const Marks marks = NoteMarks();
    // Merged in one pass: the places count the new rows before them, and come in row order.
    std::vector<std::unique_ptr<RowRecord>> merged;
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

std::unique_ptr<TCoolListView::RowRecord> TCoolListView::MakeRecord(NewRow row) {
    auto record = std::make_unique<RowRecord>();
    record->Data = row.Data;
    record->Tags = row.Tags;
    record->Rule = row.Rule;
    // -1 would ask the parent for the icon (I_IMAGECALLBACK).
    record->ImageIndex = row.ImageIndex < 0 ? -1 : row.ImageIndex;
    record->Id = nextRowId_++;
    record->Texts.reserve(row.SubItems.size() + 1);
    record->Texts.push_back(std::move(row.Caption));
    for (std::string& text : row.SubItems) record->Texts.push_back(std::move(text));
    return record;
}

void TCoolListView::SetRowTexts(int row, const std::string& caption,
                                const std::vector<std::string>& subItems) {
    if (row < 0 || row >= RowCount()) throw RowError(row);
    SetItemText(row, 0, caption);
    captionsKnown_ = false;
    for (std::size_t i = 0; i < subItems.size(); ++i) SetItemText(row, static_cast<int>(i) + 1, subItems[i]);
    const bool fits = captionOrdered_ && CaptionFitsAt(row);
    if (KeepsCaptionOrder() && !fits)
        SortByCaption();
    else
        captionOrdered_ = fits;
}

void TCoolListView::SetRowData(int row, std::int64_t value) {
    if (row < 0 || row >= RowCount()) throw RowError(row);
    FindRecord(row)->Data = value;
    if ((sortType_ == stData || sortType_ == stBoth) && !captionOrdered_) SortByCaption();
}

std::int64_t TCoolListView::RowData(int row) const {
    const RowRecord* record = FindRecord(row);
    return record ? record->Data : 0;
}

RowTags TCoolListView::RowTagsOf(int row) const {
    const RowRecord* record = FindRecord(row);
    return record ? record->Tags : RowTags{};
}

int TCoolListView::RowRule(int row) const {
    const RowRecord* record = FindRecord(row);
    return record ? record->Rule : 0;
}

std::uint64_t TCoolListView::RowId(int row) const {
    const RowRecord* record = FindRecord(row);
    return record ? record->Id : 0;
}

int TCoolListView::FindRow(std::uint64_t id) const {
    if (id == 0) return -1;
    for (std::size_t row = 0; row < rows_.size(); ++row)
        if (rows_[row]->Id == id) return static_cast<int>(row);
    return -1;
}

void TCoolListView::DeleteRow(int row) {
    if (row < 0 || row >= RowCount()) throw RowError(row);
    DeleteRows({rows_[row]->Id});
}

void TCoolListView::DeleteRows(const std::vector<std::uint64_t>& ids) {
    const std::unordered_set<std::uint64_t> doomed(ids.begin(), ids.end());
    // Every row going (as after an automatic run's delete) is one clear rather than a removal per row.
    if (!rows_.empty() &&
        std::all_of(rows_.begin(), rows_.end(), [&](const auto& row) { return doomed.count(row->Id) > 0; })) {
        Clear();
        return;
    }
    const bool captionsKept = captionsKnown_ && captions_.Size() == RowCount();
    bool removed = false;
    // From the bottom up: the control moves the selection of the rows below each deleted one up a row,
    // and the rows still to be looked at keep their places here and there. The control tells the parent
    // of each row while it is still here; the gaps are closed once at the end.
    for (int row = RowCount() - 1; row >= 0; --row) {
        if (!doomed.count(rows_[row]->Id)) continue;
        if (!removed) DeferRedraw();
        removed = true;
        SendMessageA(handle_, LVM_DELETEITEM, row, 0);
        rows_[row].reset();
        if (captionsKept) captions_.Erase(row);
    }
    if (!removed) return;
    rows_.erase(std::remove(rows_.begin(), rows_.end(), nullptr), rows_.end());
    captionsKnown_ = captionsKept;
}

void TCoolListView::Clear() {
    RowsMoved();
    SendMessageA(handle_, LVM_DELETEALLITEMS, 0, 0);
    rows_.clear();
    captions_.Clear();
    captionsKnown_ = true;
    captionOrdered_ = true;
}

int TCoolListView::RowCount() const {
    return static_cast<int>(rows_.size());
}

std::string TCoolListView::Text(int row, int column) const {
    const RowRecord* record = FindRecord(row);
    if (!record || column < 0 || column >= static_cast<int>(record->Texts.size())) return {};
    return record->Texts[static_cast<std::size_t>(column)];
}

void TCoolListView::AnswerDisplayRequest(NMHDR& header) {
    // The ANSI and the wide request differ only in the type of the text buffer.
    LVITEMA& item = reinterpret_cast<NMLVDISPINFOA&>(header).item;
    const RowRecord* record = FindRecord(item.iItem);
    if (item.mask & LVIF_INDENT) item.iIndent = 0;
    if (item.mask & LVIF_IMAGE)
        item.iImage = record && record->ImageIndex >= 0 ? record->ImageIndex : I_IMAGENONE;
    if (!(item.mask & LVIF_TEXT) || !item.pszText || item.cchTextMax <= 0) return;
    const bool known = record && item.iSubItem >= 0 && item.iSubItem < static_cast<int>(record->Texts.size());
    const char* text = known ? record->Texts[static_cast<std::size_t>(item.iSubItem)].c_str() : "";
    if (header.code == LVN_GETDISPINFOA) {
        lstrcpynA(item.pszText, text, item.cchTextMax);
        return;
    }
    const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(std::max(length, 1)), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), length);
    lstrcpynW(reinterpret_cast<wchar_t*>(item.pszText), wide.c_str(), item.cchTextMax);
}

int TCoolListView::FindTypedCaption(NMHDR& header) const {
    const auto& find = reinterpret_cast<const NMLVFINDITEMA&>(header);
    if (!(find.lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) || !find.lvfi.psz) return -1;
    std::string typed;
    if (header.code == LVN_ODFINDITEMA) {
        typed = find.lvfi.psz;
    } else {
        const auto* wide = reinterpret_cast<const wchar_t*>(find.lvfi.psz);
        const int length = WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
        typed.assign(static_cast<std::size_t>(std::max(length, 1)), '\0');
        WideCharToMultiByte(CP_ACP, 0, wide, -1, typed.data(), length, nullptr, nullptr);
        typed.resize(std::strlen(typed.c_str()));
    }
    const bool partial = (find.lvfi.flags & LVFI_PARTIAL) != 0;
    const int count = RowCount();
    const int start = find.iStart >= 0 && find.iStart < count ? find.iStart : 0;
    const int span = (find.lvfi.flags & LVFI_WRAP) ? count : count - start;
    // The control's own search compares without regard to case, the whole caption or its beginning.
    for (int step = 0; step < span; ++step) {
        const int row = (start + step) % count;
        const std::string& caption = rows_[row]->Texts.front();
        if (partial && caption.size() < typed.size()) continue;
        const int length = static_cast<int>(partial ? typed.size() : caption.size());
        if (!partial && caption.size() != typed.size()) continue;
        if (CompareStringA(GetThreadLocale(), NORM_IGNORECASE, caption.c_str(), length, typed.c_str(),
                           static_cast<int>(typed.size())) == CSTR_EQUAL)
            return row;
    }
    return -1;
}

int TCoolListView::ImageIndex(int row) const {
    const RowRecord* record = FindRecord(row);
    return record ? record->ImageIndex : -1;
}

void TCoolListView::SetItemText(int row, int column, const std::string& text) {
    RowRecord* record = FindRecord(row);
    if (!record || column < 0) return;
    if (static_cast<std::size_t>(column) >= record->Texts.size()) record->Texts.resize(column + 1);
    std::string& kept = record->Texts[static_cast<std::size_t>(column)];
    if (kept == text) return;
    // The control would have announced a new caption of a text of its own; it cannot see this one change.
    const bool caption = column == 0;
    if (caption && OnChanging && !OnChanging(*this, row)) return;
    kept = text;
    // Drawn (and, in the icon views, arranged) again with the new text.
    SendMessageA(handle_, LVM_UPDATE, row, 0);
    if (caption && OnChange) OnChange(*this, row);
}

TCoolListView::RowRecord* TCoolListView::FindRecord(int row) {
    return const_cast<RowRecord*>(static_cast<const TCoolListView&>(*this).FindRecord(row));
}

const TCoolListView::RowRecord* TCoolListView::FindRecord(int row) const {
    if (row < 0 || row >= static_cast<int>(rows_.size())) return nullptr;
    return rows_[static_cast<std::size_t>(row)].get();
}

bool TCoolListView::CaptionFitsAt(int row) const {
    const std::string& caption = rows_[row]->Texts.front();
    const TextCollation& collation = PlatformCollation();
    if (row > 0 && collation.Compare(rows_[row - 1]->Texts.front(), caption) > 0) return false;
    return row + 1 >= RowCount() || collation.Compare(caption, rows_[row + 1]->Texts.front()) <= 0;
}

int TCoolListView::SelectedCount() const {
    return static_cast<int>(SendMessageA(handle_, LVM_GETSELECTEDCOUNT, 0, 0));
}

bool TCoolListView::IsSelected(int row) const {
    return SendMessageA(handle_, LVM_GETITEMSTATE, row, LVIS_SELECTED) & LVIS_SELECTED;
}

void TCoolListView::SetSelected(int row, bool selected) {
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED;
    item.state = selected ? LVIS_SELECTED : 0;
    SendMessageA(handle_, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

void TCoolListView::SelectAll() {
    DeferRedraw();
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED;
    item.state = LVIS_SELECTED;
    SendMessageA(handle_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
}

std::vector<int> TCoolListView::SelectedRows() const {
    std::vector<int> rows;
    for (int row = -1;;) {
        row = static_cast<int>(SendMessageA(handle_, LVM_GETNEXTITEM, row, MAKELPARAM(LVNI_SELECTED, 0)));
        if (row < 0) return rows;
        rows.push_back(row);
    }
}

void TCoolListView::SetImageLists(HIMAGELIST smallImages, HIMAGELIST largeImages) {
    SendMessageA(handle_, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(smallImages));
    SendMessageA(handle_, LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(largeImages));
}

ViewStyle TCoolListView::GetViewStyle() const {
    switch (GetWindowLongPtrA(handle_, GWL_STYLE) & LVS_TYPEMASK) {
        case LVS_ICON:
            return ViewStyle::LargeIcons;
        case LVS_SMALLICON:
            return ViewStyle::SmallIcons;
        case LVS_LIST:
            return ViewStyle::List;
        default:
            return ViewStyle::Report;
    }
}

void TCoolListView::SetViewStyle(ViewStyle style) {
    LONG_PTR type = LVS_REPORT;
    switch (style) {
        case ViewStyle::LargeIcons:
            type = LVS_ICON;
            break;
        case ViewStyle::SmallIcons:
            type = LVS_SMALLICON;
            break;
        case ViewStyle::List:
            type = LVS_LIST;
            break;
        case ViewStyle::Report:
            break;
    }
    const LONG_PTR current = GetWindowLongPtrA(handle_, GWL_STYLE);
    if ((current & LVS_TYPEMASK) == type) return;
    SetWindowLongPtrA(handle_, GWL_STYLE, (current & ~LVS_TYPEMASK) | type);
    // The control repaints only where the new view puts items; what the old view drew elsewhere would stay.
    InvalidateRect(handle_, nullptr, TRUE);
}

// Some list views turn redrawing off by clearing WS_VISIBLE; a deferral only ever starts on a visible list.
bool TCoolListView::Visible() const {
    return redrawDeferred_ || (GetWindowLongPtrA(handle_, GWL_STYLE) & WS_VISIBLE);
}

void TCoolListView::SetVisible(bool visible) {
    ResumeRedraw();
    ShowWindow(handle_, visible ? SW_SHOW : SW_HIDE);
}

void TCoolListView::SetBounds(int x, int y, int width, int height) {
    SetWindowPos(handle_, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

bool TCoolListView::HandleNotify(NMHDR& header, LRESULT& result) {
    if (!handle_ || header.hwndFrom != handle_) return false;
    const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
    // Changes of the value kept in lParam are the list's own business, not a change of the row.
    const bool rowChange = (change.uChanged & (LVIF_TEXT | LVIF_IMAGE | LVIF_STATE)) != 0;
    switch (header.code) {
        case LVN_GETDISPINFOA:
        case LVN_GETDISPINFOW:
            result = 0;
            AnswerDisplayRequest(header);
            return true;
        case LVN_DELETEALLITEMS:
            // Nothing here needs a word of each row when all of them go at once.
            result = TRUE;
            return true;
        case LVN_COLUMNCLICK:
            result = 0;
            HeaderClick(change.iSubItem);
            return true;
        case LVN_ITEMCHANGING:
            result = FALSE;
            if (rowChange && !movingRows_ && OnChanging && !OnChanging(*this, change.iItem)) result = TRUE;
            return true;
        case LVN_ITEMCHANGED:
            result = 0;
            if (rowChange && !movingRows_ && OnChange) OnChange(*this, change.iItem);
            return true;
        case LVN_ODSTATECHANGED:
            result = 0;
            if (!movingRows_ && OnChange)
                OnChange(*this, reinterpret_cast<const NMLVODSTATECHANGE&>(header).iFrom);
            return true;
        case LVN_ODFINDITEMA:
        case LVN_ODFINDITEMW:
            result = FindTypedCaption(header);
            return true;
        case NM_DBLCLK:
            result = 0;
            if (OnDblClick) OnDblClick(*this);
            return true;
    }
    return false;
}

void TCoolListView::EnableInfoTips(std::function<std::string(TCoolListView&, int row)> tip) {
    rowTips_ =
        std::make_unique<RowTips>(handle_, [this, tip = std::move(tip)](int row) { return tip(*this, row); });
}

}  // namespace kelvaro
