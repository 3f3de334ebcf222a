// The main window driven as a user drives it: commands, button clicks, keys, header clicks and
// menu highlights, checked against what the controls show.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include "app/progress_dialog_win.h"
#include "rules/folder_browse_win.h"
#include "windows/main_window_fixture.h"
#include "windows/screenshot.h"
#include "windows/test_tree.h"

namespace kelvaro::testing {
namespace {

TEST_F(MainWindowTest, FirstStartShowsTheDesignAndDefaults) {
    TForm1& f = Open();
    EXPECT_EQ(WindowText(f.Handle()), "Kelvaro for Windows 95");
    EXPECT_EQ(f.StatusText(1), "Ready");
    EXPECT_EQ(f.StatusText(0), "");
    EXPECT_FALSE(InSetupMode());
    EXPECT_TRUE(f.ConfirmDelete() && f.UseRecycleBin());
    EXPECT_TRUE(f.Button(cmd::EBConfirm).Visible() && !f.Button(cmd::EBNotConfirm).Visible());
    EXPECT_TRUE(f.Menu().Checked(cmd::SaveSettingsatExit1) && f.Menu().Checked(cmd::Office97Buttons));
    EXPECT_FALSE(f.Menu().Checked(cmd::RunduringWin95Boot1));
    WindowBounds b = f.Bounds();
    EXPECT_EQ(b.left, 50);
    EXPECT_EQ(b.top, 50);
    EXPECT_EQ(b.width, 549);
    EXPECT_EQ(b.height, 300);
    EXPECT_EQ(f.ListView().GetViewStyle(), ViewStyle::Report);
    EXPECT_TRUE(f.Button(cmd::EBDetails).Down());
    EXPECT_EQ(f.ListView().ColumnWidth(1), 40);
    EXPECT_EQ(f.LVSetup().ColumnWidth(4), 55);
    EXPECT_EQ(f.LVSetup().RowCount(), 0);
    // A question about the selected rows takes the focus from the list: the rows must stay marked.
    for (HWND list : {f.ListView().Handle(), f.LVSetup().Handle()})
        EXPECT_TRUE(GetWindowLongPtrA(list, GWL_STYLE) & LVS_SHOWSELALWAYS);
    EXPECT_TRUE(f.Panel1().BevelsVisible());
    EXPECT_EQ(f.Button(cmd::EBStart).ShortHint(), "Kelvaro");
    EXPECT_EQ(f.FileScan().FileSpecs, "*.tmp");
    EXPECT_TRUE(boxes.empty());
}

TEST_F(MainWindowTest, ModeSwitchFromMenuAndButtonKeepsEveryPartInStep) {
    TForm1& f = Open();
    Command(cmd::Setup2);
    EXPECT_TRUE(InSetupMode());
    EXPECT_TRUE(f.Button(cmd::EBSetup).Down());
    Command(cmd::Setup2);
    EXPECT_FALSE(InSetupMode());
    EXPECT_FALSE(f.Button(cmd::EBSetup).Down());
    Click(cmd::EBSetup);
    EXPECT_TRUE(InSetupMode());
    EXPECT_TRUE(f.Button(cmd::EBSetup).Down());
    Command(cmd::Setup2);  // mixing the two
    EXPECT_FALSE(InSetupMode());
    EXPECT_FALSE(f.Button(cmd::EBSetup).Down());
    for (int i = 0; i < 5; ++i) Click(cmd::EBSetup);
    EXPECT_TRUE(InSetupMode());
    EXPECT_TRUE(f.Button(cmd::EBSetup).Down());
    // The menu of the window holds Add and Delete only now.
    HMENU file = GetSubMenu(GetMenu(f.Handle()), 0);
    EXPECT_EQ(GetMenuItemCount(file), 9);
    Command(cmd::Setup2);
    EXPECT_EQ(GetMenuItemCount(file), 6);
}

TEST_F(MainWindowTest, TwinButtonsAndTicksFollowTheFlagsAfterAnyToggles) {
    TForm1& f = Open();
    int clicks = 0;
    for (int source :
         {cmd::ConfirmDelete1, cmd::EBConfirm, cmd::EBNotConfirm, cmd::ConfirmDelete1, cmd::EBConfirm}) {
        if (source == cmd::ConfirmDelete1)
            Command(source);
        else if (f.Button(source).Visible())
            Click(source);
        else
            continue;
        ++clicks;
        bool on = clicks % 2 == 0;
        EXPECT_EQ(f.ConfirmDelete(), on);
        EXPECT_EQ(f.Button(cmd::EBConfirm).Visible(), on);
        EXPECT_EQ(f.Button(cmd::EBNotConfirm).Visible(), !on);
        EXPECT_EQ(f.Menu().Checked(cmd::ConfirmDelete1), on);
    }
    for (int i = 0; i < 3; ++i) Click(f.UseRecycleBin() ? cmd::EBRecycle : cmd::EBNotRecycle);
    Command(cmd::UseRecycleBin1);
    EXPECT_TRUE(f.UseRecycleBin());
    EXPECT_TRUE(f.Button(cmd::EBRecycle).Visible() && !f.Button(cmd::EBNotRecycle).Visible());
    EXPECT_TRUE(f.Menu().Checked(cmd::UseRecycleBin1));
}

TEST_F(MainWindowTest, ViewStyleButtonsFormAGroupThatMayBeAllUp) {
    TForm1& f = Open();
    Click(cmd::EBLargeIcons);
    EXPECT_EQ(f.ListView().GetViewStyle(), ViewStyle::LargeIcons);
    EXPECT_TRUE(f.Button(cmd::EBLargeIcons).Down());
    EXPECT_FALSE(f.Button(cmd::EBDetails).Down());
    Click(cmd::EBLargeIcons);  // the down one comes up; the style stays
    EXPECT_FALSE(f.Button(cmd::EBLargeIcons).Down());
    EXPECT_EQ(f.ListView().GetViewStyle(), ViewStyle::LargeIcons);
    Click(cmd::EBList);
    EXPECT_EQ(f.ListView().GetViewStyle(), ViewStyle::List);
    Command(cmd::Setup2);  // the style buttons work in setup mode too, on the results list only
    Click(cmd::EBSmallIcons);
    EXPECT_EQ(f.ListView().GetViewStyle(), ViewStyle::SmallIcons);
    EXPECT_EQ(f.LVSetup().GetViewStyle(), ViewStyle::Report);
}

TEST_F(MainWindowTest, Office97LookTogglesBevelsAndEveryButtonIncludingHiddenTwins) {
    TForm1& f = Open();
    const int all[] = {cmd::EBSetup,  cmd::EBConfirm, cmd::EBNotConfirm, cmd::EBRecycle,    cmd::EBNotRecycle,
                       cmd::EBDelete, cmd::EBStart,   cmd::EBAdd,        cmd::EBLargeIcons, cmd::EBSmallIcons,
                       cmd::EBList,   cmd::EBDetails, cmd::EBExit};
    for (int id : all) EXPECT_TRUE(f.Button(id).Flat());
    Command(cmd::Office97Buttons);
    EXPECT_FALSE(f.Menu().Checked(cmd::Office97Buttons));
    EXPECT_FALSE(f.Panel1().BevelsVisible());
    for (int id : all) EXPECT_FALSE(f.Button(id).Flat()) << id;
    Command(cmd::Office97Buttons);
    EXPECT_TRUE(f.Panel1().BevelsVisible());
    for (int id : all) EXPECT_TRUE(f.Button(id).Flat());
    Command(cmd::SaveSettingsatExit1);
    EXPECT_FALSE(f.Menu().Checked(cmd::SaveSettingsatExit1));
}

// Counts the texts written to a status bar while it lives.
class StatusBarWrites {
public:
    explicit StatusBarWrites(HWND bar) : bar_(bar) {
        count = 0;
        original_ = SetWindowLongPtrA(bar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Count));
    }
    ~StatusBarWrites() { SetWindowLongPtrA(bar_, GWLP_WNDPROC, original_); }
    static inline int count = 0;

private:
    static LRESULT CALLBACK Count(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == SB_SETTEXTA) ++count;
        return CallWindowProcA(reinterpret_cast<WNDPROC>(original_), window, message, wParam, lParam);
    }
    HWND bar_;
    static inline LONG_PTR original_ = 0;
};

