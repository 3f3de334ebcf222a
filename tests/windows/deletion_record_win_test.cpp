// The deletion record, its menu item and the rows' info tips through the real main window.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <thread>

#include "app/progress_dialog_win.h"
#include "platform/handle_owners_win.h"
#include "run/record_files_win.h"
#include "windows/main_window_fixture.h"
#include "windows/test_tree.h"

namespace kelvaro::testing {
namespace {

// Deletes for good whatever the flag says, so that a "recycled" delete stays inside the test folder.
// It can take a while a file, as the shell does.
class DiskDeleter : public ShellDeleter {
public:
    DeleteOutcome ShellDeleteFile(const std::string& path, bool) override {
        if (millisecondsEach) Sleep(millisecondsEach);
        return DeleteFileA(path.c_str()) ? DeleteOutcome::Deleted : DeleteOutcome::Failed;
    }
    DWORD millisecondsEach = 0;
};

std::string ReadAll(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

class DeletionRecordTest : public MainWindowTest {
protected:
    TForm1& OpenWithRules() {
        TForm1& f = Open();
        f.AppendRule({temp.Path(), {"*.tmp", "  ", "  ", "Yes", " "}});
        f.AppendRule({temp.Path(), {"*.dat", "  ", "  ", " ", " "}});
        if (f.ConfirmDelete()) Command(cmd::ConfirmDelete1);
        f.SetShellDeleter(std::make_unique<DiskDeleter>());
        return f;
    }
    void SelectOnly(std::initializer_list<std::string> names) {
        TCoolListView& list = form->ListView();
        for (int row = 0; row < list.RowCount(); ++row)
            list.SetSelected(row, std::find(names.begin(), names.end(), list.Text(row, 0)) != names.end());
    }
    TempFolder temp;
};

TEST_F(DeletionRecordTest, AWindowDrivenDeleteRecordsEachFileGoneAndNoFailedOne) {
    temp.File("one.tmp", "12345");
    temp.File("vanished.tmp");
    temp.File("two.dat", "abc");
    TForm1& f = OpenWithRules();
    Click(cmd::EBStart);
    ASSERT_EQ(f.ListView().RowCount(), 3);
    DeleteFileA((temp.Path() + "\\vanished.tmp").c_str());
    if (f.UseRecycleBin()) Command(cmd::UseRecycleBin1);
    SelectOnly({"one.tmp", "vanished.tmp"});
    Click(cmd::EBDelete);
    Command(cmd::UseRecycleBin1);
    SelectOnly({"two.dat"});
    Click(cmd::EBDelete);

    const std::string stamp = R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\t)";
    const std::string folder = std::regex_replace(temp.Path(), std::regex(R"([\\.])"), R"(\$&)");
    // Each delete is a clean-up of its own.
    const std::string cleanup = R"(\tcleanup ([-0-9]+)\r\n)";
    const std::regex expected(stamp + "deleted\\t5\\t" + folder + R"(\\one\.tmp\trule 1\tmanual)" + cleanup +
                              stamp + "recycled\\t3\\t" + folder + R"(\\two\.dat\trule 2\tmanual)" + cleanup);
    const std::string record = ReadAll(recordPath);
    std::smatch parts;
    ASSERT_TRUE(std::regex_match(record, parts, expected)) << record;
    EXPECT_NE(parts[1], parts[2]);
    EXPECT_EQ(f.StatusText(1).find("record"), std::string::npos);
    EXPECT_EQ(f.StatusText(0), "Deleted 1 file (3 bytes) into the Recycle Bin");
}

// A delete that lasts shows its window, and the main window answers meanwhile. The delete window's close
// box stops it after the file under way: the files not yet tried stay listed and selected, without a line.
TEST_F(DeletionRecordTest, ALongDeleteShowsItsWindowAnswersAndAStopKeepsTheRestSelected) {
    constexpr int kFiles = 2000;
    for (int i = 0; i < kFiles; ++i) temp.File("f" + std::to_string(i) + ".tmp");
    TForm1& f = OpenWithRules();
    auto deleter = std::make_unique<DiskDeleter>();
    deleter->millisecondsEach = 1;
    f.SetShellDeleter(std::move(deleter));
    Click(cmd::EBStart);
    ASSERT_EQ(f.ListView().RowCount(), kFiles);
    for (int row = 0; row < kFiles; ++row) f.ListView().SetSelected(row, true);
    const HWND main = f.Handle();
    const HWND progress = f.DeleteForm().Handle();
    const HWND status = f.DeleteForm().Label3();
    std::atomic<bool> ended = false;
    bool answered = false;
    std::string shown;
    std::thread user([&] {
        while (!ended && !IsWindowVisible(progress)) Sleep(5);
        if (ended) return;
        DWORD_PTR ignored = 0;
        answered = SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_NORMAL, 1000, &ignored) != 0;
        shown = WindowText(status);
        PostMessageA(progress, WM_CLOSE, 0, 0);
    });
    Click(cmd::EBDelete);
    ended = true;
    user.join();
    EXPECT_TRUE(answered);
    EXPECT_TRUE(std::regex_match(shown, std::regex("Deleting [1-9][0-9,]* of 2,000"))) << shown;
    EXPECT_FALSE(IsWindowVisible(progress));
    const int left = f.ListView().RowCount();
    EXPECT_GT(left, 0);
    EXPECT_LT(left, kFiles);
    EXPECT_EQ(f.ListView().SelectedCount(), left);
    int onDisk = 0;
    for (int row = 0; row < left; ++row)
        onDisk += GetFileAttributesA((temp.Path() + "\\" + f.ListView().Text(row, 0)).c_str()) !=
                  INVALID_FILE_ATTRIBUTES;
    EXPECT_EQ(onDisk, left);
    const std::string record = ReadAll(recordPath);
    EXPECT_EQ(std::count(record.begin(), record.end(), '\n'), kFiles - left);
}

// Wine's root drive names the same folder as the record's drive, by another path.
std::string ThroughTheRootDrive(const std::string& path) {
    using UnixName = char*(CDECL*)(const WCHAR*);
    const auto unixName = reinterpret_cast<UnixName>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    std::wstring wide(path.begin(), path.end());
    char* unix = unixName ? unixName(wide.c_str()) : nullptr;
    if (!unix) return path;
    std::string result = "Z:" + std::string(unix);
    HeapFree(GetProcessHeap(), 0, unix);
    std::replace(result.begin(), result.end(), '/', '\\');
    return result;
}

TEST_F(DeletionRecordTest, ARuleOverTheRecordsFolderDoesNotListTheRecord) {
    records.File("Kelvaro\\Kelvaro.log", "a line\r\n");
    records.File("Kelvaro\\Kelvaro.log.1");
    records.File("Kelvaro\\other.log");
    TForm1& f = Open();
    const std::string folder = ThroughTheRootDrive(records.Path());
    ASSERT_NE(folder, records.Path());
    f.AppendRule({folder, {"*.log*", "  ", "  ", "Yes", " "}});
    Click(cmd::EBStart);
    ASSERT_EQ(f.ListView().RowCount(), 1);
    EXPECT_EQ(f.ListView().Text(0, 0), "other.log");
}

TEST_F(DeletionRecordTest, ARecordThatCannotBeWrittenNeverStopsADeleteAndIsSaidInTheStatusBar) {
    temp.File("one.tmp");
    temp.File("two.tmp");
    temp.File("blocker");
    recordPath = temp.Path() + "\\blocker\\Kelvaro\\Kelvaro.log";  // its folder cannot be made
    TForm1& f = OpenWithRules();
    Click(cmd::EBStart);
    SelectOnly({"one.tmp", "two.tmp"});
    Click(cmd::EBDelete);
    EXPECT_EQ(f.ListView().RowCount(), 0);
    EXPECT_EQ(GetFileAttributesA((temp.Path() + "\\two.tmp").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(f.StatusText(1), "Deletion record not written");
    EXPECT_TRUE(boxes.empty());
}

TEST_F(DeletionRecordTest, TheMenuItemsFollowStartWithTheirHintsAndOpenTheRecordOrSayThereIsNone) {
    TForm1& f = Open();
    HMENU file = GetSubMenu(GetMenu(f.Handle()), 0);
    EXPECT_EQ(GetMenuItemID(file, 1), static_cast<UINT>(cmd::DeletionRecord1));
    char caption[64] = {};
    GetMenuStringA(file, 1, caption, sizeof caption, MF_BYPOSITION);
    EXPECT_STREQ(caption, "Deletion &Record...");
    SendMessageA(f.Handle(), WM_MENUSELECT, MAKEWPARAM(cmd::DeletionRecord1, MF_STRING),
                 reinterpret_cast<LPARAM>(file));
    EXPECT_EQ(f.StatusText(0), "View the record of deleted files");

    Command(cmd::DeletionRecord1);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].find("no deletion record"), std::string::npos);
    EXPECT_TRUE(viewed.empty());
    records.File("Kelvaro\\Kelvaro.log", "a line\r\n");
    Command(cmd::DeletionRecord1);
    EXPECT_EQ(viewed, std::vector<std::string>{recordPath});
    EXPECT_EQ(boxes.size(), 1u);

    // Restore Last Clean-up... follows it; a record without clean-ups has nothing to restore.
    EXPECT_EQ(GetMenuItemID(file, 2), static_cast<UINT>(cmd::RestoreLastCleanup1));
    GetMenuStringA(file, 2, caption, sizeof caption, MF_BYPOSITION);
    EXPECT_STREQ(caption, "Restore Last Clean-up...");
    Command(cmd::RestoreLastCleanup1);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1], "The deletion record holds no clean-up to restore.");
}

