// The deletion record, its menu item and the rows' info tips through the real main window.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <regex>
#include <sstream>

#include "run/record_files_win.h"
#include "windows/main_window_fixture.h"
#include "windows/test_tree.h"

namespace kelvaro::testing {
namespace {

// Deletes for good whatever the flag says, so that a "recycled" delete stays inside the test folder.
class DiskDeleter : public ShellDeleter {
public:
    DeleteOutcome ShellDeleteFile(const std::string& path, bool) override {
        return DeleteFileA(path.c_str()) ? DeleteOutcome::Deleted : DeleteOutcome::Failed;
    }
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
    const std::regex expected(stamp + "deleted\\t5\\t" + folder + R"(\\one\.tmp\trule 1\tmanual\r\n)" +
                              stamp + "recycled\\t3\\t" + folder + R"(\\two\.dat\trule 2\tmanual\r\n)");
    const std::string record = ReadAll(recordPath);
    EXPECT_TRUE(std::regex_match(record, expected)) << record;
    EXPECT_EQ(f.StatusText(1).find("record"), std::string::npos);
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

TEST_F(DeletionRecordTest, TheMenuItemFollowsStartWithItsHintAndOpensTheRecordOrSaysThereIsNone) {
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
}

// The record is kept open between lines, and must still move aside when it is full.
TEST(DeletionRecordFiles, AFullRecordMovesToTheOlderGenerationWhileInUse) {
    TempFolder folder;
    const std::string path = folder.Path() + "\\Kelvaro\\Kelvaro.log";
    const DeletedFileEntry entry{{2026, 1, 2, 3, 4, 5}, false, 1, "C:\\x", 1, true};
    auto files = MakePlatformRecordFiles();
    DeletionRecord record(*files, path);
    ASSERT_TRUE(record.Write(entry));  // makes the folder
    ASSERT_TRUE(files->Append(path, std::string(DeletionRecord::kLimit, 'x')));
    DeletionRecord later(*files, path);
    EXPECT_TRUE(later.Write(entry));
    later.Close();
    EXPECT_EQ(ReadAll(path), RecordLine(entry));
    EXPECT_EQ(ReadAll(path + ".1").size(), DeletionRecord::kLimit + RecordLine(entry).size());
}

// What the list asks its parent when the mouse rests on a row.
std::string InfoTip(TForm1& f, int row) {
    char text[INFOTIPSIZE] = "caption offered by the list";
    NMLVGETINFOTIPA request{};
    request.hdr = {f.ListView().Handle(), static_cast<UINT_PTR>(cmd::ListView), LVN_GETINFOTIPA};
    request.pszText = text;
    request.cchTextMax = sizeof text;
    request.iItem = row;
    SendMessageA(f.Handle(), WM_NOTIFY, cmd::ListView, reinterpret_cast<LPARAM>(&request));
    return text;
}

TEST_F(DeletionRecordTest, EachRowsInfoTipNamesTheRuleThatListedItAsTheRunUsedIt) {
    temp.File("both.dat");
    TForm1& f = Open();
    f.AppendRule({temp.Path(), {"*.dat", "  ", "< 10 KBytes", " ", " "}});
    f.AppendRule({temp.Path(), {"*.*", "  ", "  ", "Yes", " "}});
    Click(cmd::EBStart);
    ASSERT_EQ(f.ListView().RowCount(), 2);  // the same file, once for each rule
    EXPECT_TRUE(SendMessageA(f.ListView().Handle(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_INFOTIP);
    // Changed after the run: the rows still name the rules as the run used them.
    f.LVSetup().DeleteRow(0);
    std::vector<std::string> tips = {InfoTip(f, 0), InfoTip(f, 1)};
    std::sort(tips.begin(), tips.end());
    const std::string location = "\r\nLocation: " + temp.Path();
    EXPECT_EQ(tips[0],
              "Listed by rule 1" + location +
                  "\r\nFile Specs: *.dat\r\nFile Age: (none)\r\nFile Size: < 10 KBytes\r\nSubDir: (none)");
    EXPECT_EQ(tips[1], "Listed by rule 2" + location +
                           "\r\nFile Specs: *.*\r\nFile Age: (none)\r\nFile Size: (none)\r\nSubDir: Yes");
}

}  // namespace
}  // namespace kelvaro::testing
