// File > Save List As...: a search's rows written through the save dialog, read back as a spreadsheet
// would read them.
#include <windows.h>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "ui/save_file_dialog_win.h"
#include "windows/main_window_fixture.h"
#include "windows/test_tree.h"

namespace kelvaro::testing {
namespace {

using namespace std::string_literals;

const std::string kHeader = "Name,Ext,Location,Size,Last Written,Rule Location,Rule File Specs\r\n";

std::string Contents(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return file ? text.str() : "<missing>";
}

std::vector<std::string> FolderNames(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do
        if (found.cFileName[0] != '.') names.push_back(found.cFileName);
    while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

// The file last written at this local time.
void SetLocalLastWrite(const std::string& path, SYSTEMTIME local) {
    FILETIME localTime, utc;
    SystemTimeToFileTime(&local, &localTime);
    LocalFileTimeToFileTime(&localTime, &utc);
    HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    SetFileTime(file, nullptr, nullptr, &utc);
    CloseHandle(file);
}

class SaveListTest : public MainWindowTest {
protected:
    SaveListTest() {
        previous_ =
            SetSaveFileDialogFunction([this](HWND, const SaveFileQuestion& question, std::string& path) {
                questions.push_back(question);
                path = answer;
                return !answer.empty();
            });
    }
    ~SaveListTest() override { SetSaveFileDialogFunction(previous_); }
    // As the menu shows it when it opens.
    bool Greyed() {
        HMENU file = GetSubMenu(GetMenu(form->Handle()), 0);
        SendMessageA(form->Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file), 0);
        return (GetMenuState(file, cmd::SaveListAs1, MF_BYCOMMAND) & MF_GRAYED) != 0;
    }
    void Search() {
        form->AppendRule({temp.Path(), {"*.tmp", "  ", "  ", " ", " "}});
        Click(cmd::EBStart);
    }

    TempFolder temp;
    TempFolder saved;
    std::string answer;
    std::vector<SaveFileQuestion> questions;

private:
    SaveFileDialogFunction previous_;
};

// The item follows Restore Last Clean-up..., greyed while there is no list to save; all rows or only the
// selected ones are written as the list shows them.
TEST_F(SaveListTest, TheListOrItsSelectedRowsAreSavedAndAnEmptyListIsNot) {
    temp.File("a,b.tmp", "12345");
    temp.File("caf\xc3\xa9.tmp");  // "café": a letter of the code page beyond ASCII
    temp.File("z.tmp", std::string(1234, 'x'));
    SetLocalLastWrite(temp.Path() + "\\a,b.tmp", {2026, 3, 0, 4, 5, 6, 7, 0});
    SetLocalLastWrite(temp.Path() + "\\caf\xe9.tmp", {1999, 12, 0, 31, 23, 59, 58, 0});
    SetLocalLastWrite(temp.Path() + "\\z.tmp", {2026, 1, 0, 2, 3, 4, 5, 0});
    TForm1& f = Open();
    EXPECT_EQ(GetMenuItemID(GetSubMenu(GetMenu(f.Handle()), 0), 3), static_cast<UINT>(cmd::SaveListAs1));
    EXPECT_TRUE(Greyed());
    answer = saved.Path() + "\\list.csv";
    Command(cmd::SaveListAs1);  // reached all the same, as by a key: it says why nothing is saved
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].find("nothing to save"), std::string::npos);
    EXPECT_TRUE(questions.empty());

    Search();
    EXPECT_FALSE(Greyed());
    const std::string where = temp.Path() + "\\,";
    const std::string rule = "," + temp.Path() + ",*.tmp\r\n";
    const std::string lines[] = {
        "\"a,b.tmp\",.tmp," + where + "5,2026-03-04 05:06:07" + rule,
        "caf\xe9.tmp,.tmp," + where + "0,1999-12-31 23:59:58" + rule,
        "z.tmp,.tmp," + where + "1234,2026-01-02 03:04:05" + rule,
    };
    Command(cmd::SaveListAs1);
    EXPECT_EQ(Contents(answer), kHeader + lines[0] + lines[1] + lines[2]);
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_EQ(questions[0].filter, "CSV files (*.csv)\0*.csv\0All files (*.*)\0*.*\0"s);
    EXPECT_EQ(questions[0].defaultExtension, "csv");

    // Saved again over the same file: the selected rows alone replace it, and nothing else is left beside it.
    f.ListView().SetSelected(0, true);
    f.ListView().SetSelected(2, true);
    Command(cmd::SaveListAs1);
    EXPECT_EQ(Contents(answer), kHeader + lines[0] + lines[2]);
    EXPECT_EQ(FolderNames(saved.Path()), std::vector<std::string>{"list.csv"});
    answer.clear();  // Cancel
    Command(cmd::SaveListAs1);
    EXPECT_EQ(Contents(saved.Path() + "\\list.csv"), kHeader + lines[0] + lines[2]);
    EXPECT_EQ(boxes.size(), 1u);

    Command(cmd::Setup2);
    EXPECT_TRUE(Greyed());
}

TEST_F(SaveListTest, AFileThatCannotBeWrittenIsKeptAsItWasAndTheBoxSaysWhy) {
    temp.File("a.tmp");
    saved.File("old.csv", "old");
    saved.File("folder.csv\\inside");
    const std::string readOnly = saved.Path() + "\\old.csv";
    SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
    Open();
    Search();
    for (const std::string& target :
         {readOnly, saved.Path() + "\\folder.csv", saved.Path() + "\\missing\\list.csv"}) {
        answer = target;
        boxes.clear();
        Command(cmd::SaveListAs1);
        ASSERT_EQ(boxes.size(), 1u) << target;
        EXPECT_EQ(boxes[0].rfind("Kelvaro could not save the list as " + target + ":\r\n", 0), 0u)
            << boxes[0];
    }
    SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(Contents(readOnly), "old");
    EXPECT_EQ(FolderNames(saved.Path()), (std::vector<std::string>{"folder.csv", "old.csv"}));
}

}  // namespace
}  // namespace kelvaro::testing