TEST_F(MainWindowTest, CtrlASelectsEveryResultRowAndNothingElseDoes) {
    TForm1& f = Open();
    for (const char* name : {"b.tmp", "a.tmp", "c.tmp"}) f.ListView().AddRow(name, {"", "", "", "", ""}, 0);
    f.LVSetup().AddRow("C:\\", {"*.tmp", "  ", "  ", "Yes", " "}, 0);
    WPARAM keyA = static_cast<WPARAM>(static_cast<unsigned short>(VkKeyScanA('a')));
    auto press = [&](std::initializer_list<int> held) {
        BYTE state[256] = {};
        for (int key : held) state[key] = 0x80;
        SetKeyboardState(state);
        for (int row = 0; row < f.ListView().RowCount(); ++row) f.ListView().SetSelected(row, false);
        SendMessageA(f.Handle(), WM_KEYDOWN, keyA, 0);
        BYTE none[256] = {};
        SetKeyboardState(none);
        return f.ListView().SelectedCount();
    };
    {
        // The summary of all the rows, written once rather than once per row.
        StatusBarWrites writes(FindWindowExA(f.Handle(), nullptr, STATUSCLASSNAMEA, nullptr));
        EXPECT_EQ(press({VK_CONTROL, VK_LCONTROL}), 3);
        EXPECT_EQ(StatusBarWrites::count, 1);
        EXPECT_EQ(f.StatusText(1), "Selected: 3 of 3 (0.00k of 0.00k)");
    }
    EXPECT_EQ(press({VK_CONTROL, VK_SHIFT}), 0);
    EXPECT_EQ(press({VK_CONTROL, VK_MENU}), 0);
    EXPECT_EQ(press({}), 0);
    Command(cmd::Setup2);  // even while the setup list is shown, and never the setup list
    EXPECT_EQ(press({VK_CONTROL}), 3);
    EXPECT_EQ(f.LVSetup().SelectedCount(), 0);
}

