#include "search/directory_search.h"

#include <gtest/gtest.h>

#include "fake_platform.h"

namespace kelvaro::testing {
namespace {

TEST(DirectorySearchTest, MaskLetsExcludedKindsThroughOnlyWhenAsked) {
    EXPECT_FALSE(IsExcludedBySearchMask(attr::ReadOnly | attr::Archive, 0));
    EXPECT_TRUE(IsExcludedBySearchMask(attr::Hidden, 0));
    EXPECT_TRUE(IsExcludedBySearchMask(attr::System | attr::Archive, 0x23));
    EXPECT_FALSE(IsExcludedBySearchMask(attr::Hidden | attr::Archive, 0x23));
    EXPECT_TRUE(IsExcludedBySearchMask(attr::Directory, 0x23));
    EXPECT_FALSE(IsExcludedBySearchMask(attr::Directory | attr::ReparsePoint, attr::Directory));
    EXPECT_TRUE(IsExcludedBySearchMask(attr::Directory | attr::Hidden, attr::Directory));
    EXPECT_TRUE(IsExcludedBySearchMask(attr::VolumeId, 0x27));
}

TEST(DirectorySearchTest, SkipsExcludedEntriesAndClosesWhenDone) {
    FakeFileSystem files;
    files.AddFile("C:\\", {"hidden", 0, attr::Hidden}).AddFile("C:\\", {"shown"});
    {
        DirectorySearch search(files, "C:\\*.*", 0);
        DirectoryEntry entry;
        ASSERT_TRUE(search.Next(entry));
        EXPECT_EQ(entry.name, "shown");
        EXPECT_FALSE(search.Next(entry));
        EXPECT_EQ(files.openSearches, 1);
    }
    EXPECT_EQ(files.openSearches, 0);
    DirectorySearch missing(files, "D:\\*.*", 0);
    DirectoryEntry entry;
    EXPECT_FALSE(missing.Next(entry));
}

}  // namespace
}  // namespace kelvaro::testing
