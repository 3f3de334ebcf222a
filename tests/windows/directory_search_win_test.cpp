// The Win32 directory search against Wine's real file system.
#include <windows.h>
#include <gtest/gtest.h>

#include <map>
#include <utility>
#include <vector>

#include "base/date_time.h"
#include "common/list_entries.h"
#include "platform/drive_types.h"
#include "platform/file_state.h"
#include "platform/file_system.h"
#include "platform/handle_owners_win.h"
#include "windows/test_tree.h"

namespace kelvaro::testing {
namespace {

TEST(DirectorySearchWin, NamesTheCodePageCannotHoldAreLeftOut) {
    auto files = MakePlatformFileSystem();
    for (const std::string& folder : {FixtureTree() + "\\names", std::string()}) {
        TempFolder temp;
        std::string where = folder;
        if (where.empty()) {                            // the same, made through the wide calls
            temp.File("\xce\xa9.tmp", "omega");         // Ω
            temp.File("\xe6\x97\xa5\xe6\x9c\xac.tmp");  // 日本
            temp.File("O.tmp", "real-o\n");
            temp.File("plain.tmp");
            where = temp.Path();
        }
        auto entries = ListEntries(*files, where + "\\*.tmp");
        ASSERT_EQ(entries.size(), 2u) << where;
        EXPECT_EQ(entries.count("O.tmp"), 1u);
        EXPECT_EQ(entries.count("plain.tmp"), 1u);
        EXPECT_EQ(entries.at("O.tmp").size, 7u);  // the real O.tmp, not the best fit of Ω.tmp
        EXPECT_EQ(entries.count("??.tmp"), 0u);
    }
}

std::vector<std::string> Names(const std::map<std::string, DirectoryEntry>& entries) {
    std::vector<std::string> names;
    for (const auto& [name, entry] : entries) names.push_back(name);
    return names;
}

// Wine lists these Linux names as they are; their Win32 paths reach the real files beside them.
TEST(DirectorySearchWin, NamesAWin32PathWouldChangeAreLeftOut) {
    auto files = MakePlatformFileSystem();
    const std::string folder = FixtureTree() + "\\lookalikes\\*.*";
    using NameList = std::vector<std::string>;
    EXPECT_EQ(Names(ListEntries(*files, folder)), (NameList{".", "..", "notes.txt", "report.doc", "x"}));
    EXPECT_EQ(Names(ListEntries(*files, folder, true)), (NameList{".", "..", "x"}));  // not "sub."
}

// A Linux folder can hold names that differ only in case; a Win32 path reaches either of them.
TEST(DirectorySearchWin, NamesDifferingOnlyInCaseAreLeftOut) {
    auto files = MakePlatformFileSystem();
    const std::string twins = FixtureTree() + "\\twins\\";
    using NameList = std::vector<std::string>;
    EXPECT_EQ(Names(ListEntries(*files, twins + "*.tmp")), NameList{"report2.tmp"});
    EXPECT_TRUE(ListEntries(*files, twins + "Report.tmp").empty());  // looked up, not matched
    EXPECT_EQ(Names(ListEntries(*files, twins + "report2.tmp")), NameList{"report2.tmp"});
    // Folder "Logs" beside file "logs", through the folder's own listing and through a search.
    EXPECT_EQ(Names(ListEntries(*files, twins + "*.*", true)), (NameList{".", ".."}));
    EXPECT_TRUE(ListEntries(*files, twins + "L*", true).empty());
}

// A search that read its whole folder gives the folder's subfolders from that read: the same entries, kinds
// and identities as a folders-only search of the folder, links, twins and look-alikes left out alike.
TEST(DirectorySearchWin, AFolderReadOnceGivesWhatAFoldersOnlySearchGives) {
    auto files = MakePlatformFileSystem();
    int reused = 0;
    for (const char* folder : {"tree", "tree\\sub", "lookalikes", "twins", "names"}) {
        const std::string path = FixtureTree() + "\\" + folder + "\\";
        std::map<std::string, DirectoryEntry> fresh = ListEntries(*files, path + "*.*", true);
        for (const char* pattern : {"*.*", "*.tmp"}) {
            auto listing = files->FindFirst(path + pattern);
            auto folders = listing ? listing->TakeFolderListing() : nullptr;
            if (!folders) continue;
            ++reused;
            EXPECT_EQ(listing->TakeFolderListing(), nullptr);  // given once
            std::map<std::string, DirectoryEntry> read;
            for (DirectoryEntry entry; folders->Next(entry);) read[entry.name] = entry;
            ASSERT_EQ(Names(read), Names(fresh)) << path << pattern;
            for (const auto& [name, entry] : fresh) {
                EXPECT_EQ(read.at(name).attributes, entry.attributes) << path << name;
                EXPECT_EQ(read.at(name).identity, entry.identity) << path << name;
            }
        }
    }
    EXPECT_GE(reused, 5);  // every folder's "*.*" at least
}

TEST(DirectorySearchWin, LinksToFilesAreToldFromFiles) {
    auto files = MakePlatformFileSystem();
    const std::string tree = FixtureTree() + "\\tree\\";
    EXPECT_TRUE(files->IsFileLink(tree + "victim-link.tmp"));
    EXPECT_FALSE(files->IsFileLink(tree + "a.tmp"));
    EXPECT_FALSE(files->IsFileLink(tree + "sub\\b.tmp"));
    EXPECT_FALSE(files->IsFileLink(FixtureTree() + "\\outside\\victim.tmp"));
    // Reached through a link to its folder, the file is still that folder's own.
    EXPECT_FALSE(files->IsFileLink(tree + "out\\victim.tmp"));
    EXPECT_TRUE(files->IsFileLink(tree + "missing.tmp"));
    // As a listing described them a moment ago: a reparse point needs no question, the rest the same.
    EXPECT_TRUE(files->IsListedFileLink(tree + "victim-link.tmp", attr::Archive));
    EXPECT_FALSE(files->IsListedFileLink(tree + "a.tmp", attr::Archive));
    EXPECT_TRUE(files->IsListedFileLink(tree + "a.tmp", attr::Archive | attr::ReparsePoint));
    EXPECT_TRUE(files->IsListedFileLink(tree + "missing.tmp", attr::Archive));
    TempFolder temp;
    temp.File("made-by-windows.tmp");
    EXPECT_FALSE(files->IsFileLink(temp.Path() + "\\made-by-windows.tmp"));
}

// The scan opens a file once for both questions, and each answer is the one its own open would give.
TEST(DirectorySearchWin, OneOpenTellsALinkAndWhetherTheFileCanBeWritten) {
    auto files = MakePlatformFileSystem();
    const std::string tree = FixtureTree() + "\\tree\\";
    EXPECT_TRUE(files->ExamineListedFile(tree + "victim-link.tmp", attr::Archive).link);
    EXPECT_TRUE(files->ExamineListedFile(tree + "a.tmp", attr::Archive | attr::ReparsePoint).link);
    auto answers = files->ExamineListedFile(tree + "a.tmp", attr::Archive);
    EXPECT_FALSE(answers.link);
    EXPECT_EQ(answers.openableForWriting, true);
    answers = files->ExamineListedFile(tree + "a.tmp", attr::Archive | attr::ReadOnly);
    EXPECT_FALSE(answers.link);
    EXPECT_EQ(answers.openableForWriting, false);
    // Held by another program that shares no writing, or that may delete it.
    TempFolder temp;
    temp.File("held.tmp");
    const std::string held = temp.Path() + "\\held.tmp";
    for (auto [access, sharing] : {std::pair<DWORD, DWORD>{GENERIC_READ, FILE_SHARE_READ},
                                   {DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE}}) {
        HandleOwner other(CreateFileA(held.c_str(), access, sharing, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(other);
        answers = files->ExamineListedFile(held, attr::Archive);
        EXPECT_FALSE(answers.link) << access;
        EXPECT_EQ(answers.openableForWriting, false) << access;
    }
    EXPECT_EQ(files->ExamineListedFile(held, attr::Archive).openableForWriting, true);
}

// Asked about side by side, as a scan asks about a folder's files, each file gets the answers it gets alone.
TEST(DirectorySearchWin, FilesAskedAboutTogetherGetTheAnswersEachGetsAlone) {
    auto files = MakePlatformFileSystem();
    const std::string tree = FixtureTree() + "\\tree\\";
    std::vector<DirectoryEntry> entries;
    for (int round = 0; round < 25; ++round)
        for (auto [name, attributes] : {std::pair<const char*, std::uint32_t>{"a.tmp", attr::Archive},
                                        {"victim-link.tmp", attr::Archive},
                                        {"a.tmp", attr::Archive | attr::ReadOnly},
                                        {"gone.tmp", attr::Archive}})
            entries.push_back({name, 0, attributes});
    const auto together = files->ExamineListedFiles(tree, entries);
    ASSERT_EQ(together.size(), entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const auto alone = files->ExamineListedFile(tree + entries[i].name, entries[i].attributes);
        EXPECT_EQ(together[i].link, alone.link) << i << " " << entries[i].name;
        EXPECT_EQ(together[i].openableForWriting, alone.openableForWriting) << i << " " << entries[i].name;
    }
    EXPECT_FALSE(together[0].link);
    EXPECT_TRUE(together[1].link);
}

// What the delete asks just before it acts: a link carries its target's size and time under Wine, so
// only the link test keeps a file replaced by a link to itself from passing for the listed file.
TEST(DirectorySearchWin, TheStateBeforeADeleteTellsALinkFromAFile) {
    auto probe = MakePlatformFileStateProbe();
    const std::string tree = FixtureTree() + "\\tree\\";
    const FileState link = probe->Describe(tree + "victim-link.tmp");
    EXPECT_TRUE(link.exists);
    EXPECT_FALSE(link.plainFile);
    EXPECT_TRUE(probe->Describe(tree + "a.tmp").plainFile);
    EXPECT_TRUE(probe->ExactEntryExists(tree + "a.tmp"));
    // Only "REPORT.tmp" is there: a look-up of "Report.tmp" lands on it, the probe does not.
    const std::string twin = FixtureTree() + "\\case\\";
    ASSERT_NE(GetFileAttributesA((twin + "Report.tmp").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_FALSE(probe->Describe(twin + "Report.tmp").exists);
    EXPECT_FALSE(probe->ExactEntryExists(twin + "Report.tmp"));
    EXPECT_TRUE(probe->Describe(twin + "REPORT.tmp").exists);
    EXPECT_TRUE(probe->ExactEntryExists(twin + "REPORT.tmp"));
}

TEST(DirectorySearchWin, LinksToFoldersAreReparsePointsAndDanglingLinksAreNotListed) {
    auto files = MakePlatformFileSystem();
    auto entries = ListEntries(*files, FixtureTree() + "\\tree\\*.*");
    EXPECT_EQ(entries.at("out").attributes & (attr::Directory | attr::ReparsePoint),
              attr::Directory | attr::ReparsePoint);
    EXPECT_EQ(entries.at("sub").attributes & attr::ReparsePoint, 0u);
    EXPECT_EQ(entries.count("dangling.tmp"), 0u);
    EXPECT_EQ(files->IdentifyFolder(FixtureTree() + "\\tree\\sub\\loop"),
              files->IdentifyFolder(FixtureTree() + "\\tree"));
    EXPECT_NE(files->IdentifyFolder(FixtureTree() + "\\tree\\sub"),
              files->IdentifyFolder(FixtureTree() + "\\tree"));
    // The folder-only listing carries the identities the walk compares.
    auto seen = ListEntries(*files, FixtureTree() + "\\tree\\sub\\*.*", true);
    EXPECT_EQ(seen.count("b.tmp"), 0u);
    ASSERT_TRUE(seen.at("loop").identity);
    EXPECT_EQ(seen.at("loop").identity, files->IdentifyFolder(FixtureTree() + "\\tree"));
    EXPECT_EQ(seen.at("..").identity, files->IdentifyFolder(FixtureTree() + "\\tree"));
    EXPECT_EQ(seen.at("loop").attributes & attr::ReparsePoint, attr::ReparsePoint);
}

TEST(DirectorySearchWin, PathsBeyondMaxPathAreLeftOutWithoutFailure) {
    auto files = MakePlatformFileSystem();
    std::string folder = LongPathTree() + "\\" + std::string(100, 'a') + "\\" + std::string(100, 'b');
    ASSERT_LT(folder.size() + 1, static_cast<std::size_t>(MAX_PATH)) << "fixture path too long for this test";
    auto entries = ListEntries(*files, folder + "\\*.*");
    EXPECT_EQ(entries.count(std::string(100, 'c')), 0u);
    EXPECT_EQ(files->FindFirst(folder + "\\" + std::string(100, 'c') + "\\*.*"), nullptr);
    EXPECT_EQ(files->FindFirst(std::string(300, 'x') + "\\*.*"), nullptr);
}

TEST(DirectorySearchWin, TimesAreLocalDosTimesAndOldOnesAreClamped) {
    auto files = MakePlatformFileSystem();
    EXPECT_EQ(ListEntries(*files, FixtureTree() + "\\dates\\old.tmp").at("old.tmp").dosDateTime,
              MakeDosDateTime({1980, 1, 1, 0, 0, 0}));
    TempFolder temp;
    temp.File("now.tmp");
    SYSTEMTIME now;
    GetLocalTime(&now);
    DosDateTimeParts parts =
        SplitDosDateTime(ListEntries(*files, temp.Path() + "\\now.tmp").at("now.tmp").dosDateTime);
    EXPECT_EQ(parts.year, now.wYear);
    EXPECT_EQ(parts.month, now.wMonth);
    EXPECT_LE(std::abs(parts.hour * 60 + parts.minute - (now.wHour * 60 + now.wMinute)), 2);
}

TEST(DirectorySearchWin, ReadsFilesAndAsksDriveTypes) {
    TempFolder temp;
    temp.File("r.txt", "abc");
    auto files = MakePlatformFileSystem();
    auto file = files->OpenRead(temp.Path() + "\\r.txt");
    ASSERT_TRUE(file);
    char buffer[8];
    EXPECT_EQ(file->Read(buffer, 8), 3);
    EXPECT_EQ(file->Read(buffer, 8), 0);
    EXPECT_FALSE(files->OpenRead(temp.Path() + "\\missing.txt"));
    auto drives = MakePlatformDriveTypes();
    EXPECT_EQ(drives->QueryDriveType("c:\\"), static_cast<unsigned>(DriveFixed));
    EXPECT_EQ(drives->QueryDriveType("q:\\"), static_cast<unsigned>(DriveNoRootDir));
}

}  // namespace
}  // namespace kelvaro::testing
