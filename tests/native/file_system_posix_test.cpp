// The native directory search shows Linux files the way the scanner expects from Wine.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "base/ascii_case.h"
#include "common/list_entries.h"
#include "platform/clock.h"
#include "platform/exact_win32_name.h"
#include "platform/file_system.h"
#include "platform/wildcard_posix.h"
#include "run/deletion_record.h"
#include "search/platform_scan.h"
#include "temp_tree.h"

namespace kelvaro::testing {
namespace {

TEST(WildcardTest, MatchesLikeTheDirectorySearch) {
    struct Case {
        const char* pattern;
        const char* name;
        bool matches;
    } cases[] = {
        {"*.*", "noext", true},
        {"*.*", ".hidden", true},
        {"*.tmp", "A.TMP", true},
        {"*.tmp", "a.tmpx", false},
        {"*.tmp", "a.tmp.bak", false},
        {"?.txt", "ab.txt", false},
        {"?.txt", "b.TXT", true},
        {"*.~*", "x.~1", true},
        {"a*b*c", "aXXbYYc", true},
        {"a*b*c", "aXXbYY", false},
        {"*", "", true},
        {"x", "X", true},
        {"*.tmp;*.bak", "a.tmp", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WildcardMatches(c.pattern, c.name), c.matches) << c.pattern << " " << c.name;
}

TEST(FileSystemPosixTest, AttributesSizesAndTimesAsWineShowsThem) {
    TempTree tree;
    tree.File("plain.tmp", "12345");
    tree.File(".dot.tmp");
    tree.File("ro.tmp");
    tree.ReadOnly("ro.tmp");
    tree.Folder("sub");
    tree.Link("to-sub", "sub");
    tree.Link("to-file.tmp", "plain.tmp");
    tree.Link("dangling.tmp", "nowhere");
    std::tm noon{};
    noon.tm_year = 2021 - 1900, noon.tm_mon = 5, noon.tm_mday = 15, noon.tm_hour = 12, noon.tm_min = 30;
    noon.tm_sec = 7, noon.tm_isdst = -1;
    tree.Touch("plain.tmp", std::mktime(&noon));

    auto files = MakePlatformFileSystem();
    auto entries = ListEntries(*files, tree.Windows() + "\\*.*");
    EXPECT_EQ(entries.count("dangling.tmp"), 0u);
    EXPECT_EQ(entries.at("plain.tmp").attributes, attr::Archive);
    EXPECT_EQ(entries.at("plain.tmp").size, 5u);
    EXPECT_EQ(entries.at("plain.tmp").dosDateTime, MakeDosDateTime({2021, 6, 15, 12, 30, 6}));
    EXPECT_EQ(entries.at(".dot.tmp").attributes, attr::Archive | attr::Hidden);
    EXPECT_EQ(entries.at("ro.tmp").attributes, attr::Archive | attr::ReadOnly);
    EXPECT_EQ(entries.at("sub").attributes, attr::Directory);
    EXPECT_EQ(entries.at("to-sub").attributes, attr::Directory | attr::ReparsePoint);
    EXPECT_EQ(entries.at("to-file.tmp").attributes, attr::Archive);
    EXPECT_EQ(entries.at(".").attributes & attr::Hidden, 0u);
    EXPECT_EQ(entries.at("..").attributes & attr::Hidden, 0u);

    EXPECT_EQ(ListEntries(*files, tree.Windows() + "\\*.TMP").size(), 4u);
    EXPECT_EQ(files->FindFirst(tree.Windows() + "\\*.none"), nullptr);
    EXPECT_EQ(files->FindFirst(tree.Windows() + "\\missing\\*.*"), nullptr);
    EXPECT_EQ(files->FindFirst(tree.Windows() + "\\"), nullptr);
    EXPECT_EQ(files->FindFirst(tree.Windows() + "\\" + std::string(5000, 'x') + "\\*.*"), nullptr);
}

TEST(FileSystemPosixTest, NamesAWin32PathWouldChangeAreLeftOut) {
    for (const char* name : {"report.doc.", "notes.txt ", "x\\y.txt", "a/b", "a:b", "a<b", "a>b", "a\"b",
                             "a|b", "a?b", "a*b", "tab\tx", "\x1f", ""})
        EXPECT_FALSE(IsExactWin32Name(std::string_view(name))) << name;
    for (const char* name : {".", "..", ".hidden", "a.b.c", "Ω.tmp", "a b"})
        EXPECT_TRUE(IsExactWin32Name(std::string_view(name))) << name;
    // Wide names: only ASCII code units are forbidden, and no character is cut to its low byte.
    EXPECT_TRUE(IsExactWin32Name(std::wstring_view(L"\x015c\x013f\x012e")));  // low bytes: \ ? .
    EXPECT_FALSE(IsExactWin32Name(std::wstring_view(L"a\\b")));

    TempTree tree;
    tree.File("report.doc");
    tree.File("report.doc.");
    tree.File("x\\y.doc");
    tree.File("dir./in.doc");
    auto files = MakePlatformFileSystem();
    auto entries = ListEntries(*files, tree.Windows() + "\\*.*");
    EXPECT_EQ(entries.size(), 3u);  // ".", ".." and report.doc
    EXPECT_EQ(entries.count("report.doc"), 1u);
}

// A name that another entry of its folder matches when letter case is ignored is left out with that twin,
// files and folders alike, and a folder among them is not walked.
TEST(FileSystemPosixTest, NamesDifferingOnlyInCaseAreNeitherListedNorWalked) {
    TempTree tree;
    for (const char* twin : {"Report.tmp", "REPORT.tmp", "\xc3\xa9.tmp", "\xc3\x89.tmp", "three.tmp",
                             "Three.tmp", "THREE.TMP", "Cache", "Logs/in.tmp", "logs/in.tmp", "cache/in.tmp"})
        tree.File(twin);
    tree.File("report2.tmp");
    tree.File("kept/in.tmp");
    PlatformScanServices platform;
    TFileScan scan(platform.Get());
    scan.Directory = tree.Windows();
    scan.SetStartScan(true);
    std::sort(scan.FileList.begin(), scan.FileList.end());
    EXPECT_EQ(scan.FileList,
              (std::vector<std::string>{tree.Windows("kept/in.tmp"), tree.Windows("report2.tmp")}));
    // Also when the other twin is not asked for: a name looked up, a folder among files.
    EXPECT_TRUE(ListEntries(*platform.files, tree.Windows("Report.tmp")).empty());
    EXPECT_EQ(ListEntries(*platform.files, tree.Windows("*.*"), true).count("cache"), 0u);
}

// The program's own record is left out of every scan: its folder reached through a link or spelled in
// other letter case, its names on the disk in other case.
TEST(FileSystemPosixTest, TheRecordsOwnFilesAreNeverListed) {
    TempTree tree;
    tree.File("data/Kelvaro/KELVARO.LOG");
    tree.File("data/Kelvaro/kelvaro.log.1");
    tree.File("data/Kelvaro/other.log");
    tree.Link("alias", "data");
    const std::string record = tree.Windows("data/Kelvaro/Kelvaro.log");
    struct Case {
        std::string record;
        std::string directory;
        bool subfolders;
    } cases[] = {
        {record, "alias", true},           // the folder's identity from the walk
        {record, "alias/Kelvaro", false},  // the root's identity
        {UpperAscii(tree.Windows("data/kelvaro/")) + "Kelvaro.log", "data/Kelvaro", false},  // the path alone
    };
    for (const Case& c : cases) {
        PlatformScanServices platform;
        TFileScan scan(platform.Get());
        scan.SetUnlistedFiles({c.record, DeletionRecord::OlderPath(c.record)});
        scan.Directory = tree.Windows(c.directory);
        scan.IncSubDir = c.subfolders;
        scan.FileSpecs = "*.log*";
        scan.SetStartScan(true);
        EXPECT_EQ(scan.FileList, std::vector<std::string>{tree.Windows(c.directory) + "\\" +
                                                          (c.subfolders ? "Kelvaro\\" : "") + "other.log"})
            << c.directory;
    }
}

TEST(FileSystemPosixTest, OldFilesGetTheEarliestTimeTheDosFormHolds) {
    TempTree tree;
    tree.File("old");
    tree.Touch("old", 86400 * 365);
    auto entries = ListEntries(*MakePlatformFileSystem(), tree.Windows() + "\\old");
    EXPECT_EQ(entries.at("old").dosDateTime, MakeDosDateTime({1980, 1, 1, 0, 0, 0}));
}

TEST(FileSystemPosixTest, FolderIdentityAndReading) {
    TempTree tree;
    tree.File("sub/a.txt", "hello");
    tree.Link("alias", "sub");
    auto files = MakePlatformFileSystem();
    EXPECT_EQ(files->IdentifyFolder(tree.Windows("sub")), files->IdentifyFolder(tree.Windows("alias")));
    EXPECT_NE(files->IdentifyFolder(tree.Windows("sub")), files->IdentifyFolder(tree.Windows()));
    EXPECT_FALSE(files->IdentifyFolder(tree.Windows("sub/a.txt")));
    auto file = files->OpenRead(tree.Windows("sub/a.txt"));
    ASSERT_TRUE(file);
    char buffer[16];
    EXPECT_EQ(file->Read(buffer, 16), 5);
    EXPECT_EQ(file->Read(buffer, 16), 0);
    EXPECT_FALSE(files->OpenRead(tree.Windows("sub")));
    EXPECT_FALSE(files->OpenRead(tree.Windows("nothing")));
}

// The scanner on a real tree: a link back to the root must not make it loop or leave the tree, and a
// link to a file outside is not listed.
TEST(FileSystemPosixTest, ScanOfARealTreeSkipsLinksAndLoops) {
    TempTree tree;
    TempTree outside;
    outside.File("victim.tmp");
    tree.File("a.tmp");
    tree.File("sub/b.tmp");
    tree.File("sub/.hidden.tmp");
    tree.Link("sub/loop", "..");
    tree.Link("sub/self", ".");
    tree.Link("out", outside.Root());
    tree.Link("sub/to-victim.tmp", outside.Root() + "/victim.tmp");
    tree.File("look.tmp.");
    tree.File("look.tmp");
    // Enough files for the examination's threads to share them, links among them.
    std::vector<std::string> expected = {tree.Windows("a.tmp"), tree.Windows("look.tmp"),
                                         tree.Windows("sub/b.tmp")};
    for (int i = 0; i < 60; ++i) {
        const std::string name = "many/f" + std::to_string(i) + ".tmp";
        if (i % 6 == 5) {
            tree.Link(name, outside.Root() + "/victim.tmp");
        } else {
            tree.File(name);
            expected.push_back(tree.Windows(name));
        }
    }
    std::sort(expected.begin(), expected.end());
    PlatformScanServices platform;
    TFileScan scan(platform.Get());
    scan.Directory = tree.Windows();
    scan.FileSpecs = "*.tmp";
    scan.SetStartScan(true);
    std::sort(scan.FileList.begin(), scan.FileList.end());
    EXPECT_EQ(scan.FileList, expected);
    EXPECT_TRUE(platform.files->IsFileLink(tree.Windows("sub/to-victim.tmp")));
    EXPECT_FALSE(platform.files->IsFileLink(tree.Windows("a.tmp")));
    EXPECT_TRUE(platform.files->IsFileLink(tree.Windows("missing.tmp")));
}

}  // namespace
}  // namespace kelvaro::testing
