// Which found files may be listed, against Wine's real file system.
#include "run/listable_file_win.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "windows/test_tree.h"

namespace kelvaro::testing {
namespace {

TEST(ListableFileWin, OpensWritableFilesAndRefusesTheOthers) {
    TempFolder temp;
    temp.File("plain.tmp", "12345");
    temp.File("empty.tmp");
    temp.File("readonly.tmp", "x");
    temp.File("locked.tmp", "abc");
    temp.File("gone.tmp", "x");
    const std::string folder = temp.Path() + "\\";
    ASSERT_TRUE(SetFileAttributesA((folder + "readonly.tmp").c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(DeleteFileA((folder + "gone.tmp").c_str()));
    ASSERT_TRUE(CreateDirectoryA((folder + "sub.tmp").c_str(), nullptr));
    HANDLE lock = CreateFileA((folder + "locked.tmp").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);

    std::uint64_t size = 99;
    EXPECT_TRUE(OpenForReadWrite(folder + "plain.tmp", size));
    EXPECT_EQ(size, 5u);
    EXPECT_TRUE(OpenForReadWrite(folder + "empty.tmp", size));
    EXPECT_EQ(size, 0u);
    for (const char* refused : {"readonly.tmp", "locked.tmp", "gone.tmp", "sub.tmp"}) {
        EXPECT_FALSE(OpenForReadWrite(folder + refused, size)) << refused;
    }
    CloseHandle(lock);
    EXPECT_TRUE(OpenForReadWrite(folder + "locked.tmp", size));  // the handle was let go
    EXPECT_EQ(size, 3u);
    SetFileAttributesA((folder + "readonly.tmp").c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryA((folder + "sub.tmp").c_str());
}

TEST(ListableFileWin, GivesTheTrueSizeOfSparseFilesAbove2GiB) {
    TempFolder temp;
    // One size that a signed 32-bit count turns negative, one that needs the high half.
    for (std::uint64_t expected : {3000000000ull, 5000000123ull}) {
        const std::string path = temp.Path() + "\\big.bin";
        HANDLE file =
            CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        LARGE_INTEGER end;
        end.QuadPart = static_cast<LONGLONG>(expected);
        bool extended = SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file);
        CloseHandle(file);
        ASSERT_TRUE(extended);
        std::uint64_t size = 0;
        EXPECT_TRUE(OpenForReadWrite(path, size));
        EXPECT_EQ(size, expected);
        DeleteFileA(path.c_str());
    }
}

}  // namespace
}  // namespace kelvaro::testing