// A record that holds five clean-ups and 100,000 lines: the next clean-up moves it aside first, also while
// the record is held open for appending (as an automatic run holds it from its first check).
std::string FullRecord() {
    std::string text;
    for (int line = 0; line < static_cast<int>(DeletionRecord::kKeptLines); ++line)
        text += RecordLine({{2026, 1, 2, 3, 4, 5},
                            true,
                            1,
                            "C:\\f" + std::to_string(line),
                            1,
                            true,
                            "old" + std::to_string(line % DeletionRecord::kKeptCleanups)});
    return text;
}

TEST(DeletionRecordFiles, AFullRecordMovesToTheOlderGenerationAtTheNextCleanupWhileHeldOpen) {
    TempFolder folder;
    const std::string path = folder.Path() + "\\Kelvaro\\Kelvaro.log";
    const DeletedFileEntry entry{{2026, 1, 2, 3, 4, 5}, false, 1, "C:\\x", 1, true};
    auto files = MakePlatformRecordFiles();
    DeletionRecord record(*files, path);
    ASSERT_TRUE(record.Ready());  // makes the folder
    const std::string full = FullRecord();
    ASSERT_TRUE(files->Append(path, full));
    EXPECT_TRUE(record.Write(entry));
    record.Close();
    EXPECT_EQ(ReadAll(path + ".1"), full);
    const std::vector<RecordedLine> lines = ParseRecord(ReadAll(path));
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].file.path, "C:\\x");
}

