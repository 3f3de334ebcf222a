// The search run, deletion and automatic mode through the real main window, on private folders.
#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <ostream>
#include <utility>

#include "app/progress_dialog_win.h"
#include "rules/rule_editor_win.h"
#include "run/broken_shortcut.h"
#include "windows/main_window_fixture.h"
#include "windows/test_tree.h"

namespace kelvaro::testing {
namespace {

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A deleter that records what it is asked and deletes for good whatever the flag says, inside the test's
// folder; it can act once during its first call, as a user can while the shell shows a box, and report the
// files the Recycle Bin cannot take.
class RecordingDeleter : public ShellDeleter {
public:
    explicit RecordingDeleter(std::vector<std::string>& asked) : asked_(asked) {}
    DeleteOutcome ShellDeleteFile(const std::string& path, bool) override {
        asked_.push_back(path);
        if (auto during = std::exchange(duringFirstCall, nullptr)) during();
        if (notRecyclable) return DeleteOutcome::NotRecyclable;
        return DeleteFileA(path.c_str()) ? DeleteOutcome::Deleted : DeleteOutcome::Failed;
    }
    std::function<void()> duringFirstCall;
    bool notRecyclable = false;

private:
    std::vector<std::string>& asked_;
};

struct Box {
    std::string text, caption;
    UINT type;
    bool operator==(const Box&) const = default;
    friend void PrintTo(const Box& box, std::ostream* out) {
        *out << box.caption << " (type " << box.type << "): \"" << box.text << "\"";
    }
};

// Sets a file's last write time, as an old file found by a rule has it.
void SetLastWrite(const std::string& path, const FILETIME& time) {
    HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    SetFileTime(file, nullptr, nullptr, &time);
    CloseHandle(file);
}

class SearchRunTest : public MainWindowTest {
protected:
    void AddRule(const std::string& folder, const std::string& spec, const std::string& age = "  ",
                 const std::string& size = "  ", const std::string& sub = "Yes",
                 const std::string& rmv = " ") {
        form->AppendRule({folder, {spec, age, size, sub, rmv}});
    }
    std::vector<std::string> Names() {
        std::vector<std::string> names;
        for (int row = 0; row < form->ListView().RowCount(); ++row)
            names.push_back(form->ListView().Text(row, 0));
        return names;
    }
    void PressCtrlA() {
        BYTE state[256] = {};
        state[VK_CONTROL] = 0x80;
        SetKeyboardState(state);
        SendMessageA(form->ListView().Handle(), WM_KEYDOWN, static_cast<WPARAM>(VkKeyScanA('a') & 0xFF), 0);
        PostMessageA(form->ListView().Handle(), WM_KEYDOWN, static_cast<WPARAM>(VkKeyScanA('a') & 0xFF), 0);
        Pump();
        BYTE none[256] = {};
        SetKeyboardState(none);
    }
    TempFolder temp;
};

TEST_F(SearchRunTest, RowsCarryNameExtLocationSizeDateAndTimeInNameOrder) {
    temp.File("b.tmp", "12345");
    temp.File("a.tmp");
    temp.File("noext", "x");
    temp.File("sub\\c.tmp", std::string(1234, 'x'));
    temp.File("ro.tmp");
    SetFileAttributesA((temp.Path() + "\\ro.tmp").c_str(), FILE_ATTRIBUTE_READONLY);
    TForm1& f = Open();
    AddRule(temp.Path(), "*.tmp");
    AddRule(temp.Path(), "noext", "  ", "  ", " ");
    AddRule(temp.Path(), "b.tmp", "  ", "  ", " ");  // found twice: listed twice
    SendMessageA(f.Button(cmd::EBStart).Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    Click(cmd::EBStart);
    SendMessageA(f.Panel1().Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(1, 1));  // off the button: no hint now
    EXPECT_EQ(Names(), (std::vector<std::string>{"a.tmp", "b.tmp", "b.tmp", "c.tmp", "noext"}));
    TCoolListView& list = f.ListView();
    EXPECT_EQ(list.Text(0, 1), ".tmp");
    EXPECT_EQ(list.Text(0, 2), temp.Path() + "\\");
    EXPECT_EQ(list.Text(0, 3), "0");
    EXPECT_EQ(list.Text(3, 2), temp.Path() + "\\sub\\");
    EXPECT_EQ(list.Text(3, 3), "1,234");
    EXPECT_EQ(list.Text(4, 1), "");
    EXPECT_NE(list.Text(0, 5).find("M"), std::string::npos);  // "h:mm AM/PM"
    EXPECT_EQ(f.StatusText(1), "Search Finished!!");
    EXPECT_EQ(f.StatusText(0), "Found 5 files, 1.2 KB");
    EXPECT_FALSE(f.Form3().Visible());
    EXPECT_TRUE(f.Button(cmd::EBStart).Enabled());
    EXPECT_FALSE(f.FileScan().StopScan);
    EXPECT_EQ(f.CurrentRuleIndex(), 2);
    SetFileAttributesA((temp.Path() + "\\ro.tmp").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(SearchRunTest, EmptySetupListAndAStopBeforeTheRunChangeNothing) {
    TForm1& f = Open();
    f.ListView().AddRow("old", {"", "", "", "", ""}, 0);
    SendMessageA(f.Handle(), WM_CHAR, 27, 0);  // Esc outside a run
    Command(cmd::StartKelvaro1);
    EXPECT_EQ(f.ListView().RowCount(), 0);
    EXPECT_EQ(f.StatusText(1), "Search Finished!!");
    EXPECT_EQ(f.StatusText(0), "Found 0 files, 0 bytes");
    temp.File("a.tmp");
    AddRule(temp.Path(), "*.tmp");
    SendMessageA(f.Handle(), WM_CHAR, 27, 0);
    Command(cmd::StartKelvaro1);
    EXPECT_EQ(f.ListView().RowCount(), 1);  // the earlier stop did not end this run
}

// Shows each examined entry and presses Stop at the first one, as a user's Esc during the scan would.
struct StopAtFirstEntry : InfoLabel {
    TForm1& form;
    explicit StopAtFirstEntry(TForm1& f) : form(f) {}
    void SetFileName(const std::string& text) override {
        if (!text.empty()) SendMessageA(form.Form3().Handle(), WM_CHAR, 27, 0);
    }
    void Repaint() override {}
};

TEST_F(SearchRunTest, AStopDuringAScanKeepsWhatWasFoundAndEndsTheRun) {
    for (int i = 0; i < 5; ++i) temp.File("f" + std::to_string(i) + ".tmp");
    temp.File("other\\x.dat");
    TForm1& f = Open();
    AddRule(temp.Path(), "*.tmp");
    AddRule(temp.Path() + "\\other", "*.dat");
    StopAtFirstEntry stop(f);
    f.FileScan().CurrInfoLabel = &stop;
    f.FileScan().PaceMilliseconds = 0;
    Command(cmd::StartKelvaro1);
    EXPECT_EQ(f.ListView().RowCount(), 1);
    for (const std::string& name : Names()) EXPECT_NE(name, "x.dat");
    EXPECT_EQ(f.StatusText(1), "Search Aborted!!");
    EXPECT_EQ(f.StatusText(0), "Found 1 file, 0 bytes");  // what it had found when it stopped
    EXPECT_FALSE(f.FileScan().StopScan);
    EXPECT_FALSE(f.Form3().Visible());
}

// Records every entry the scan shows, and at the first one holding `at` posts what a user or the
// system would send.
struct ActAtEntry : InfoLabel {
    std::string at;
    std::function<void()> act;
    bool acted = false;
    std::vector<std::string> shown;
    void SetFileName(const std::string& text) override {
        if (text.empty()) return;
        shown.push_back(text);
        if (acted || text.find(at) == std::string::npos) return;
        acted = true;
        act();
    }
    void Repaint() override {}
    bool Showed(const std::string& part) const {
        for (const std::string& text : shown)
            if (text.find(part) != std::string::npos) return true;
        return false;
    }
};

TEST_F(SearchRunTest, AnErrorInTheKeyPreviewIsShownAndTheLoopAndTheRunGoOn) {
    temp.File("a.tmp");
    temp.File("other\\x.dat");
    TForm1& f = Open();
    AddRule(temp.Path(), "*.tmp");
    AddRule(temp.Path() + "\\other", "*.dat");
    SetMessageBoxFunction([this](HWND, const std::string& text, const std::string&, UINT) -> int {
        if (text == "Delete selected files?") throw std::runtime_error("no questions now");
        boxes.push_back(text);
        return IDOK;
    });
    PostMessageA(f.ListView().Handle(), WM_KEYDOWN, VK_DELETE, 0);
    Pump();  // as the program's own loop does
    EXPECT_EQ(boxes, std::vector<std::string>{"no questions now."});

    ActAtEntry press;  // the run's pump delivers the key
    press.act = [&] { PostMessageA(f.ListView().Handle(), WM_KEYDOWN, VK_DELETE, 0); };
    f.FileScan().CurrInfoLabel = &press;
    f.FileScan().PaceMilliseconds = 0;
    Command(cmd::StartKelvaro1);
    EXPECT_TRUE(press.acted);
    EXPECT_EQ(boxes.size(), 2u);
    EXPECT_EQ(Names(), (std::vector<std::string>{"a.tmp", "x.dat"}));
    EXPECT_EQ(f.StatusText(1), "Search Finished!!");
}

int QuitHelpCalls(const std::vector<std::string>& calls) {
    const std::string quit = "Kelvaro.hlp:" + std::to_string(HELP_QUIT);
    return static_cast<int>(std::count(calls.begin(), calls.end(), quit));
}

TEST_F(SearchRunTest, ClosingTheWindowDuringARunStopsItAndThenClosesOnce) {
    temp.File("a.tmp");
    temp.File("b.tmp");
    temp.File("later\\x.tmp");
    const struct {
        const char* what;
        UINT message;
        WPARAM wParam;
    } closes[] = {{"close box", WM_SYSCOMMAND, SC_CLOSE}, {"Exit button", WM_COMMAND, cmd::EBExit}};
    for (const auto& c : closes) {
        helpCalls.clear();
        RegDeleteTreeA(HKEY_CURRENT_USER, key_.c_str());
        TForm1& f = Open();
        AddRule(temp.Path(), "*.tmp", "  ", "  ", " ");
        AddRule(temp.Path() + "\\later", "*.tmp");
        ActAtEntry close;
        close.act = [&] { PostMessageA(f.Handle(), c.message, c.wParam, 0); };
        f.FileScan().CurrInfoLabel = &close;
        f.FileScan().PaceMilliseconds = 0;
        Command(cmd::StartKelvaro1);
        EXPECT_FALSE(close.Showed("later")) << c.what << ": no later rule is scanned";
        EXPECT_FALSE(f.Form3().Visible()) << c.what;
        Pump();  // the program's loop
        EXPECT_FALSE(IsWindow(f.Handle())) << c.what;
        EXPECT_EQ(QuitHelpCalls(helpCalls), 1) << c.what << ": settings saved once";
        EXPECT_EQ(GetString("Files", "Count"), "2") << c.what;
    }
}

// The user's registry, whose writes fail while `failing` is set.
class FailingWrites : public Registry {
public:
    explicit FailingWrites(const bool& failing) : failing_(failing) {}
    std::unique_ptr<RegistryKey> OpenKey(const std::string& path, bool create) override {
        return Wrap(real_->OpenKey(path, create), failing_);
    }
    std::unique_ptr<RegistryKey> OpenKeyForReading(const std::string& path) override {
        return real_->OpenKeyForReading(path);
    }

private:
    struct Key : RegistryKey {
        std::unique_ptr<RegistryKey> inner;
        const bool& failing;
        Key(std::unique_ptr<RegistryKey> k, const bool& f) : inner(std::move(k)), failing(f) {}
        std::unique_ptr<RegistryKey> OpenKey(const std::string& path, bool create) override {
            return Wrap(inner->OpenKey(path, create), failing);
        }
        RegistryValue ReadValue(const std::string& name) override { return inner->ReadValue(name); }
        bool WriteString(const std::string& name, const std::string& text) override {
            return !failing && inner->WriteString(name, text);
        }
    };
    static std::unique_ptr<RegistryKey> Wrap(std::unique_ptr<RegistryKey> key, const bool& failing) {
        return key ? std::make_unique<Key>(std::move(key), failing) : nullptr;
    }
    std::unique_ptr<Registry> real_ = MakePlatformRegistry();
    const bool& failing_;
};

TEST_F(SearchRunTest, ACloseThatCannotSaveStillStopsTheRunAndLeavesTheWindowOpen) {
    temp.File("a.tmp");
    temp.File("later\\x.tmp");
    bool failing = true;
    DropForm();
    MainWindowServices services = MakePlatformMainWindowServices();
    services.settings = std::make_unique<FailingWrites>(failing);
    form = NewForm(std::move(services));
    ShowWindow(form->Handle(), SW_SHOWNORMAL);
    AddRule(temp.Path(), "*.tmp", "  ", "  ", " ");
    AddRule(temp.Path() + "\\later", "*.tmp");
    ActAtEntry close;
    close.act = [&] { PostMessageA(form->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); };
    form->FileScan().CurrInfoLabel = &close;
    form->FileScan().PaceMilliseconds = 0;
    Command(cmd::StartKelvaro1);
    EXPECT_FALSE(close.Showed("later"));
    Pump();
    EXPECT_EQ(boxes, std::vector<std::string>{"Failed to set data for 'Recycle'"});
    EXPECT_TRUE(IsWindow(form->Handle()));
    failing = false;
    EXPECT_TRUE(Closes());
}

TEST_F(SearchRunTest, AQuitArrivingDuringARunEndsIt) {
    temp.File("a.tmp");
    temp.File("later\\x.tmp");
    TForm1& f = Open();
    AddRule(temp.Path(), "*.tmp", "  ", "  ", " ");
    AddRule(temp.Path() + "\\later", "*.tmp");
    ActAtEntry quit;
    quit.act = [] { PostQuitMessage(3); };
    f.FileScan().CurrInfoLabel = &quit;
    f.FileScan().PaceMilliseconds = 0;
    Command(cmd::StartKelvaro1);
    EXPECT_FALSE(quit.Showed("later"));
    MSG message;
    EXPECT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "left for the loop";
}

// A damaged cell that reads as no criterion would make the rule list every file.
TEST_F(SearchRunTest, ADamagedCriterionEndsTheRunWithTheErrorAndKeepsTheRows) {
    temp.File("a.tmp");
    TForm1& f = Open();
    AddRule(temp.Path(), "*.tmp");
    AddRule(temp.Path(), "*.tmp", "30 Days");
    AddRule(temp.Path(), "*.tmp");
    Command(cmd::StartKelvaro1);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], "The search stopped at rule 2 (folder \"" + temp.Path() +
                            "\", files \"*.tmp\"): its File Age \"30 Days\" is not a criterion Kelvaro can "
                            "read. Correct the rule in setup mode.");
    EXPECT_EQ(f.ListView().RowCount(), 1);
    EXPECT_EQ(f.StatusText(1), "Search Finished!!");
    EXPECT_FALSE(f.Form3().Visible());
}

// The rule editor's file dialog and other code may change the current folder after the run: a row must
// still name the file it listed.
TEST_F(SearchRunTest, ARelativeRuleFolderListsRowsWithTheirFullLocation) {
    temp.File("rel\\a.tmp");
    char before[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, before);
    ASSERT_TRUE(SetCurrentDirectoryA(temp.Path().c_str()));
    TForm1& f = Open();
    AddRule("rel", "*.tmp");
    Command(cmd::StartKelvaro1);
    SetCurrentDirectoryA(before);
    EXPECT_TRUE(boxes.empty());
    ASSERT_EQ(f.ListView().RowCount(), 1);
    EXPECT_EQ(f.ListView().Text(0, 2), temp.Path() + "\\rel\\");
    EXPECT_EQ(f.Rule(0).Caption, "rel");
}

// The status line counts what the run has found so far, as the scan goes; a shortcut rule's finds are only
// known once its shortcuts are tested.
TEST_F(SearchRunTest, TheStatusLineCountsTheFilesFoundAndShortcutRulesLookForBrokenOnes) {
    TForm1& f = Open();
    std::vector<std::string> texts;
    // The dialog's text is read while the scan runs.
    f.FileScan().PaceMilliseconds = 0;
    temp.File("a.tmp");
    // Read before a.tmp is listed: the files of a few batches are asked about ahead of the listing.
    temp.File("sub\\b.tmp");
    AddRule(temp.Path(), "*.TmP");
    AddRule(temp.Path() + "\\sub", "*.tmp");  // starts from the rows listed before it
    AddRule(temp.Path(), "*.lnk");
    struct Probe : InfoLabel {
        TForm1& form;
        std::vector<std::string>& texts;
        Probe(TForm1& f, std::vector<std::string>& t) : form(f), texts(t) {}
        void SetFileName(const std::string&) override { texts.push_back(form.Form3().SearchText()); }
        void Repaint() override {}
    } probe(f, texts);
    f.FileScan().CurrInfoLabel = &probe;
    temp.File("x.lnk", "not a shortcut");
    Command(cmd::StartKelvaro1);
    EXPECT_EQ(texts,
              (std::vector<std::string>{"Searching for *.TmP (0 found)", "Searching for *.TmP (0 found)",
                                        "Searching for *.tmp (2 found)", "Searching for broken shortcuts"}));
    EXPECT_EQ(f.Form3().SearchText(), "Testing Shortcuts...");
    // A file named .lnk that is no shortcut cannot be read: the run ends with a box that names it.
    EXPECT_EQ(boxes, std::vector<std::string>{
                         UnreadableShortcutMessage(temp.Path() + "\\x.lnk", "Erreur en lecture.")});
    EXPECT_EQ(f.ListView().RowCount(), 3);
    EXPECT_FALSE(f.Form3().Visible());
}

// A rule's rows join the list together; an error part-way through keeps the rows made before it.
TEST_F(SearchRunTest, AnErrorPartWayThroughARuleKeepsTheRowsMadeBeforeIt) {
    // A folder's own files come before its subfolders', so the unreadable shortcut comes last.
    temp.File("b.tmp");
    temp.File("a.tmp");
    temp.File("sub\\x.lnk", "not a shortcut");
    TForm1& f = Open();
    AddRule(temp.Path(), "*.*");
    Command(cmd::StartKelvaro1);
    EXPECT_EQ(boxes, std::vector<std::string>{
                         UnreadableShortcutMessage(temp.Path() + "\\sub\\x.lnk", "Erreur en lecture.")});
    EXPECT_EQ(Names(), (std::vector<std::string>{"a.tmp", "b.tmp"}));
    EXPECT_FALSE(f.Form3().Visible());
}

TEST_F(SearchRunTest, CtrlAAndDeleteWithTheQuestionAnsweredNoThenYes) {
    temp.File("one.tmp", std::string(1024, 'x'));
    temp.File("two.tmp", std::string(2048, 'x'));
    temp.File("keep.dat");
    TForm1& f = Open();
    AddRule(temp.Path(), "*.tmp");
    Click(cmd::EBStart);
    ASSERT_EQ(f.ListView().RowCount(), 2);
    PressCtrlA();
    EXPECT_EQ(f.ListView().SelectedCount(), 2);
    EXPECT_EQ(f.StatusText(1), "Selected: 2 of 2 (3.00k of 3.00k)");
    std::vector<std::string> questions;
    int answer = IDNO;
    SetMessageBoxFunction([&](HWND, const std::string& text, const std::string& caption, UINT type) {
        questions.push_back(caption + ": " + text);
        EXPECT_EQ(type, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
        return answer;
    });
    SendMessageA(f.ListView().Handle(), WM_KEYDOWN, VK_DELETE, 0);  // reaches the window through the preview
    PostMessageA(f.ListView().Handle(), WM_KEYDOWN, VK_DELETE, 0);
    Pump();
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_EQ(questions[0], "Confirm: Delete selected files?");
    EXPECT_TRUE(Exists(temp.Path() + "\\one.tmp"));
    ASSERT_TRUE(f.UseRecycleBin());
    Command(cmd::UseRecycleBin1);  // delete for good inside the test folder
    answer = IDYES;
    Click(cmd::EBDelete);
    EXPECT_EQ(questions.back(),
              "Confirm: Delete selected files? They will be deleted for good, not moved to the Recycle Bin.");
    EXPECT_FALSE(Exists(temp.Path() + "\\one.tmp"));
    EXPECT_FALSE(Exists(temp.Path() + "\\two.tmp"));
    EXPECT_TRUE(Exists(temp.Path() + "\\keep.dat"));
    EXPECT_EQ(f.ListView().RowCount(), 0);
    // The selected rows are gone: the panel no longer counts them.
    EXPECT_EQ(f.StatusText(1), "Selected: 0 of 0 (0.00k of 0.00k)");
}

// Panel 1 follows the selection, down to none, but a run's state is not the selection's to replace.
TEST_F(SearchRunTest, SelectionSummarySaysWhenTheSelectionEmptiesButLeavesARunsState) {
    for (auto [name, size] : {std::pair{"a.tmp", 1024}, {"b.tmp", 2048}, {"c.tmp", 512}})
        temp.File(name, std::string(size, 'x'));
    // A sparse file larger than any 32-bit sum holds.
    HANDLE huge = CreateFileA((temp.Path() + "\\huge.tmp").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(huge, INVALID_HANDLE_VALUE);
    LARGE_INTEGER end{};
    end.QuadPart = 3'000'000'000;
    const bool sized = SetFilePointerEx(huge, end, nullptr, FILE_BEGIN) && SetEndOfFile(huge);
    CloseHandle(huge);
    ASSERT_TRUE(sized);
    TForm1& f = Open();
    AddRule(temp.Path(), "*.tmp");
    Click(cmd::EBStart);
    ASSERT_EQ(Names(), (std::vector<std::string>{"a.tmp", "b.tmp", "c.tmp", "huge.tmp"}));
    f.ListView().SetSelected(0, true);
    EXPECT_EQ(f.StatusText(1), "Selected: 1 of 4 (1.00k of 2,929,691.00k)");
    f.ListView().SetSelected(0, false);
    EXPECT_EQ(f.StatusText(1), "Selected: 0 of 4 (0.00k of 2,929,691.00k)");
    for (int row = 0; row < 4; ++row) f.ListView().SetSelected(row, true);
    EXPECT_EQ(f.StatusText(1), "Selected: 4 of 4 (2,929,691.00k of 2,929,691.00k)");
    // A run empties the list and its selection; the focus moving afterwards selects nothing.
    Click(cmd::EBStart);
    EXPECT_EQ(f.StatusText(1), "Search Finished!!");
    LVITEMA focus{};
    focus.stateMask = focus.state = LVIS_FOCUSED;
    SendMessageA(f.ListView().Handle(), LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&focus));
    EXPECT_EQ(f.StatusText(1), "Search Finished!!");
}

TEST_F(SearchRunTest, DeleteInSetupModeRemovesTheSelectedRulesWithoutAQuestion) {
    TForm1& f = Open();
    for (const char* folder : {"C:\\a", "C:\\b", "C:\\c"}) AddRule(folder, "*.tmp");
    Command(cmd::Setup2);
    f.LVSetup().SetSelected(0, true);
    f.LVSetup().SetSelected(2, true);
    Command(cmd::Delete1);
    ASSERT_EQ(f.LVSetup().RowCount(), 1);
    EXPECT_EQ(f.LVSetup().Text(0, 0), "C:\\b");
    EXPECT_TRUE(boxes.empty());
}

// An editor opened where none may open is noted and cancelled, so that the test cannot wait on it.
bool editorOpened = false;
void CALLBACK CancelAnyEditor(HWND, UINT, UINT_PTR, DWORD) {
    if (HWND editor = FindWindowA(TForm2::kClassName, nullptr)) {
        editorOpened = true;
        PostMessageA(GetDlgItem(editor, TForm2::kButton3Id), BM_CLICK, 0, 0);
    }
}

class DeleteGuardTest : public SearchRunTest {
protected:
    TForm1& OpenWithRows() {
        TForm1& f = Open();
        if (f.ConfirmDelete()) Command(cmd::ConfirmDelete1);
        // Sizes against the name order, so that a sort by size would turn the list round.
        for (auto [name, size] : {std::pair{"a.tmp", 4}, {"b.tmp", 3}, {"c.tmp", 2}, {"d.tmp", 1}})
            temp.File(name, std::string(size, 'x'));
        AddRule(temp.Path(), "*.tmp");
        Click(cmd::EBStart);
        f.ListView().SetSelected(0, true);
        f.ListView().SetSelected(2, true);
        auto deleter = std::make_unique<RecordingDeleter>(asked);
        recorder = deleter.get();
        f.SetShellDeleter(std::move(deleter));
        return f;
    }
    void ClickSizeHeader() {
        NMLISTVIEW notify{};
        notify.hdr = {form->ListView().Handle(), static_cast<UINT_PTR>(cmd::ListView),
                      static_cast<UINT>(LVN_COLUMNCLICK)};
        notify.iItem = -1;
        notify.iSubItem = 3;
        SendMessageA(form->Handle(), WM_NOTIFY, cmd::ListView, reinterpret_cast<LPARAM>(&notify));
    }
    std::vector<std::string> asked;
    RecordingDeleter* recorder = nullptr;
};

// While the shell works on one file (and may show a box), the window keeps taking input: nothing of it
// may change which files are deleted or which rows go.
TEST_F(DeleteGuardTest, SortStartDeleteRestoreAndTheEditorDuringADeleteAreRefused) {
    TForm1& f = OpenWithRows();
    editorOpened = false;
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, CancelAnyEditor);
    recorder->duringFirstCall = [&] {
        ClickSizeHeader();
        Command(cmd::StartKelvaro1);
        Command(cmd::EBDelete);
        Command(cmd::Delete1);
        SendMessageA(f.Handle(), WM_KEYDOWN, VK_DELETE, 0);
        Command(cmd::Setup2);
        f.LVSetup().SetSelected(0, true);
        Command(cmd::Delete1);
        Command(cmd::EBAdd);
        NMHDR doubleClick{f.LVSetup().Handle(), static_cast<UINT_PTR>(cmd::LVSetup),
                          static_cast<UINT>(NM_DBLCLK)};
        SendMessageA(f.Handle(), WM_NOTIFY, cmd::LVSetup, reinterpret_cast<LPARAM>(&doubleClick));
        Command(cmd::Setup2);
        Command(cmd::RestoreLastCleanup1);
        // An option changed meanwhile holds from the next delete; this one is told as it went.
        Command(cmd::UseRecycleBin1);
    };
    Click(cmd::EBDelete);
    KillTimer(nullptr, timer);
    EXPECT_NE(f.StatusText(0).find("into the Recycle Bin"), std::string::npos) << f.StatusText(0);
    EXPECT_FALSE(editorOpened);
    EXPECT_EQ(asked, (std::vector<std::string>{temp.Path() + "\\a.tmp", temp.Path() + "\\c.tmp"}));
    EXPECT_EQ(Names(), (std::vector<std::string>{"b.tmp", "d.tmp"}));
    EXPECT_EQ(f.LVSetup().RowCount(), 1);
    EXPECT_TRUE(boxes.empty());
    // Afterwards the same commands work again.
    ClickSizeHeader();
    EXPECT_EQ(Names(), (std::vector<std::string>{"d.tmp", "b.tmp"}));
}

TEST_F(DeleteGuardTest, AWindowClosedDuringADeleteClosesWhenTheDeleteEnds) {
    TForm1& f = OpenWithRows();
    bool openDuringDelete = false;
    recorder->duringFirstCall = [&] {
        SendMessageA(f.Handle(), WM_CLOSE, 0, 0);
        openDuringDelete = IsWindow(f.Handle()) && f.ListView().RowCount() == 4;
    };
    Click(cmd::EBDelete);
    EXPECT_TRUE(openDuringDelete);
    EXPECT_EQ(asked.size(), 2u);
    EXPECT_FALSE(IsWindow(f.Handle()));
    Pump();
}

TEST_F(DeleteGuardTest, FilesTheRecycleBinCannotTakeAreReportedInOneBox) {
    TForm1& f = OpenWithRows();
    recorder->notRecyclable = true;
    std::vector<Box> shown;
    SetMessageBoxFunction([&](HWND, const std::string& text, const std::string& caption, UINT type) {
        shown.push_back({text, caption, type});
        return IDOK;
    });
    Click(cmd::EBDelete);
    const Box expected{"2 files could not be moved to the Recycle Bin and were kept.\n- " + temp.Path() +
                           "\\a.tmp\n- " + temp.Path() + "\\c.tmp",
                       "Kelvaro", MB_OK | MB_ICONINFORMATION};
    EXPECT_EQ(shown, std::vector<Box>{expected});
    EXPECT_EQ(f.ListView().RowCount(), 4);
}

// Old files found by a run, then changed before the user deletes them, the ways a user meets.
TEST_F(SearchRunTest, FilesChangedSinceTheRunAreKeptAndReportedInOneBox) {
    const FILETIME old{0, 0x01D00000};  // in 2014
    for (const char* name :
         {"same.tmp", "rewritten.tmp", "grown.tmp", "replaced.tmp", "vanished.tmp", "recreated.tmp"}) {
        temp.File(name, "12345");
        SetLastWrite(temp.Path() + "\\" + name, old);
    }
    TForm1& f = Open();
    if (f.ConfirmDelete()) Command(cmd::ConfirmDelete1);
    if (f.UseRecycleBin()) Command(cmd::UseRecycleBin1);  // delete for good inside the test folder
    AddRule(temp.Path(), "*.tmp");
    Click(cmd::EBStart);
    ASSERT_EQ(f.ListView().RowCount(), 6);
    for (int row = 0; row < 6; ++row) f.ListView().SetSelected(row, true);

    ASSERT_TRUE(DeleteFileA((temp.Path() + "\\vanished.tmp").c_str()));

    temp.File("rewritten.tmp", "54321");
    temp.File("grown.tmp", "123456");
    SetLastWrite(temp.Path() + "\\grown.tmp", old);
    ASSERT_TRUE(DeleteFileA((temp.Path() + "\\replaced.tmp").c_str()));
    temp.File("replaced.tmp", "12345");
    // Another file of the same name, size and time: only which file it is tells it from the listed one.
    temp.File("new.dat", "12345");
    SetLastWrite(temp.Path() + "\\new.dat", old);
    ASSERT_TRUE(MoveFileExA((temp.Path() + "\\new.dat").c_str(), (temp.Path() + "\\recreated.tmp").c_str(),
                            MOVEFILE_REPLACE_EXISTING));
    std::vector<Box> shown;
    SetMessageBoxFunction([&](HWND, const std::string& text, const std::string& caption, UINT type) {
        shown.push_back({text, caption, type});
        return IDOK;
    });
    Click(cmd::EBDelete);
    const std::string in = "\n- " + temp.Path() + "\\";
    EXPECT_EQ(shown,
              (std::vector<Box>{{"4 files changed since they were listed and were kept." + in + "grown.tmp" +
                                     in + "recreated.tmp" + in + "replaced.tmp" + in +
                                     "rewritten.tmp\n\n1 file no longer existed and was kept in the list." +
                                     in + "vanished.tmp",
                                 "Kelvaro", MB_OK | MB_ICONINFORMATION}}));
    EXPECT_FALSE(Exists(temp.Path() + "\\same.tmp"));
    for (const char* name : {"rewritten.tmp", "grown.tmp", "replaced.tmp", "recreated.tmp"})
        EXPECT_TRUE(Exists(temp.Path() + "\\" + name)) << name;
    EXPECT_EQ(Names(), (std::vector<std::string>{"grown.tmp", "recreated.tmp", "replaced.tmp",
                                                 "rewritten.tmp", "vanished.tmp"}));
    // The summary of the list as the delete left it, not of a moment on the way.
    EXPECT_EQ(f.StatusText(1), "Selected: 5 of 5 (0.02k of 0.02k)");
}

// Automatic mode with the window's own deleter replaced: what would be deleted, and what the window does.
class AutomaticModeTest : public SearchRunTest {
protected:
    TForm1& OpenWith(const std::string& commandLine) {
        DropForm();
        MainWindowServices services = MakePlatformMainWindowServices();
        services.recordPath = recordPath;
        form = NewForm(std::move(services));
        form->CommandLine = commandLine;
        form->SetShellDeleter(std::make_unique<RecordingDeleter>(deleted));
        ShowWindow(form->Handle(), SW_SHOWMINNOACTIVE);
        return *form;
    }
    void StoreRule() {
        temp.File("a.tmp");
        temp.File("b.tmp");
        SetString("Files", "Count", "1");
        SetString("Files", "Path1", temp.Path());
        SetString("Files", "Spec1", "*.tmp");
    }
    std::vector<std::string> deleted;
};

TEST_F(AutomaticModeTest, OnlyTheExactFirstArgumentStartsIt) {
    StoreRule();
    SetString("Settings", "Confirm", "0");
    for (const char* line : {"Kelvaro.exe", "Kelvaro.exe a", "Kelvaro.exe --a", "Kelvaro.exe -b",
                             "Kelvaro.exe x -a", "Kelvaro.exe -aa"}) {
        TForm1& f = OpenWith(line);
        EXPECT_TRUE(IsWindow(f.Handle())) << line;
        EXPECT_EQ(f.ListView().RowCount(), 0) << line;
    }
    EXPECT_TRUE(deleted.empty());
    for (const char* line : {"Kelvaro.exe -a", "\"C:\\Program Files\\Kelvaro.exe\" /A", "k -A", "k /a"}) {
        deleted.clear();
        StoreRule();  // the files the last run deleted
        TForm1& f = OpenWith(line);
        EXPECT_FALSE(IsWindow(f.Handle())) << line;
        EXPECT_EQ(deleted.size(), 2u) << line;
        EXPECT_EQ(GetString("Files", "Count"), "1");  // written back on the way out
        Pump();
    }
}

// The user who chose to be asked sees the list, restored, and a question that names what was found; when
// the run is far larger than usual it says so, and No is the default.
TEST_F(AutomaticModeTest, ANoKeepsTheProgramOpenRestoredWithEveryRowSelected) {
    StoreRule();
    std::vector<Box> questions;
    bool listInView = false;
    SetMessageBoxFunction([&](HWND, const std::string& text, const std::string& caption, UINT type) {
        questions.push_back({text, caption, type});
        listInView =
            IsWindowVisible(form->Handle()) && !IsIconic(form->Handle()) && form->ListView().RowCount() == 2;
        return IDNO;
    });
    TForm1& f = OpenWith("Kelvaro.exe /A");
    ASSERT_EQ(
        questions,
        (std::vector<Box>{{"Delete files found for Kelvaro?\n\nThis automatic run found 2 files, 0 bytes.",
                           "Confirm", MB_YESNO | MB_ICONQUESTION}}));
    EXPECT_TRUE(listInView);
    EXPECT_TRUE(deleted.empty());
    EXPECT_TRUE(IsWindow(f.Handle()));
    EXPECT_FALSE(IsIconic(f.Handle()));
    EXPECT_EQ(f.ListView().SelectedCount(), 2);
    EXPECT_EQ(f.StatusText(1), "Selected: 2 of 2 (0.00k of 0.00k)");
}

TEST_F(AutomaticModeTest, KeptFilesAreNotReportedAndTheProgramStillCloses) {
    StoreRule();
    SetString("Settings", "Confirm", "0");
    form = NewForm(MakePlatformMainWindowServices());
    form->CommandLine = "Kelvaro.exe -a";
    auto deleter = std::make_unique<RecordingDeleter>(deleted);
    deleter->notRecyclable = true;
    form->SetShellDeleter(std::move(deleter));
    ShowWindow(form->Handle(), SW_SHOWMINNOACTIVE);
    EXPECT_EQ(deleted.size(), 2u);
    EXPECT_TRUE(boxes.empty());
    EXPECT_FALSE(IsWindow(form->Handle()));
    Pump();
}

// Stopped from its window (here its close box), the delete keeps the files not yet tried, listed and
// selected in the main window, which stays open without a box.
TEST_F(AutomaticModeTest, AStopDuringTheDeleteLeavesTheWindowOpenWithTheRestSelected) {
    StoreRule();
    SetString("Settings", "Confirm", "0");
    form = NewForm(MakePlatformMainWindowServices());
    form->CommandLine = "Kelvaro.exe -a";
    auto deleter = std::make_unique<RecordingDeleter>(deleted);
    deleter->duringFirstCall = [&] { SendMessageA(form->DeleteForm().Handle(), WM_CLOSE, 0, 0); };
    form->SetShellDeleter(std::move(deleter));
    ShowWindow(form->Handle(), SW_SHOWMINNOACTIVE);
    EXPECT_EQ(deleted, std::vector<std::string>{temp.Path() + "\\a.tmp"});
    ASSERT_TRUE(IsWindow(form->Handle()));
    EXPECT_TRUE(IsWindowVisible(form->Handle()) && !IsIconic(form->Handle()));
    EXPECT_EQ(Names(), std::vector<std::string>{"b.tmp"});
    EXPECT_EQ(form->ListView().SelectedCount(), 1);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(AutomaticModeTest, ClosingDuringTheRunDeletesNothingAndClosesOnce) {
    temp.File("a.tmp");
    temp.File("later\\x.tmp");
    temp.File("last\\y.tmp");
    SetString("Settings", "Confirm", "0");
    SetString("Files", "Count", "3");
    const char* folders[] = {"", "\\later", "\\last"};
    for (int n = 1; n <= 3; ++n) {
        SetString("Files", "Path" + std::to_string(n), temp.Path() + folders[n - 1]);
        SetString("Files", "Spec" + std::to_string(n), "*.tmp");
    }
    DropForm();
    form = NewForm(MakePlatformMainWindowServices());
    form->CommandLine = "Kelvaro.exe -a";
    form->SetShellDeleter(std::make_unique<RecordingDeleter>(deleted));
    ActAtEntry close;
    close.at = "later";
    close.act = [&] { PostMessageA(form->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); };
    form->FileScan().CurrInfoLabel = &close;
    form->FileScan().PaceMilliseconds = 0;
    ShowWindow(form->Handle(), SW_SHOWMINNOACTIVE);
    EXPECT_TRUE(close.acted);
    EXPECT_FALSE(close.Showed("last"));
    EXPECT_TRUE(deleted.empty()) << "the first rule's file was found, and must stay";
    Pump();
    EXPECT_FALSE(IsWindow(form->Handle()));
    EXPECT_EQ(QuitHelpCalls(helpCalls), 1);
}

TEST_F(AutomaticModeTest, NothingFoundStillAsksWhenConfirmationIsOn) {
    SetString("Files", "Count", "1");
    SetString("Files", "Path1", temp.Path());
    SetString("Files", "Spec1", "*.none");
    int asked = 0;
    SetMessageBoxFunction([&](HWND, const std::string&, const std::string&, UINT) {
        ++asked;
        return IDYES;
    });
    TForm1& f = OpenWith("Kelvaro.exe -a");
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(IsWindow(f.Handle()));
    Pump();
}

TEST_F(AutomaticModeTest, AnUnusuallyLargeRunAsksWithNoAsTheDefault) {
    StoreRule();
    SetString("Settings", "Recycle", "0");
    for (int i = 0; i < 100; ++i) temp.File("many" + std::to_string(i) + ".tmp");
    std::vector<Box> questions;
    SetMessageBoxFunction([&](HWND, const std::string& text, const std::string& caption, UINT type) {
        questions.push_back({text, caption, type});
        return IDNO;
    });
    OpenWith("Kelvaro.exe -a");
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_EQ(questions[0].caption, "Confirm");
    EXPECT_EQ(questions[0].type, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2));
    EXPECT_NE(questions[0].text.find("found 102 files"), std::string::npos) << questions[0].text;
    EXPECT_NE(questions[0].text.find("no earlier automatic run"), std::string::npos) << questions[0].text;
    EXPECT_NE(questions[0].text.find("deleted for good"), std::string::npos) << questions[0].text;
    EXPECT_TRUE(deleted.empty());
}

// Nobody watches an automatic run: without a record of what it deletes, it deletes nothing and says why.
TEST_F(AutomaticModeTest, ARunWhoseRecordCannotBeWrittenDeletesNothingAndSaysWhy) {
    StoreRule();
    SetString("Settings", "Confirm", "0");
    temp.File("blocker");
    recordPath = temp.Path() + "\\blocker\\Kelvaro\\Kelvaro.log";  // its folder cannot be made
    std::vector<Box> shown;
    bool listInView = false;
    SetMessageBoxFunction([&](HWND, const std::string& text, const std::string& caption, UINT type) {
        shown.push_back({text, caption, type});
        listInView = IsWindowVisible(form->Handle()) && form->ListView().RowCount() == 2;
        return IDOK;
    });
    TForm1& f = OpenWith("Kelvaro.exe -a");
    EXPECT_TRUE(deleted.empty());
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NE(shown[0].text.find("deletion record"), std::string::npos) << shown[0].text;
    EXPECT_NE(shown[0].text.find("deleted nothing"), std::string::npos) << shown[0].text;
    EXPECT_TRUE(listInView);
    EXPECT_TRUE(IsWindow(f.Handle()));
    EXPECT_TRUE(Exists(temp.Path() + "\\a.tmp"));
}

}  // namespace
}  // namespace kelvaro::testing
