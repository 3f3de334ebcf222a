// The sortable list view on the platform's own list view control, driven by the notifications its header
// and the mouse and keyboard produce.
#include <windows.h>
#include <gtest/gtest.h>
// after windows.h, whose types it uses
#include <commctrl.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "base/errors.h"
#include "ui/message_box_win.h"
#include "ui/window_win.h"
#include "widgets/cool_list_view_win.h"

namespace kelvaro::testing {
namespace {

using Texts = std::vector<std::string>;
constexpr int kListId = 101;
constexpr int kSize = 3;

// A parent that forwards the list's notifications, as the main window does.
class ListHost : public Window {
public:
    explicit ListHost(bool autoSort = true, TSortType sortType = stBoth) {
        RegisterClassOnce("KelvaroListHost", nullptr);
        Create("KelvaroListHost", "", WS_POPUP, 0, 0, 0, 640, 400, nullptr, nullptr);
        list = std::make_unique<TCoolListView>(Handle(), kListId, true);
        list->SetBounds(0, 0, 620, 360);
        for (const char* caption : {"Name", "Ext", "Location", "Size", "Date", "Time"})
            list->AddColumn(caption, 90, LVCFMT_LEFT);
        list->AutoSort = autoSort;
        list->SetSortType(sortType);
    }
    ~ListHost() override { list.reset(); }

    // What the header sends when the user clicks a column.
    void ClickHeader(int column) {
        NMLISTVIEW notify{};
        notify.hdr = {list->Handle(), kListId, static_cast<UINT>(LVN_COLUMNCLICK)};
        notify.iItem = -1;
        notify.iSubItem = column;
        SendMessageA(Handle(), WM_NOTIFY, kListId, reinterpret_cast<LPARAM>(&notify));
    }
    // A file row: name, size; the size is also kept as the row's value.
    void AddFile(const std::string& name, const std::string& size) {
        const int row = list->AddRow(name, {"", "C:\\", size, "1/2/97", "3:04 PM"}, 7);
        list->SetRowData(row, std::stoll("0" + size.substr(0, size.find(','))));
    }
    Texts Column(int column) const {
        Texts texts;
        for (int row = 0; row < list->RowCount(); ++row) texts.push_back(list->Text(row, column));
        return texts;
    }
    bool InNameOrder() const {
        for (int row = 1; row < list->RowCount(); ++row)
            if (lstrcmpA(list->Text(row - 1, 0).c_str(), list->Text(row, 0).c_str()) > 0) return false;
        return true;
    }

    std::unique_ptr<TCoolListView> list;
    int everyRowChanges = 0;  // reports of a change of every row at once

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_NOTIFY && list) {
            const auto& change = *reinterpret_cast<const NMLISTVIEW*>(lParam);
            if (change.hdr.code == LVN_ITEMCHANGED && change.iItem < 0) ++everyRowChanges;
            LRESULT result = 0;
            if (list->HandleNotify(*reinterpret_cast<NMHDR*>(lParam), result)) return result;
        }
        return DefaultHandling(message, wParam, lParam);
    }
};

void AddSizes(ListHost& host) {
    host.AddFile("delta.tmp", "512");
    host.AddFile("Alpha.tmp", "64");
    host.AddFile("echo.tmp", "1,024");
    host.AddFile("bravo.tmp", "999");
    host.AddFile("charlie.tmp", "0");
}

TEST(CoolListViewWin, HeaderClicksSortNumbersAndTextsAndReverseOnTheSameColumn) {
    ListHost host;
    AddSizes(host);
    std::vector<int> columnSorts;
    int afterSorts = 0;
    host.list->OnColumnSort = [&](TCoolListView&, int column) { columnSorts.push_back(column); };
    host.list->OnAfterSort = [&](TCoolListView&) { ++afterSorts; };

    const struct {
        int column;
        bool ascending;
        Texts sizes;
    } clicks[] = {
        {kSize, true, {"0", "1,024", "64", "512", "999"}}, {kSize, false, {"999", "512", "64", "1,024", "0"}},
        {kSize, true, {"0", "1,024", "64", "512", "999"}}, {0, true, {"64", "999", "0", "512", "1,024"}},
        {kSize, true, {"0", "1,024", "64", "512", "999"}},
    };
    for (const auto& click : clicks) {
        host.ClickHeader(click.column);
        EXPECT_EQ(host.Column(kSize), click.sizes) << "column " << click.column;
        EXPECT_EQ(host.list->SortColumn(), click.column);
        EXPECT_EQ(host.list->SortAscending(), click.ascending);
    }
    EXPECT_EQ(columnSorts, (std::vector<int>{kSize, kSize, kSize, 0, kSize}));
    EXPECT_EQ(afterSorts, 5);
    // Values and icons travel with their rows.
    for (int row = 0; row < host.list->RowCount(); ++row) {
        const std::string size = host.list->Text(row, kSize);
        EXPECT_EQ(host.list->RowData(row), std::stoll(size.substr(0, size.find(',')))) << size;
        EXPECT_EQ(host.list->ImageIndex(row), 7);
    }
}