// Another instance writes to the record too: the record moves aside only while nobody else holds it and
// only if it is still full, and a line waits for a moment while another instance moves the record aside.
TEST(DeletionRecordFiles, TheRecordMovesAsideOnlyWhenNobodyHoldsItAndItIsStillFull) {
    TempFolder folder;
    const std::string path = folder.Path() + "\\Kelvaro.log";
    auto mine = MakePlatformRecordFiles();
    auto theirs = MakePlatformRecordFiles();
    ASSERT_TRUE(theirs->Append(path, "held\r\n"));
    EXPECT_FALSE(mine->Replace(path, path + ".1", 0));
    theirs->Close();
    EXPECT_FALSE(mine->Replace(path, path + ".1", 6));
    HandleOwner moving(CreateFileA(path.c_str(), DELETE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(moving);
    std::thread release([&] {
        Sleep(30);
        moving.Reset();
    });
    EXPECT_TRUE(mine->Append(path, "next\r\n"));
    release.join();
    EXPECT_EQ(mine->Size(path), 12u);
    EXPECT_TRUE(mine->Replace(path, path + ".1", 6));
    EXPECT_EQ(ReadAll(path + ".1"), "held\r\nnext\r\n");
    EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);
}

// Two instances write to one record at once, each a clean-up a line: every line arrives whole and none
// is lost, and the full record moves aside once, while neither of them holds it.
TEST(DeletionRecordFiles, TwoWritersAtOnceKeepEveryLineWholeAndMoveTheRecordAsideOnce) {
    TempFolder folder;
    const std::string path = folder.Path() + "\\Kelvaro.log";
    const auto entry = [](int writer, int line) {
        char file[32];
        std::snprintf(file, sizeof file, "C:\\w%d-%03d", writer, line);
        return DeletedFileEntry{{2026, 1, 2, 3, 4, 5}, false, 1, file, 1, true};
    };
    const std::string full = FullRecord();
    std::ofstream(path, std::ios::binary) << full;
    constexpr int kLines = 150;
    const auto write = [&](int writer) {
        auto files = MakePlatformRecordFiles();
        DeletionRecord record(*files, path);
        for (int line = 0; line < kLines; ++line) {
            EXPECT_TRUE(record.Write(entry(writer, line)));
            record.Close();
        }
    };
    std::thread other(write, 1);
    write(0);
    other.join();

    const std::string older = ReadAll(path + ".1");
    ASSERT_EQ(older.substr(0, full.size()), full);
    const std::string written = older.substr(full.size()) + ReadAll(path);
    std::multiset<std::string> paths;
    for (const RecordedLine& line : ParseRecord(written)) paths.insert(line.file.path);
    std::multiset<std::string> expected;
    for (int writer = 0; writer < 2; ++writer)
        for (int line = 0; line < kLines; ++line) expected.insert(entry(writer, line).path);
    EXPECT_EQ(paths, expected);
    EXPECT_EQ(std::count(written.begin(), written.end(), '\n'), 2 * kLines) << "a torn line";
}

// The mouse comes onto a row of the results list: the tip the list's tooltip offers for it.
std::string TipOver(TForm1& f, int row) {
    const HWND list = f.ListView().Handle();
    RECT box{LVIR_BOUNDS};
    SendMessageA(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&box));
    SendMessageA(list, WM_MOUSEMOVE, 0, MAKELPARAM(box.left + 200, (box.top + box.bottom) / 2));
    // Asked in wide characters: the narrow question gives at most 80 of them.
    wchar_t text[1024] = {};
    TOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V1_SIZE;
    tool.hwnd = list;
    tool.uId = reinterpret_cast<UINT_PTR>(list);
    tool.lpszText = text;
    SendMessageW(f.ListView().InfoTips()->Handle(), TTM_GETTEXTW, std::size(text),
                 reinterpret_cast<LPARAM>(&tool));
    char narrow[1024] = {};
    WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, sizeof narrow, nullptr, nullptr);
    return narrow;
}

