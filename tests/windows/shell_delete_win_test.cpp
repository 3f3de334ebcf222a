// Deleting through Wine's real shell, in a private folder under Z:\tmp (so the test also knows its Unix
// path).
#include "run/shell_delete_win.h"

#include <windows.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/file_state.h"
#include "run/record_files_win.h"
#include "run/recycle_bin_win.h"
#include "run/restore_cleanup.h"

namespace kelvaro::testing {
namespace {

constexpr char kChildFolder[] = "KELVARO_DELETE_CHILD";

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void MakeFile(const std::string& path) {
    std::ofstream(path, std::ios::binary) << "data";
}

class ShellDeleteWin : public ::testing::Test {
protected:
    std::string unixDir, dir;  // the same folder, as "/tmp/..." and "Z:\tmp\..."
    Win32ShellDeleter deleter;

    void SetUp() override {
        unixDir = "/tmp/kelvaro-delete-" + std::to_string(GetCurrentProcessId());
        dir = "Z:" + unixDir;
        for (char& c : dir)
            if (c == '/') c = '\\';
        if (!CreateDirectoryA(dir.c_str(), nullptr)) GTEST_SKIP() << "no private folder at " << dir;
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
    }
    std::string At(const std::string& name) const { return dir + "\\" + name; }
};

constexpr DeleteOutcome kDeleted = DeleteOutcome::Deleted;
constexpr DeleteOutcome kFailed = DeleteOutcome::Failed;
constexpr DeleteOutcome kNotRecyclable = DeleteOutcome::NotRecyclable;

TEST_F(ShellDeleteWin, PermanentDeleteRemovesExactlyTheOneFile) {
    MakeFile(At("a.tmp"));
    MakeFile(At("b.tmp"));
    EXPECT_EQ(deleter.ShellDeleteFile(At("a.tmp"), false), kDeleted);
    EXPECT_FALSE(Exists(At("a.tmp")));
    EXPECT_TRUE(Exists(At("b.tmp")));
    // Gone now: a second try fails.
    EXPECT_EQ(deleter.ShellDeleteFile(At("a.tmp"), false), kFailed);
    EXPECT_EQ(deleter.ShellDeleteFile(At("never.tmp"), false), kFailed);
}

TEST_F(ShellDeleteWin, RefusesWildcardsAndFoldersWithoutTouchingAnything) {
    MakeFile(At("zz.txt"));
    ASSERT_TRUE(CreateDirectoryA(At("sub").c_str(), nullptr));
    MakeFile(At("sub\\inner.txt"));
    // Linux can hold a file literally named "??.txt"; the shell would still read it as a pattern.
    MakeFile(At("??.txt"));
    for (const std::string& path :
         {At("??.txt"), At("z*.txt"), At("*"), At("sub"), At("sub\\"), std::string()})
        for (bool recycle : {false, true}) {
            SCOPED_TRACE(path + (recycle ? " recycled" : " permanent"));
            EXPECT_EQ(deleter.ShellDeleteFile(path, recycle), kFailed);
        }
    EXPECT_TRUE(Exists(At("zz.txt")));
    EXPECT_TRUE(Exists(At("sub\\inner.txt")));
}

TEST_F(ShellDeleteWin, ReadOnlyFile) {
    MakeFile(At("locked.txt"));
    ASSERT_TRUE(SetFileAttributesA(At("locked.txt").c_str(), FILE_ATTRIBUTE_READONLY));
    const bool deleted = deleter.ShellDeleteFile(At("locked.txt"), false) == kDeleted;
    // Wine refuses it (even for root); Windows may delete it. Either way the answer must match the disk.
    EXPECT_EQ(deleted, !Exists(At("locked.txt")));
    SetFileAttributesA(At("locked.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
}

// A file found by two rules is deleted once; a file gone before its turn is not tried; each file's fate is
// read from its exact entry.
TEST_F(ShellDeleteWin, EachFileGoesOnceAndOnlyWhileItsEntryIsTheListedFile) {
    for (const char* name : {"Report.tmp", "other.tmp"}) MakeFile(At(name));
    auto probe = MakePlatformFileStateProbe();
    const FileState listed = probe->Describe(At("Report.tmp"));
    const FileState other = probe->Describe(At("other.tmp"));
    ASSERT_TRUE(listed.exists && listed.plainFile && listed.identity);
    EXPECT_NE(other.identity, listed.identity);

    struct Rows : DeletionRows {
        std::vector<ListedFile> files;
        std::vector<std::uint64_t> removed;
        int RowCount() const override { return static_cast<int>(files.size()); }
        bool IsSelected(int) const override { return true; }
        std::int64_t ByteCount(int) const override { return 4; }
        ListedFile Listed(int row) const override { return files[static_cast<std::size_t>(row)]; }
        void RemoveRows(const std::vector<std::uint64_t>& ids) override { removed = ids; }
    } rows;
    rows.files = {{At("Report.tmp"), 4, listed.lastWriteTime, 1, 1, listed.identity},
                  {At("REPORT.TMP"), 4, listed.lastWriteTime, 2, 2, listed.identity},
                  {At("other.tmp"), 4, other.lastWriteTime, 3, 1, other.identity}};
    std::filesystem::remove(At("other.tmp"));
    int lines = 0;
    const DeletionResult result =
        DeleteSelectedRows(rows, deleter, *probe, false, [&](const ListedFile&, bool) {
            ++lines;
            return true;
        });
    EXPECT_EQ(result.deleted, 1);
    EXPECT_EQ(result.vanished, 2);
    EXPECT_EQ(lines, 1);
    EXPECT_EQ(rows.removed, std::vector<std::uint64_t>{1});
    EXPECT_FALSE(probe->ExactEntryExists(At("Report.tmp")));
}

// Wine reads XDG_DATA_HOME once, when the process starts, so the Trash cases run in a child process
// started with it pointing into the private folder. The child runs the named test of ShellDeleteTrashChild.
class ShellDeleteTrashWin : public ShellDeleteWin {
protected:
    std::string dataHome() const { return unixDir + "/data/share"; }
    std::string Trash() const { return At("data\\share\\Trash"); }
    void RunChild(const std::string& test) {
        ASSERT_TRUE(SetEnvironmentVariableA("XDG_DATA_HOME", dataHome().c_str()));
        ASSERT_TRUE(SetEnvironmentVariableA(kChildFolder, dir.c_str()));
        char self[MAX_PATH];
        GetModuleFileNameA(nullptr, self, MAX_PATH);
        std::string command = "\"" + std::string(self) + "\" --gtest_filter=ShellDeleteTrashChild." + test;
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION child{};
        const BOOL started = CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                            nullptr, &startup, &child);
        SetEnvironmentVariableA("XDG_DATA_HOME", nullptr);
        SetEnvironmentVariableA(kChildFolder, nullptr);
        ASSERT_TRUE(started);
        // A question about a permanent delete would wait for a click that never comes.
        const DWORD waited = WaitForSingleObject(child.hProcess, 30000);
        if (waited != WAIT_OBJECT_0) TerminateProcess(child.hProcess, 99);
        DWORD exitCode = 1;
        GetExitCodeProcess(child.hProcess, &exitCode);
        CloseHandle(child.hThread);
        CloseHandle(child.hProcess);
        ASSERT_EQ(waited, WAIT_OBJECT_0) << "the child hung, probably on a question of the shell";
        EXPECT_EQ(exitCode, 0u);
    }
};

// The Trash's parent folder does not exist yet: the deleter makes it.
TEST_F(ShellDeleteTrashWin, RecycleLandsInTheTrashAndPermanentDoesNot) {
    MakeFile(At("recycled.txt"));
    MakeFile(At("nuked.txt"));
    RunChild("RecyclesOneAndDeletesOneForGood");

    const std::string trash = Trash();
    EXPECT_FALSE(Exists(At("recycled.txt")));
    EXPECT_TRUE(Exists(trash + "\\files\\recycled.txt"));
    std::ifstream info(trash + "\\info\\recycled.txt.trashinfo");
    std::string text((std::istreambuf_iterator<char>(info)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("Path=" + unixDir + "/recycled.txt"), std::string::npos) << text;

    EXPECT_FALSE(Exists(At("nuked.txt")));
    EXPECT_FALSE(Exists(trash + "\\files\\nuked.txt"));
    EXPECT_FALSE(Exists(trash + "\\info\\nuked.txt.trashinfo"));
}

// A plain file where the Trash folder belongs: nothing can be recycled, and nothing may be destroyed.
TEST_F(ShellDeleteTrashWin, AnUnusableTrashKeepsTheFile) {
    MakeFile(At("kept.txt"));
    ASSERT_TRUE(std::filesystem::create_directories(At("data\\share")));
    MakeFile(Trash());
    RunChild("CannotRecycleKept");
    EXPECT_TRUE(Exists(At("kept.txt")));
}

// The Trash works, but this file cannot be moved into it (a stray file of its name is in the way, with no
// record of its own): the shell would ask whether to destroy it; the answer is No, unseen.
TEST_F(ShellDeleteTrashWin, AFileThatCannotBeMovedToTheTrashIsKeptWithoutAQuestion) {
    MakeFile(At("kept.txt"));
    ASSERT_TRUE(std::filesystem::create_directories(Trash() + "\\files"));
    ASSERT_TRUE(std::filesystem::create_directories(Trash() + "\\info"));
    std::ofstream(Trash() + "\\files\\kept.txt", std::ios::binary) << "stray";
    RunChild("CannotRecycleKept");
    EXPECT_TRUE(Exists(At("kept.txt")));
    EXPECT_FALSE(Exists(Trash() + "\\info\\kept.txt.trashinfo"));
}

// A clean-up recycled three files; one's place is taken before the restore: it stays in the Recycle Bin,
// the other two come back through the shell's Recycle Bin folder with their content.
TEST_F(ShellDeleteTrashWin, ARestoreBringsBackTheCleanupsFilesThroughTheRecycleBinAndNeverReplaces) {
    for (const char* name : {"a.txt", "b.txt", "c.txt"}) MakeFile(At(name));
    RunChild("RecyclesThreeTakesOnesPlaceAndRestores");
    EXPECT_TRUE(Exists(At("a.txt")));
    EXPECT_TRUE(Exists(At("c.txt")));
    std::ifstream taken(At("b.txt"));
    std::string text((std::istreambuf_iterator<char>(taken)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text, "taken");
    EXPECT_TRUE(Exists(Trash() + "\\files\\b.txt"));
    EXPECT_FALSE(Exists(Trash() + "\\files\\a.txt"));
}

std::string ChildFolder() {
    char folder[MAX_PATH];
    const DWORD length = GetEnvironmentVariableA(kChildFolder, folder, MAX_PATH);
    return length == 0 || length >= MAX_PATH ? std::string() : std::string(folder, length);
}

// Run only as children of the tests above.
TEST(ShellDeleteTrashChild, RecyclesOneAndDeletesOneForGood) {
    const std::string folder = ChildFolder();
    if (folder.empty()) GTEST_SKIP() << "started by ShellDeleteTrashWin only";
    Win32ShellDeleter deleter;
    EXPECT_EQ(deleter.ShellDeleteFile(folder + "\\recycled.txt", true), kDeleted);
    EXPECT_EQ(deleter.ShellDeleteFile(folder + "\\nuked.txt", false), kDeleted);
}

TEST(ShellDeleteTrashChild, CannotRecycleKept) {
    const std::string folder = ChildFolder();
    if (folder.empty()) GTEST_SKIP() << "started by ShellDeleteTrashWin only";
    Win32ShellDeleter deleter;
    EXPECT_EQ(deleter.ShellDeleteFile(folder + "\\kept.txt", true), kNotRecyclable);
}

TEST(ShellDeleteTrashChild, RecyclesThreeTakesOnesPlaceAndRestores) {
    const std::string folder = ChildFolder();
    if (folder.empty()) GTEST_SKIP() << "started by ShellDeleteTrashWin only";
    Win32ShellDeleter deleter;
    std::vector<RecordedLine> lines;
    for (const char* name : {"a.txt", "b.txt", "c.txt"}) {
        ASSERT_EQ(deleter.ShellDeleteFile(folder + "\\" + name, true), kDeleted);
        lines.push_back(
            {{LocalTimeNow(), true, 4, folder + "\\" + name, 1, true, "1"}, RecordedKind::Recycled});
    }
    std::ofstream(folder + "\\b.txt", std::ios::binary) << "taken";
    const auto cleanup = FindLastCleanup(lines);
    ASSERT_TRUE(cleanup);
    auto bin = MakePlatformRecycleBin();
    const RestorePlan plan = PlanRestore(*cleanup, *bin);
    ASSERT_EQ(plan.found.size(), 3u);
    std::vector<std::string> back;
    const RestoreResult result =
        RestoreFiles(plan, *bin, [&](const DeletedFileEntry& file) { back.push_back(file.path); });
    EXPECT_EQ(result.restored, 2);
    EXPECT_EQ(result.occupied, 1);
    EXPECT_EQ(back, (std::vector<std::string>{folder + "\\a.txt", folder + "\\c.txt"}));
}

}  // namespace
}  // namespace kelvaro::testing
