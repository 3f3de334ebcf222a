// The run's open test against Wine's real file system: which found files may be listed.
#include "run/listable_file_win.h"

#include <windows.h>
#include <gtest/gtest.h>

#include <map>

#include "windows/test_tree.h"

namespace kelvaro::testing {
namespace {

// The attributes as the run has them: from the directory search that found the entry.
std::uint32_t AttributesFound(const std::string& path) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(path.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return INVALID_FILE_ATTRIBUTES;
    FindClose(search);
    return found.dwFileAttributes;
}

TEST(ListableFileWin, KeepsOutLockedVanishedReadOnlyFilesAndFolders) {
    TempFolder temp;
    const std::string folder = temp.Path() + "\\";
    for (const char* name : {"plain.tmp", "locked.tmp", "gone.tmp", "readonly.tmp"}) temp.File(name, "x");
    ASSERT_TRUE(SetFileAttributesA((folder + "readonly.tmp").c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(CreateDirectoryA((folder + "sub.tmp").c_str(), nullptr));
    std::map<std::string, std::uint32_t> found;
    for (const char* name : {"plain.tmp", "locked.tmp", "gone.tmp", "readonly.tmp", "sub.tmp"})
        found[name] = AttributesFound(folder + name);
    // Between the search and the test: one file is held open by another program, one is deleted.
    HANDLE lock = CreateFileA((folder + "locked.tmp").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(DeleteFileA((folder + "gone.tmp").c_str()));

    EXPECT_TRUE(CanOpenForReadWrite(folder + "plain.tmp", found["plain.tmp"]));
    for (const char* refused : {"locked.tmp", "gone.tmp", "readonly.tmp", "sub.tmp"})
        EXPECT_FALSE(CanOpenForReadWrite(folder + refused, found[refused])) << refused;
    CloseHandle(lock);
    EXPECT_TRUE(CanOpenForReadWrite(folder + "locked.tmp", found["locked.tmp"]));  // and the test let it go

    SetFileAttributesA((folder + "readonly.tmp").c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryA((folder + "sub.tmp").c_str());
}

}  // namespace
}  // namespace kelvaro::testing
