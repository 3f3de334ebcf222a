// Deleting through Wine's real shell, in a private folder under Z:\tmp (so the test also knows its Unix
// path).
#include "run/shell_delete_win.h"

#include <windows.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

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
    // Gone now: the second try of a file listed twice fails.
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

// Each index's outcome, as ShellDeleteFiles reports it; a second report of one index fails the test.
std::vector<DeleteOutcome> DeleteAll(Win32ShellDeleter& deleter, const std::vector<std::string>& paths,
                                     bool recycle) {
    std::vector<std::optional<DeleteOutcome>> reported(paths.size());
    deleter.ShellDeleteFiles(paths, recycle, [&](std::size_t index, DeleteOutcome outcome) {
        EXPECT_FALSE(reported.at(index).has_value()) << paths[index] << " reported twice";
        reported.at(index) = outcome;
    });
    std::vector<DeleteOutcome> outcomes;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        EXPECT_TRUE(reported[i].has_value()) << paths[i] << " never reported";
        outcomes.push_back(reported[i].value_or(kDeleted));
    }
    return outcomes;
}

// The shell stops a list at a file it cannot delete; the files after it still go, and nothing that is not
// one existing file reaches the shell.
TEST_F(ShellDeleteWin, AListDeletesEveryFileItCanAndKeepsEachOneItCannot) {
    for (const char* name : {"a.tmp", "readonly.tmp", "c.tmp", "??.tmp", "zz.tmp", "d.tmp"})
        MakeFile(At(name));
    ASSERT_TRUE(CreateDirectoryA(At("sub").c_str(), nullptr));
    MakeFile(At("sub\\inner.tmp"));
    ASSERT_TRUE(SetFileAttributesA(At("readonly.tmp").c_str(), FILE_ATTRIBUTE_READONLY));
    const std::vector<std::string> paths = {At("a.tmp"), At("readonly.tmp"), At("??.tmp"), At("sub"),
                                            At("c.tmp"), At("never.tmp"),    At("d.tmp")};
    EXPECT_EQ(DeleteAll(deleter, paths, false),
              (std::vector<DeleteOutcome>{kDeleted, kFailed, kFailed, kFailed, kDeleted, kFailed, kDeleted}));
    for (const char* gone : {"a.tmp", "c.tmp", "d.tmp"}) EXPECT_FALSE(Exists(At(gone))) << gone;
    for (const char* kept : {"readonly.tmp", "zz.tmp", "sub\\inner.tmp"})
        EXPECT_TRUE(Exists(At(kept))) << kept;
    SetFileAttributesA(At("readonly.tmp").c_str(), FILE_ATTRIBUTE_NORMAL);
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

// In a list, the file the Trash cannot take stops the shell; it is kept, and the files after it are
// recycled all the same.
TEST_F(ShellDeleteTrashWin, ARecycledListKeepsOnlyTheFileTheTrashCannotTake) {
    for (const char* name : {"first.txt", "kept.txt", "last.txt"}) MakeFile(At(name));
    ASSERT_TRUE(std::filesystem::create_directories(Trash() + "\\files"));
    ASSERT_TRUE(std::filesystem::create_directories(Trash() + "\\info"));
    std::ofstream(Trash() + "\\files\\kept.txt", std::ios::binary) << "stray";
    RunChild("RecyclesAListButTheFileTheTrashCannotTake");
    EXPECT_TRUE(Exists(At("kept.txt")));
    for (const char* name : {"first.txt", "last.txt"}) {
        EXPECT_FALSE(Exists(At(name))) << name;
        EXPECT_TRUE(Exists(Trash() + "\\files\\" + name)) << name;
    }
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

TEST(ShellDeleteTrashChild, RecyclesAListButTheFileTheTrashCannotTake) {
    const std::string folder = ChildFolder();
    if (folder.empty()) GTEST_SKIP() << "started by ShellDeleteTrashWin only";
    Win32ShellDeleter deleter;
    EXPECT_EQ(
        DeleteAll(deleter, {folder + "\\first.txt", folder + "\\kept.txt", folder + "\\last.txt"}, true),
        (std::vector<DeleteOutcome>{kDeleted, kNotRecyclable, kDeleted}));
}

}  // namespace
}  // namespace kelvaro::testing