TEST_F(DeletionRecordTest, EachRowsInfoTipNamesTheRuleThatListedItAsTheRunUsedIt) {
    temp.File("both.dat");
    TForm1& f = Open();
    f.AppendRule({temp.Path(), {"*.dat", "  ", "< 10 KBytes", " ", " "}});
    f.AppendRule({temp.Path(), {"*.*", "  ", "  ", "Yes", " "}});
    Click(cmd::EBStart);
    ASSERT_EQ(f.ListView().RowCount(), 2);  // the same file, once for each rule
    // Changed after the run: the rows still name the rules as the run used them.
    f.LVSetup().DeleteRow(0);
    std::vector<std::string> tips = {TipOver(f, 0), TipOver(f, 1)};
    std::sort(tips.begin(), tips.end());
    const std::string location = "\r\nLocation: " + temp.Path();
    EXPECT_EQ(tips[0],
              "Listed by rule 1" + location +
                  "\r\nFile Specs: *.dat\r\nFile Age: (none)\r\nFile Size: < 10 KBytes\r\nSubDir: (none)");
    EXPECT_EQ(tips[1], "Listed by rule 2" + location +
                           "\r\nFile Specs: *.*\r\nFile Age: (none)\r\nFile Size: (none)\r\nSubDir: Yes");

    // With the mouse resting on a row the tip comes up after the usual pause; a sort under the still
    // mouse takes it down, as it may now name another row.
    const HWND list = f.ListView().Handle();
    const HWND tooltip = f.ListView().InfoTips()->Handle();
    RECT box{LVIR_BOUNDS};
    SendMessageA(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&box));
    POINT at{box.left + 200, (box.top + box.bottom) / 2};
    SendMessageA(list, WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
    ClientToScreen(list, &at);
    SetCursorPos(at.x, at.y);
    for (int wait = 0; wait < 300 && !IsWindowVisible(tooltip); ++wait) {
        Sleep(10);
        Pump();
    }
    EXPECT_TRUE(IsWindowVisible(tooltip));
    f.ListView().SortByColumn(1, false);
    EXPECT_FALSE(IsWindowVisible(tooltip));
}

}  // namespace
}  // namespace kelvaro::testing
