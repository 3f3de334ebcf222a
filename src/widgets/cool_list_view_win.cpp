#include "widgets/cool_list_view_win.h"

#include <algorithm>
#include <cstring>

#include "base/errors.h"
#include "ui/guarded_call_win.h"

namespace kelvaro {
namespace {

// Posted to the list to turn redrawing back on once the program reads its messages again.
UINT ResumeRedrawMessage() {
    static const UINT message = RegisterWindowMessageA("KelvaroCoolListViewResumeRedraw");
    return message;
}

}  // namespace

TCoolListView::TCoolListView(HWND parent, int controlId, bool visible) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    // No LVS_SINGLESEL (multi-select), no LVS_EDITLABELS (read-only captions), clickable headers. The
    // selection stays in view without the focus: a question about the selected rows takes the focus away
    // while the user must still see which rows it means.
    const DWORD style = WS_CHILD | WS_TABSTOP | WS_CLIPSIBLINGS | LVS_REPORT | LVS_SHAREIMAGELISTS |
                        LVS_AUTOARRANGE | LVS_OWNERDATA | LVS_SHOWSELALWAYS | (visible ? WS_VISIBLE : 0);
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

void TCoolListView::HeaderClick(int column) {
    // A sort of this many rows can take half a second or more on a busy machine: the wait cursor says the
    // window is busy until it is done (and the next mouse move over the list puts the list's back).
    const HCURSOR previous =
        AutoSort && RowCount() >= kWaitCursorRows ? SetCursor(LoadCursorA(nullptr, IDC_WAIT)) : nullptr;
    if (OnColumnSort) OnColumnSort(*this, column);
    if (rows_.HeaderClick(column, AutoSort) && OnAfterSort) OnAfterSort(*this);
    if (previous) SetCursor(previous);
}

std::vector<int> TCoolListView::SelectedPlaces() const {
    return SelectedCount() > 0 ? SelectedRows() : std::vector<int>{};
}

int TCoolListView::FocusedPlace() const {
    return static_cast<int>(SendMessageA(handle_, LVM_GETNEXTITEM, -1, MAKELPARAM(LVNI_FOCUSED, 0)));
}

void TCoolListView::ShowCount(int count) {
    const bool movingBefore = movingRows_;
    movingRows_ = true;
    SendMessageA(handle_, LVM_SETITEMCOUNT, count, LVSICF_NOSCROLL | LVSICF_NOINVALIDATEALL);
    movingRows_ = movingBefore;
}

void TCoolListView::ShowCount(int count, const RowMarks& marks) {
    const bool movingBefore = movingRows_;
    movingRows_ = true;
    // Every row selected before and after (a sort after Ctrl+A) keeps the selection as it is: the control
    // changes the state of all rows one by one, which takes a moment at a million rows.
    const bool allStay = marks.AllSelected && count == SendMessageA(handle_, LVM_GETITEMCOUNT, 0, 0) &&
                         SelectedCount() == count;
    // Cleared first, then put back where the rows are now.
    LVITEMA item{};
    item.stateMask = allStay ? LVIS_FOCUSED : LVIS_SELECTED | LVIS_FOCUSED;
    if (!allStay)
        SendMessageA(handle_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
    else if (const int focused = FocusedPlace(); focused >= 0)
        SendMessageA(handle_, LVM_SETITEMSTATE, focused, reinterpret_cast<LPARAM>(&item));
    SendMessageA(handle_, LVM_SETITEMCOUNT, count, LVSICF_NOSCROLL | LVSICF_NOINVALIDATEALL);
    item.stateMask = item.state = LVIS_SELECTED;
    if (marks.AllSelected && !allStay)
        SendMessageA(handle_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
    for (int row : marks.Selected)
        SendMessageA(handle_, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
    if (marks.Focused >= 0) {
        item.stateMask = item.state = LVIS_FOCUSED;
        SendMessageA(handle_, LVM_SETITEMSTATE, marks.Focused, reinterpret_cast<LPARAM>(&item));
    }
    movingRows_ = movingBefore;
}

// The control tells the parent of the row while it is still among the rows.
void TCoolListView::RemovePlace(int row) {
    SendMessageA(handle_, LVM_DELETEITEM, row, 0);
}

void TCoolListView::RemoveAll() {
    RowsMoved();
    SendMessageA(handle_, LVM_DELETEALLITEMS, 0, 0);
}

void TCoolListView::TextChanged(int row, int column) {
    // Drawn (and, in the icon views, arranged) again with the new text.
    SendMessageA(handle_, LVM_UPDATE, row, 0);
    // The control would have announced a new caption of a text of its own; it cannot see this one change.
    if (column == 0 && OnChange) OnChange(*this, row);
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

void TCoolListView::AnswerDisplayRequest(NMHDR& header) {
    // The ANSI and the wide request differ only in the type of the text buffer.
    LVITEMA& item = reinterpret_cast<NMLVDISPINFOA&>(header).item;
    if (item.mask & LVIF_INDENT) item.iIndent = 0;
    // -1 would ask the parent for the icon (I_IMAGECALLBACK).
    if (item.mask & LVIF_IMAGE) {
        const int image = rows_.ImageIndex(item.iItem);
        item.iImage = image >= 0 ? image : I_IMAGENONE;
    }
    if (!(item.mask & LVIF_TEXT) || !item.pszText || item.cchTextMax <= 0) return;
    const std::string kept = rows_.Text(item.iItem, item.iSubItem);
    const char* text = kept.c_str();
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
    // The control's own search compares without regard to case, the whole caption or its beginning.
    return rows_.FindCaption(find.iStart, find.lvfi.flags & LVFI_WRAP, [&](const std::string& caption) {
        if (partial ? caption.size() < typed.size() : caption.size() != typed.size()) return false;
        return CompareStringA(GetThreadLocale(), NORM_IGNORECASE, caption.c_str(),
                              static_cast<int>(typed.size()), typed.c_str(),
                              static_cast<int>(typed.size())) == CSTR_EQUAL;
    });
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
        case NM_CUSTOMDRAW:
            result = MarkSelectionWithoutFocus(reinterpret_cast<NMLVCUSTOMDRAW&>(header));
            return true;
    }
    return false;
}

LRESULT TCoolListView::MarkSelectionWithoutFocus(NMLVCUSTOMDRAW& draw) const {
    if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
    // While a question or another window has the focus, the platform marks selected rows in the button
    // face colour, which is hardly told from the window's white: the rows a question is about would look
    // unselected. They keep the selection's own colours instead.
    if (draw.nmcd.dwDrawStage == CDDS_ITEMPREPAINT && (draw.nmcd.uItemState & CDIS_SELECTED) != 0 &&
        GetFocus() != handle_) {
        draw.nmcd.uItemState &= ~static_cast<UINT>(CDIS_SELECTED);
        draw.clrText = GetSysColor(COLOR_HIGHLIGHTTEXT);
        draw.clrTextBk = GetSysColor(COLOR_HIGHLIGHT);
    }
    return CDRF_DODEFAULT;
}

void TCoolListView::EnableInfoTips(std::function<std::string(TCoolListView&, int row)> tip) {
    rowTips_ =
        std::make_unique<RowTips>(handle_, [this, tip = std::move(tip)](int row) { return tip(*this, row); });
}

}  // namespace kelvaro