TEST_F(MainWindowTest, EscOutsideARunStillAborts) {
    TForm1& f = Open();
    f.ListView().AddRow("x", {"", "", "", "", ""}, 0);
    SendMessageA(f.ListView().Handle(), WM_CHAR, 27, 0);
    EXPECT_TRUE(f.FileScan().StopScan);
    EXPECT_EQ(f.StatusText(1), "Search Aborted!!");
    EXPECT_TRUE(f.Button(cmd::EBStart).Enabled());
    EXPECT_EQ(f.ListView().RowCount(), 1);
    f.FileScan().StopScan = false;
    f.SetStatusText(1, "Ready");
    // A key posted to a list passes the window first.
    PostMessageA(f.LVSetup().Handle(), WM_CHAR, 27, 0);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchFiltered(message);
    EXPECT_TRUE(f.FileScan().StopScan);
    // The progress dialog's stop reaches the same handler.
    f.FileScan().StopScan = false;
    SendMessageA(f.Form3().Handle(), WM_CHAR, 27, 0);
    EXPECT_EQ(f.StatusText(1), "Search Aborted!!");
}

TEST_F(MainWindowTest, HintsOfMenuItemsAndButtonsReachPanelZero) {
    TForm1& f = Open();
    SendMessageA(f.Handle(), WM_MENUSELECT, MAKEWPARAM(cmd::UseRecycleBin1, MF_STRING),
                 reinterpret_cast<LPARAM>(GetSubMenu(GetMenu(f.Handle()), 1)));
    EXPECT_EQ(f.StatusText(0), "Toggle use of Recycle Bin for deleted files");
    SendMessageA(f.Handle(), WM_MENUSELECT, MAKEWPARAM(cmd::Office97Buttons, MF_STRING),
                 reinterpret_cast<LPARAM>(GetSubMenu(GetMenu(f.Handle()), 1)));
    EXPECT_EQ(f.StatusText(0), "");
    SendMessageA(f.Handle(), WM_MENUSELECT, MAKEWPARAM(cmd::Exit1, MF_STRING),
                 reinterpret_cast<LPARAM>(GetSubMenu(GetMenu(f.Handle()), 0)));
    EXPECT_EQ(f.StatusText(0), "Exit Kelvaro");
    SendMessageA(f.Handle(), WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    EXPECT_EQ(f.StatusText(0), "");
    SendMessageA(f.Button(cmd::EBSetup).Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(f.StatusText(0), "Press to toggle between Setup & View Mode");
}

TEST_F(MainWindowTest, HelpOpensTheTopicsAndClosingQuitsHelpThenSaves) {
    TForm1& f = Open();
    Command(cmd::Contents1);
    ASSERT_EQ(helpCalls.size(), 1u);
    EXPECT_EQ(helpCalls[0], "Kelvaro.hlp:" + std::to_string(HELP_FINDER));
    EXPECT_TRUE(Closes());
    EXPECT_EQ(helpCalls.back(), "Kelvaro.hlp:" + std::to_string(HELP_QUIT));
    EXPECT_EQ(GetString("Settings", "Confirm"), "1");
    (void)f;
}

TEST_F(MainWindowTest, SettingsRoundTripAndStoredOddities) {
    SetString("Settings", "Width", "0x200");
    SetString("Settings", "Height", "$200");
    SetString("Settings", "Left", "abc");
    SetString("Settings", "Confirm", "2");
    SetString("Settings", "Style", "report");
    SetString("Files", "Count", "5");
    for (int n = 1; n <= 5; ++n) {
        SetString("Files", "Path" + std::to_string(n), "C:\\r" + std::to_string(n));
        SetString("Files", "Spec" + std::to_string(n), "*.tmp");
    }
    TForm1& f = Open();
    WindowBounds b = f.Bounds();
    EXPECT_EQ(b.width, 512);
    EXPECT_EQ(b.height, 512);
    EXPECT_EQ(b.left, 50);
    EXPECT_TRUE(f.ConfirmDelete());
    EXPECT_EQ(f.ListView().GetViewStyle(), ViewStyle::Report);
    EXPECT_FALSE(f.Button(cmd::EBDetails).Down());  // "report" matched nothing
    ASSERT_EQ(f.LVSetup().RowCount(), 5);
    EXPECT_EQ(f.LVSetup().Text(2, 0), "C:\\r3");
    EXPECT_EQ(f.LVSetup().Text(2, 2), " ");
    for (int row : {4, 3, 2}) f.LVSetup().DeleteRow(row);
    Command(cmd::EBNotConfirm);  // nothing: hidden twin's command still toggles
    EXPECT_TRUE(Closes());
    EXPECT_EQ(GetString("Settings", "Confirm"), "0");
    EXPECT_EQ(GetString("Files", "Count"), "2");
    EXPECT_EQ(GetString("Files", "Path5"), "C:\\r5");
    EXPECT_EQ(GetString("Settings", "Style"), "Report");
    EXPECT_EQ(GetString("Settings", "Width"), "512");
    TForm1& again = Open();
    EXPECT_EQ(again.LVSetup().RowCount(), 2);
    EXPECT_FALSE(again.ConfirmDelete());
}

// A window beside another copy's window, which keeps the rules: its close saves nothing, and says so only
// when something was changed in it.
TEST_F(MainWindowTest, AWindowThatDoesNotKeepTheRulesSavesNothingAndSaysWhenChangesAreLost) {
    SetString("Files", "Count", "1");
    SetString("Files", "Path1", "C:\\kept");
    SetString("Files", "Spec1", "*.tmp");
    for (bool change : {false, true}) {
        TForm1& f = Open();
        f.SavesSettings = false;
        boxes.clear();
        if (change) f.AppendRule({"C:\\new", {"*.bak", "  ", "  ", "Yes", " "}});
        EXPECT_TRUE(Closes());
        EXPECT_EQ(GetString("Files", "Count"), "1");
        EXPECT_EQ(GetString("Settings", "Confirm"), "<missing>");
        EXPECT_EQ(boxes, change ? std::vector<std::string>{TForm1::kUnsavedChangesText}
                                : std::vector<std::string>{});
    }
}

// Every value stored, one of them damaged by another tool or a hand edit; a plain start and close must
// give that one its default and write every other back as it was.
TEST_F(MainWindowTest, ADamagedValueCostsNoOtherValueThroughAStartAndClose) {
    std::vector<std::pair<std::string, std::string>> stored = {
        {"Settings\\Recycle", "0"},    {"Settings\\Confirm", "0"}, {"Settings\\Boot", "1"},
        {"Settings\\Office97", "0"},   {"Settings\\Save", "1"},    {"Settings\\Width", "600"},
        {"Settings\\Height", "350"},   {"Settings\\Left", "70"},   {"Settings\\Top", "80"},
        {"Settings\\Style", "Report"}, {"Files\\Count", "3"},
    };
    for (int n = 0; n < 6; ++n) {
        stored.push_back({"Settings\\ColumnA" + std::to_string(n), std::to_string(101 + n)});
        stored.push_back({"Settings\\ColumnB" + std::to_string(n), std::to_string(111 + n)});
    }
    const char* cells[][2] = {{"Path", "C:\\r"},     {"Spec", "*.a"}, {"Age", "> 3 Days"},
                              {"Size", "<=9 Bytes"}, {"Sub", "Yes"},  {"Rmv", " "}};
    for (const std::string n : {"1", "2", "3"}) {
        for (const auto& [name, cell] : cells)
            stored.push_back({"Files\\" + std::string(name) + n, cell + n});
    }
    const DWORD four = 4;
    const std::string dword(reinterpret_cast<const char*>(&four), sizeof four);
    const struct {
        const char* value;
        DWORD type;
        std::string data;
        const char* after;  // the text stored after the close
    } cases[] = {
        {"Settings\\Confirm", REG_DWORD, dword, "1"},
        {"Settings\\Width", REG_DWORD, dword, "549"},
        {"Settings\\Style", REG_BINARY, "List", "Report"},
        {"Files\\Path2", REG_DWORD, dword, "C:\\"},
        {"Files\\Spec2", REG_MULTI_SZ, std::string("*.b\0*.c\0\0", 9), " "},
        // The rules under a count that cannot be read are loaded all the same, and saved under their own.
        {"Files\\Count", REG_DWORD, dword, "3"},
        {"Files\\Count", REG_SZ, "abc", "3"},
        {"Files\\Count", REG_SZ, "", "3"},
        {"Files\\Count", REG_SZ, "-5", "3"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.value) + " = \"" + c.data + '"');
        form.reset();
        boxes.clear();
        RegDeleteTreeA(HKEY_CURRENT_USER, key_.c_str());
        auto split = [](const std::string& value) {
            const std::size_t cut = value.find('\\');
            return std::pair(value.substr(0, cut), value.substr(cut + 1));
        };
        for (const auto& [value, text] : stored) SetString(split(value).first, split(value).second, text);
        const auto [subkey, name] = split(c.value);
        SetRaw(subkey, name, c.type, c.data);

        TForm1& f = Open();
        const bool wrongType = c.type != REG_SZ;
        EXPECT_EQ(boxes, wrongType ? std::vector<std::string>{"Invalid data type for '" + name + "'"}
                                   : std::vector<std::string>{});
        // The error still ends the show handler before the caption is set and automatic mode is checked.
        EXPECT_EQ(WindowText(f.Handle()), wrongType ? "" : "Kelvaro for Windows 95");
        ASSERT_TRUE(Closes());
        for (const auto& [value, text] : stored) {
            if (value == c.value) continue;
            EXPECT_EQ(GetString(split(value).first, split(value).second), text) << value;
        }
        EXPECT_EQ(GetString(subkey, name), c.after);
    }
}

TEST_F(MainWindowTest, AnExceptionLeavingAHandlerIsShownAndTheProgramGoesOn) {
    class ThrowingWindow : public Window {
    public:
        ThrowingWindow() {
            RegisterClassOnce("KelvaroThrowingWindow", nullptr);
            Create("KelvaroThrowingWindow", "", WS_OVERLAPPED, 0, 0, 0, 10, 10, nullptr, nullptr);
        }

    protected:
        LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
            if (message == WM_APP) throw std::runtime_error("'x' is not a valid integer value");
            return DefaultHandling(message, wParam, lParam);
        }
    } window;
    std::string caption;
    UINT type = 0;
    SetMessageBoxFunction([&](HWND, const std::string& t, const std::string& c, UINT ty) {
        boxes.push_back(t), caption = c, type = ty;
        return IDOK;
    });
    EXPECT_EQ(SendMessageA(window.Handle(), WM_APP, 0, 0), 0);
    EXPECT_EQ(boxes.back(), "'x' is not a valid integer value.");
    EXPECT_EQ(caption, "Kelvaro");
    EXPECT_EQ(type, static_cast<UINT>(MB_OK | MB_ICONSTOP));
    EXPECT_TRUE(IsWindow(window.Handle()));
}