TEST(CoolListViewWin, AClickOnTheRealHeaderSortsThatColumn) {
    ListHost host;
    AddSizes(host);
    HWND header = reinterpret_cast<HWND>(SendMessageA(host.list->Handle(), LVM_GETHEADER, 0, 0));
    RECT size{};
    ASSERT_TRUE(SendMessageA(header, HDM_GETITEMRECT, kSize, reinterpret_cast<LPARAM>(&size)));
    const LPARAM point = MAKELPARAM((size.left + size.right) / 2, (size.top + size.bottom) / 2);
    SendMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, point);
    SendMessageA(header, WM_LBUTTONUP, 0, point);
    EXPECT_EQ(host.list->SortColumn(), kSize);
    EXPECT_EQ(host.Column(kSize), (Texts{"0", "1,024", "64", "512", "999"}));
}

// The platform's collation keys stand in for lstrcmpA when a row's place is sought: names that mix case,
// digits, punctuation and accents land in lstrcmpA order, one by one or in a batch, also after a header sort
// left the list out of name order, and the control shows as many rows as the list holds.
TEST(CoolListViewWin, RowsLandInTheOrderOfTheUsersLocale) {
    const auto fill = [](ListHost& host, bool asBatch) {
        const char* const parts[] = {"a", "A", "b", "-", "_", "1", "10", "\xe9", "E", "~", " ", "'"};
        std::mt19937 random(9);
        const auto name = [&] {
            std::string text;
            for (int i = 0; i < 3; ++i) text += parts[random() % 12];
            return text + ".tmp";
        };
        for (int i = 0; i < 300; ++i) host.list->AddRow(name(), {"", "", std::to_string(i)}, -1);
        host.ClickHeader(kSize);
        std::vector<TCoolListView::NewRow> rows;
        for (int i = 0; i < 400; ++i) rows.push_back({name(), {"", "", "new" + std::to_string(i)}});
        if (asBatch) {
            host.list->AddRows(std::move(rows));
        } else {
            for (auto& row : rows) host.list->AddRow(row.Caption, row.SubItems, row.ImageIndex, row.Data);
        }
        for (int row = 0; row < 100; ++row) host.list->DeleteRow(static_cast<int>(random() % 500));
        return host.Column(kSize);
    };
    ListHost oneByOne, batch;
    EXPECT_EQ(fill(batch, true), fill(oneByOne, false));
    EXPECT_TRUE(batch.InNameOrder());
    EXPECT_EQ(SendMessageA(batch.list->Handle(), LVM_GETITEMCOUNT, 0, 0), 600);
}

// A list long enough for a sort to take a while shows the wait cursor while it sorts, and only then.
TEST(CoolListViewWin, ALongListShowsTheWaitCursorWhileItSorts) {
    ListHost host(true, stNone);
    std::vector<NewFileRow> files;
    for (int i = 0; i < TCoolListView::kWaitCursorRows - 1; ++i)
        files.push_back({"C:\\f" + std::to_string(i)});
    host.list->AddFileRows(files);
    const HCURSOR wait = LoadCursorA(nullptr, IDC_WAIT);
    bool waiting = true;
    host.list->OnAfterSort = [&](TCoolListView&) { waiting = GetCursor() == wait; };
    host.ClickHeader(0);
    EXPECT_FALSE(waiting);
    host.list->AddFileRows({{"C:\\last"}});
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    host.ClickHeader(0);
    EXPECT_TRUE(waiting);
    EXPECT_NE(GetCursor(), wait);
}

TEST(CoolListViewWin, WithoutAutoSortAHeaderClickOnlyReportsTheColumn) {
    ListHost host(false, stNone);
    for (const char* location : {"C:\\temp\\", "A:\\", "B:\\"}) host.list->AddRow(location, {"*.tmp"}, 0);
    std::vector<int> columnSorts;
    int afterSorts = 0;
    host.list->OnColumnSort = [&](TCoolListView&, int column) { columnSorts.push_back(column); };
    host.list->OnAfterSort = [&](TCoolListView&) { ++afterSorts; };
    host.ClickHeader(0);
    host.ClickHeader(1);
    host.list->Resort();
    EXPECT_EQ(host.Column(0), (Texts{"C:\\temp\\", "A:\\", "B:\\"}));
    EXPECT_EQ(columnSorts, (std::vector<int>{0, 1}));
    EXPECT_EQ(afterSorts, 0);
    EXPECT_EQ(host.list->SortColumn(), -1);
    EXPECT_TRUE(host.list->SortAscending());
}

// The rows' texts are kept by the class and handed to the control when it asks: whoever reads the control
// itself (a screen reader, a type-ahead search, another program) sees what the class sees.
TEST(CoolListViewWin, TheControlItselfReadsTheRowsTextsAndACaptionChangeIsAnnounced) {
    ListHost host(false, stNone);
    host.list->AddRow("report.tmp", {".tmp", "C:\\Temp\\", "1,024"}, 0);
    auto controlText = [&](int row, int column) {
        char buffer[64] = "unchanged";
        LVITEMA item{};
        item.iSubItem = column;
        item.pszText = buffer;
        item.cchTextMax = sizeof buffer;
        SendMessageA(host.list->Handle(), LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
        return std::string(buffer);
    };
    EXPECT_EQ(controlText(0, 0), "report.tmp");
    EXPECT_EQ(controlText(0, 2), "C:\\Temp\\");
    EXPECT_EQ(controlText(0, 4), "");  // a column the row has no text for
    wchar_t wide[4] = L"xyz";
    LVITEMW item{};
    item.iSubItem = 3;
    item.pszText = wide;
    item.cchTextMax = 4;  // too small: cut, and still ended
    SendMessageW(host.list->Handle(), LVM_GETITEMTEXTW, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(std::wstring(wide), L"1,0");
    LVFINDINFOA find{LVFI_STRING, "report.tmp"};
    EXPECT_EQ(SendMessageA(host.list->Handle(), LVM_FINDITEMA, -1, reinterpret_cast<LPARAM>(&find)), 0);
    // Typing a name's first letters selects its row.
    host.list->AddRow("Zeta.tmp", {}, 0);
    SendMessageA(host.list->Handle(), WM_CHAR, 'z', 1);
    EXPECT_EQ(host.list->SelectedRows(), std::vector<int>{1});

    std::vector<int> changing, changed;
    bool allow = false;
    host.list->OnChanging = [&](TCoolListView&, int row) { return changing.push_back(row), allow; };
    host.list->OnChange = [&](TCoolListView&, int row) { changed.push_back(row); };
    host.list->SetRowTexts(0, "refused.tmp", {".bak"});
    EXPECT_EQ(host.list->Text(0, 0), "report.tmp");
    EXPECT_EQ(controlText(0, 1), ".bak");  // only the caption asks first
    allow = true;
    host.list->SetRowTexts(0, "renamed.tmp", {".bak"});
    EXPECT_EQ(controlText(0, 0), "renamed.tmp");
    host.list->SetRowTexts(0, "renamed.tmp", {".tmp"});  // the same caption: no change to announce
    EXPECT_EQ(changing, (std::vector<int>{0, 0}));
    EXPECT_EQ(changed, std::vector<int>{0});
}

TEST(CoolListViewWin, StyleViewColumnsAndVisibility) {
    ListHost host;
    const LONG_PTR style = GetWindowLongPtrA(host.list->Handle(), GWL_STYLE);
    EXPECT_EQ(style & LVS_TYPEMASK, LVS_REPORT);
    EXPECT_EQ(style & (LVS_SINGLESEL | LVS_EDITLABELS | LVS_NOSORTHEADER), 0);
    EXPECT_EQ(style & (LVS_SHAREIMAGELISTS | LVS_AUTOARRANGE), LVS_SHAREIMAGELISTS | LVS_AUTOARRANGE);
    EXPECT_EQ(GetDlgCtrlID(host.list->Handle()), kListId);

    for (ViewStyle view :
         {ViewStyle::LargeIcons, ViewStyle::SmallIcons, ViewStyle::List, ViewStyle::Report}) {
        host.list->SetViewStyle(view);
        EXPECT_EQ(host.list->GetViewStyle(), view);
    }
    EXPECT_EQ(host.list->ColumnCount(), 6);
    host.list->SetColumnWidth(4, 33);
    EXPECT_EQ(host.list->ColumnWidth(4), 33);
    EXPECT_EQ(host.list->ColumnWidth(5), 90);

    EXPECT_TRUE(host.list->Visible());
    host.list->SetVisible(false);
    EXPECT_FALSE(host.list->Visible());
    TCoolListView hidden(host.Handle(), 102, false);
    EXPECT_FALSE(hidden.Visible());
}

TEST(CoolListViewWin, SelectionChangeEventsAndDoubleClick) {
    ListHost host;
    for (const char* name : {"a", "b", "c", "d", "e"}) host.list->AddRow(name, {}, 0);
    std::vector<int> changed;
    int doubleClicks = 0;
    host.list->OnChange = [&](TCoolListView&, int row) { changed.push_back(row); };
    host.list->OnDblClick = [&](TCoolListView&) { ++doubleClicks; };

    host.list->SetSelected(3, true);
    host.list->SetSelected(1, true);
    EXPECT_EQ(host.list->SelectedRows(), (std::vector<int>{1, 3}));
    EXPECT_EQ(host.list->SelectedCount(), 2);
    EXPECT_TRUE(host.list->IsSelected(3));
    EXPECT_EQ(changed, (std::vector<int>{3, 1}));
    host.list->SetSelected(3, false);
    EXPECT_EQ(host.list->SelectedRows(), std::vector<int>{1});

    // Without the focus, as under a question about them, the selected rows keep the selection's colour.
    ASSERT_NE(GetFocus(), host.list->Handle());
    RECT label{LVIR_LABEL};
    SendMessageA(host.list->Handle(), LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&label));
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP picture = CreateCompatibleBitmap(screen, 640, 400);
    HGDIOBJ old = SelectObject(memory, picture);
    SendMessageA(host.list->Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
    const COLORREF marked = GetPixel(memory, label.left + 1, label.top + 1);
    SelectObject(memory, old);
    DeleteObject(picture);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(marked, GetSysColor(COLOR_HIGHLIGHT));

    const LPARAM point = MAKELPARAM(5, 5);
    SendMessageA(host.list->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, point);
    SendMessageA(host.list->Handle(), WM_LBUTTONUP, 0, point);
    EXPECT_EQ(doubleClicks, 1);
}

// The control knows selected and focused rows only by their places: sorts, insertions and deletions move
// the rows, and the selection and focus move with them without being reported as changes.
TEST(CoolListViewWin, SelectionAndFocusStayOnTheirRowsWhenRowsMove) {
    ListHost host;
    AddSizes(host);  // Alpha, bravo, charlie, delta, echo
    HWND list = host.list->Handle();
    const auto marked = [&](UINT state) {
        Texts names;
        for (int row = 0; row < host.list->RowCount(); ++row)
            if (SendMessageA(list, LVM_GETITEMSTATE, row, state) & state)
                names.push_back(host.list->Text(row, 0));
        return names;
    };
    host.list->SetSelected(1, true);
    host.list->SetSelected(3, true);
    LVITEMA focus{};
    focus.stateMask = focus.state = LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, 4, reinterpret_cast<LPARAM>(&focus));
    int changes = 0;
    host.list->OnChanging = [&](TCoolListView&, int) { return ++changes, true; };
    host.list->OnChange = [&](TCoolListView&, int) { ++changes; };

    host.ClickHeader(0);
    host.ClickHeader(0);
    ASSERT_EQ(host.list->Text(0, 0), "echo.tmp");
    EXPECT_EQ(marked(LVIS_SELECTED), (Texts{"delta.tmp", "bravo.tmp"}));
    EXPECT_EQ(marked(LVIS_FOCUSED), Texts{"echo.tmp"});
    host.AddFile("able.tmp", "1");  // back in name order, with a row before all of them
    host.list->AddRows({{"beta.tmp", {}}, {"zulu.tmp", {}}});
    EXPECT_EQ(marked(LVIS_SELECTED), (Texts{"bravo.tmp", "delta.tmp"}));
    EXPECT_EQ(marked(LVIS_FOCUSED), Texts{"echo.tmp"});
    EXPECT_EQ(changes, 0);
    host.list->DeleteRows({host.list->RowId(0), host.list->RowId(2)});  // able, beta
    EXPECT_EQ(marked(LVIS_SELECTED), (Texts{"bravo.tmp", "delta.tmp"}));
    EXPECT_EQ(host.list->SelectedRows(), (std::vector<int>{1, 3}));

    host.list->SelectAll();
    const int changesBefore = host.everyRowChanges;
    host.ClickHeader(kSize);
    EXPECT_EQ(host.list->SelectedCount(), host.list->RowCount());
    EXPECT_EQ(marked(LVIS_FOCUSED), Texts{"echo.tmp"});
    // Selected all along: the control is not asked to change every row's state, twice.
    EXPECT_EQ(host.everyRowChanges, changesBefore);
}

TEST(CoolListViewWin, KeysReachTheEventsBeforeTheControl) {
    ListHost host;
    for (const char* name : {"a", "b", "c"}) host.list->AddRow(name, {}, 0);
    std::vector<WPARAM> keys;
    std::string characters;
    host.list->OnKeyDown = [&](TCoolListView& list, WPARAM key) {
        keys.push_back(key);
        if (key == VK_END) {
            EXPECT_EQ(list.SelectedCount(), 0);  // before the control moves the selection
        }
    };
    host.list->OnKeyPress = [&](TCoolListView&, char character) { characters += character; };
    HWND list = host.list->Handle();
    SendMessageA(list, WM_KEYDOWN, VK_DELETE, 0);
    SendMessageA(list, WM_KEYDOWN, VK_END, 0);
    SendMessageA(list, WM_SYSKEYDOWN, VK_DELETE, 1 << 29);
    SendMessageA(list, WM_CHAR, 27, 0);
    SendMessageA(list, WM_CHAR, 0xE9, 0);
    EXPECT_EQ(keys, (std::vector<WPARAM>{VK_DELETE, VK_END, VK_DELETE}));
    EXPECT_EQ(characters, "\x1b\xe9");
    EXPECT_TRUE(host.list->IsSelected(2));  // the control still had the End key

    std::string shown;
    SetMessageBoxFunction([&](HWND, const std::string& text, const std::string&, UINT) {
        shown = text;
        return IDOK;
    });
    host.list->OnKeyDown = [](TCoolListView&, WPARAM) {
        throw Exception("'x' is not a valid integer value");
    };
    SendMessageA(list, WM_KEYDOWN, VK_HOME, 0);
    SetMessageBoxFunction(nullptr);
    EXPECT_EQ(shown, "'x' is not a valid integer value.");
    EXPECT_TRUE(host.list->IsSelected(2));  // the key went no further
    EXPECT_FALSE(host.list->IsSelected(0));
}

// Filling a visible list must not repaint per row, and must repaint once the program reads its messages.
TEST(CoolListViewWin, RowChangesOfAVisibleListRepaintOnceTheMessagesAreRead) {
    ListHost host;
    HWND list = host.list->Handle();
    const auto readPostedMessages = [list] {
        MSG message;  // posted messages only (registered range), so that WM_PAINT stays pending
        while (PeekMessageA(&message, list, 0xC000, 0xFFFF, PM_REMOVE)) DispatchMessageA(&message);
    };
    // Also while its window is not shown yet (a run at start-up fills it then): its repaint waits too.
    host.AddFile("golf.tmp", "1");
    MSG pending;
    EXPECT_TRUE(PeekMessageA(&pending, list, 0xC000, 0xFFFF, PM_NOREMOVE));
    host.list->DeleteRow(0);
    ShowWindow(host.Handle(), SW_SHOWNOACTIVATE);
    UpdateWindow(host.Handle());
    readPostedMessages();
    UpdateWindow(host.Handle());

    AddSizes(host);
    host.list->DeleteRow(0);
    EXPECT_FALSE(GetUpdateRect(list, nullptr, FALSE));
    EXPECT_TRUE(host.list->Visible());
    readPostedMessages();
    EXPECT_TRUE(GetUpdateRect(list, nullptr, FALSE));

    host.AddFile("foxtrot.tmp", "1");
    host.list->SetVisible(false);
    readPostedMessages();
    EXPECT_FALSE(IsWindowVisible(list));
    EXPECT_FALSE(host.list->Visible());
    host.list->SetVisible(true);
    EXPECT_TRUE(IsWindowVisible(list));
    EXPECT_EQ(host.list->RowCount(), 5);
}

}  // namespace
}  // namespace kelvaro::testing