// Not a check: pictures of the window in its states, for a person to look at.
//   kelvaro_win_tests.exe --gtest_also_run_disabled_tests --gtest_filter=*Screenshots*
TEST_F(MainWindowTest, DISABLED_Screenshots) {
    const char* folder = std::getenv("KELVARO_SHOTS");
    std::string prefix = folder ? std::string(folder) + "\\" : "";
    TForm1& f = Open();
    auto settle = [] {
        for (int i = 0; i < 20; ++i) {
            MSG message;
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchFiltered(message);
            Sleep(25);
        }
    };
    f.ListView().AddRow("report.tmp", {".tmp", "C:\\TEMP\\", "1,234", "07/12/2026", "9:15 AM"}, 0);
    f.ListView().AddRow("a.tmp", {".tmp", "C:\\", "12", "01/12/2026", "10:02 PM"}, 0);
    settle();
    SaveScreenshot(prefix + "view-mode.bmp");
    Command(cmd::Office97Buttons);
    settle();
    SaveScreenshot(prefix + "view-mode-raised.bmp");
    Command(cmd::Office97Buttons);
    f.AppendRule({"C:\\TEMP", {"*.tmp", "> 30 Days", "  ", "Yes", " "}});
    f.AppendRule({"C:\\", {"*.LNK", "  ", "< 500 KBytes", " ", "Yes"}});
    Click(cmd::EBSetup);
    settle();
    SaveScreenshot(prefix + "setup-mode.bmp");
    Click(cmd::EBSetup);
    f.Form3().SetSearchText("Searching for *.tmp (1,234 found)");
    f.Form3().Show();
    f.Form3().Status().SetFileName("C:\\WINDOWS\\TEMP\\Some Folder\\Deeper Still\\report.tmp" +
                                   std::string(78, ' '));
    settle();
    SaveScreenshot(prefix + "progress.bmp");
    f.Form3().Hide();
    f.ListView().Clear();
    TempFolder temp;
    const std::pair<const char*, std::size_t> files[] = {{"report.tmp", 65536},
                                                         {"notes.tmp", 3000000},
                                                         {"setup.log", 1500},
                                                         {"old draft.tmp", 999},
                                                         {"cache\\a1.tmp", 1000}};
    for (const auto& [name, size] : files) temp.File(name, std::string(size, 'x'));
    f.AppendRule({temp.Path(), {"*.tmp", "  ", "  ", "Yes", " "}});
    f.AppendRule({temp.Path(), {"*.log", "  ", "> 1 KBytes", " ", " "}});
    Click(cmd::EBStart);
    f.ListView().SetSelected(0, true);
    f.ListView().SetSelected(2, true);
    settle();
    SaveScreenshot(prefix + "results.bmp");
    Click(cmd::EBLargeIcons);
    settle();
    SaveScreenshot(prefix + "results-large-icons.bmp");
    Click(cmd::EBDetails);
    f.ListView().SortByColumn(3, false);  // Size, largest first
    settle();
    SaveScreenshot(prefix + "results-by-size.bmp");

    // A delete that lasts, caught half-way by a timer that its own pumps run; the shot stops it.
    struct SlowDeleter : ShellDeleter {
        DeleteOutcome ShellDeleteFile(const std::string& path, bool) override {
            Sleep(2);
            return DeleteFileA(path.c_str()) ? DeleteOutcome::Deleted : DeleteOutcome::Failed;
        }
    };
    for (int i = 0; i < 3000; ++i)
        temp.File("Some Folder\\Deeper Still\\old report " + std::to_string(i) + ".tmp", "x");
    Click(cmd::EBStart);
    for (int row = 0; row < f.ListView().RowCount(); ++row) f.ListView().SetSelected(row, true);
    if (f.ConfirmDelete()) Command(cmd::ConfirmDelete1);
    f.SetShellDeleter(std::make_unique<SlowDeleter>());
    static std::string deleteShot;
    static HWND deleteWindow;
    deleteShot = prefix + "delete-progress.bmp";
    deleteWindow = f.DeleteForm().Handle();
    SetTimer(nullptr, 0, 1500, [](HWND, UINT, UINT_PTR timer, DWORD) {
        KillTimer(nullptr, timer);
        SaveScreenshot(deleteShot);
        PostMessageA(deleteWindow, WM_CLOSE, 0, 0);
    });
    Click(cmd::EBDelete);

    // The modal boxes: a timer inside their own loops takes the picture and closes them.
    static std::string shot;
    static const char* boxClass;
    auto shootAndClose = [](HWND, UINT, UINT_PTR timer, DWORD) {
        HWND box = FindWindowA(boxClass, nullptr);
        if (!box) return;
        KillTimer(nullptr, timer);
        SaveScreenshot(shot);
        HWND button = GetDlgItem(box, IDCANCEL);
        if (!button) button = GetDlgItem(box, IDNO);
        if (!button) button = GetDlgItem(box, IDOK);
        PostMessageA(button, BM_CLICK, 0, 0);
    };
    // The delete's own boxes, the platform's, over the list: the question (answered No) with the rows it
    // means still marked, then the box that names the files kept because they went behind the list's back.
    const MessageBoxFunction answers = SetMessageBoxFunction({});
    Click(cmd::EBStart);
    settle();
    SaveScreenshot(prefix + "search-finished.bmp");
    for (int row = 0; row < 30; row += 2) f.ListView().SetSelected(row, true);
    if (!f.ConfirmDelete()) Command(cmd::ConfirmDelete1);
    if (f.UseRecycleBin()) Command(cmd::UseRecycleBin1);
    shot = prefix + "delete-question.bmp";
    boxClass = "#32770";
    SetTimer(nullptr, 0, 700, shootAndClose);
    Click(cmd::EBDelete);
    for (int row = 0; row < 30; row += 2)
        DeleteFileA((f.ListView().Text(row, 2) + f.ListView().Text(row, 0)).c_str());
    Command(cmd::ConfirmDelete1);
    shot = prefix + "kept-files.bmp";
    SetTimer(nullptr, 0, 700, shootAndClose);
    Click(cmd::EBDelete);
    SetMessageBoxFunction(answers);

    shot = prefix + "about.bmp";
    boxClass = "TfrmAbout";
    SetTimer(nullptr, 0, 700, shootAndClose);
    Command(cmd::About1);
    Command(cmd::Setup2);
    f.LVSetup().SetSelected(0, true);
    f.AppendRule({"C:\\TEMP", {"*.tmp", ">=30 Days", "> 2 KBytes", "Yes", " "}});
    for (int row = 0; row < f.LVSetup().RowCount(); ++row)
        f.LVSetup().SetSelected(row, row == f.LVSetup().RowCount() - 1);
    shot = prefix + "editor.bmp";
    boxClass = "TForm2";
    SetTimer(nullptr, 0, 700, shootAndClose);
    NMHDR doubleClick{f.LVSetup().Handle(), static_cast<UINT_PTR>(cmd::LVSetup),
                      static_cast<UINT>(NM_DBLCLK)};
    SendMessageA(f.Handle(), WM_NOTIFY, cmd::LVSetup, reinterpret_cast<LPARAM>(&doubleClick));

    shot = prefix + "editor-add.bmp";
    boxClass = "TForm2";
    SetTimer(nullptr, 0, 700, shootAndClose);
    Command(cmd::Add1);

    // The shell's folder picker, preselected.
    shot = prefix + "folder-picker.bmp";
    boxClass = "#32770";
    SetTimer(nullptr, 0, 1500, shootAndClose);
    TFolderBrowse picker;
    picker.Directory = "C:\\windows\\system32";
    EXPECT_FALSE(picker.Execute(f.Handle()));
}

}  // namespace
}  // namespace kelvaro::testing
