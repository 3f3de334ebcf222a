// The scanner's walk, criteria, stop, pacing and failures, on an in-memory file system.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <stdexcept>

#include "base/errors.h"
#include "fake_platform.h"

namespace kelvaro::testing {
namespace {

using Lines = std::vector<std::string>;

class FileScanTest : public ::testing::Test {
protected:
    FileScanTest() : scan(platform.Get()) {
        scan.PaceMilliseconds = 0;
        scan.Directory = "C:\\r";
    }
    Lines Run() {
        scan.SetStartScan(true);
        return scan.FileList;
    }
    FakeFileSystem& files = platform.files;
    FakePlatform platform;
    TFileScan scan;
};

TEST_F(FileScanTest, DefaultsAreThoseOfAFreshComponent) {
    TFileScan fresh(platform.Get());
    EXPECT_EQ(fresh.Directory, "C:\\");
    EXPECT_EQ(fresh.FileSpecs, "*.*");
    EXPECT_EQ(fresh.FileType, TFileType{TFileAttr::ftNormal});
    EXPECT_TRUE(fresh.IncSubDir);
    EXPECT_FALSE(fresh.SearchAllDrives || fresh.CaseSense || fresh.ShowSize || fresh.ShowDate ||
                 fresh.ShowAttr || fresh.AppendItems || fresh.StopScan);
    EXPECT_EQ(fresh.FileSize, 0);
    EXPECT_EQ(fresh.FileAge, 0);
    EXPECT_EQ(fresh.FileSizeComp, fctNone);
    EXPECT_EQ(fresh.FileAgeComp, fctNone);
    EXPECT_EQ(fresh.CurrInfoLabel, nullptr);
    EXPECT_EQ(
        (TFileType{TFileAttr::ftReadOnly, TFileAttr::ftHidden, TFileAttr::ftArchive, TFileAttr::ftNormal}
             .SearchMask()),
        0x23u);
    EXPECT_EQ(TFileType{TFileAttr::ftNormal}.SearchMask(), 0u);
}

TEST_F(FileScanTest, FilesOfAFolderComeBeforeItsSubfoldersWhichAreVisitedInSearchOrder) {
    files.AddFolder("C:\\r", "zeta").AddFolder("C:\\r", "alpha").AddFolder("C:\\r\\zeta", "deep");
    files.AddFile("C:\\r\\zeta", {"z.tmp"}).AddFile("C:\\r\\zeta\\deep", {"d.tmp"});
    files.AddFile("C:\\r\\alpha", {"a.tmp"}).AddFile("C:\\r", {"top.tmp"}).AddFile("C:\\r", {"other.txt"});
    scan.FileSpecs = "*.tmp";
    Lines expected{"C:\\r\\top.tmp", "C:\\r\\zeta\\z.tmp", "C:\\r\\zeta\\deep\\d.tmp", "C:\\r\\alpha\\a.tmp"};
    EXPECT_EQ(Run(), expected);
    scan.Directory = "C:\\r\\";
    EXPECT_EQ(Run(), expected);
    EXPECT_EQ(files.patterns[0], "C:\\r\\*.tmp");
    EXPECT_EQ(files.patterns[1], "C:\\r\\*.*");
    scan.IncSubDir = false;
    EXPECT_EQ(Run(), Lines{"C:\\r\\top.tmp"});
}

TEST_F(FileScanTest, FoldersWithADotHiddenOrSystemAreNeverEntered) {
    files.AddFolder("C:\\r", "Old.Files").AddFolder("C:\\r", "hid", attr::Directory | attr::Hidden);
    files.AddFolder("C:\\r", "sys", attr::Directory | attr::System).AddFolder("C:\\r", "plain");
    for (const char* folder : {"C:\\r\\Old.Files", "C:\\r\\hid", "C:\\r\\sys", "C:\\r\\plain"})
        files.AddFile(folder, {"x.tmp"});
    files.AddFile("C:\\r", {".", 0, attr::Directory}).AddFile("C:\\r", {"..", 0, attr::Directory});
    scan.FileType = {TFileAttr::ftReadOnly, TFileAttr::ftHidden, TFileAttr::ftSystem, TFileAttr::ftArchive};
    EXPECT_EQ(Run(), Lines{"C:\\r\\plain\\x.tmp"});
}

TEST_F(FileScanTest, AttributeMaskDecidesWhichFilesComeBack) {
    files.AddFile("C:\\r", {"ro", 0, attr::ReadOnly}).AddFile("C:\\r", {"ar", 0, attr::Archive});
    files.AddFile("C:\\r", {"hi", 0, attr::Hidden | attr::Archive}).AddFile("C:\\r", {"sy", 0, attr::System});
    files.AddFile("C:\\r", {"vol", 0, attr::VolumeId});
    EXPECT_EQ(Run(), (Lines{"C:\\r\\ro", "C:\\r\\ar"}));
    scan.FileType = {TFileAttr::ftReadOnly, TFileAttr::ftHidden, TFileAttr::ftArchive, TFileAttr::ftNormal};
    EXPECT_EQ(Run(), (Lines{"C:\\r\\ro", "C:\\r\\ar", "C:\\r\\hi"}));
}

TEST_F(FileScanTest, PatternIsHandedOnUnchanged) {
    files.AddFolder("C:\\r", "sub").AddFile("C:\\r\\sub", {"a.tmp"});
    scan.FileSpecs = "*.tmp;*.bak";
    EXPECT_TRUE(Run().empty());
    EXPECT_EQ(files.patterns[0], "C:\\r\\*.tmp;*.bak");
    scan.FileSpecs = "";
    EXPECT_TRUE(Run().empty());
    // The subfolders are still walked, and find nothing either.
    EXPECT_NE(std::find(files.patterns.begin(), files.patterns.end(), "C:\\r\\sub\\"), files.patterns.end());
}

TEST_F(FileScanTest, AFolderTextOfNothingOrBlanksSearchesNothing) {
    files.AddFile("\\", {"root.tmp"}).AddFolder("\\", "sub").AddFile("\\sub", {"deep.tmp"});
    files.AddFile(" \\", {"blank.tmp"});
    for (const char* folder : {"", " ", "   ", "\t"}) {
        SCOPED_TRACE('"' + std::string(folder) + '"');
        scan.Directory = folder;
        scan.FileList = {"earlier"};
        EXPECT_TRUE(Run().empty());
        EXPECT_TRUE(files.patterns.empty());
    }
}

TEST_F(FileScanTest, AgeCountsCalendarDaysUpToTheEndOfToday) {
    struct Dated {
        const char* name;
        int month, day, hour;
    } dated[] = {{"eight", 11, 29, 23},
                 {"seven", 11, 30, 0},
                 {"today", 12, 7, 23},
                 {"tomorrow", 12, 8, 23},
                 {"later", 12, 9, 1}};
    for (const Dated& d : dated)
        files.AddFile("C:\\r",
                      {d.name, 0, attr::Archive, MakeDosDateTime({2026, d.month, d.day, d.hour, 0, 0})});
    scan.FileAgeComp = fctGreaterThan;
    scan.FileAge = 7;
    EXPECT_EQ(Run(), Lines{"C:\\r\\eight"});
    scan.FileAgeComp = fctEqual;
    scan.FileAge = 0;
    EXPECT_EQ(Run(), (Lines{"C:\\r\\today", "C:\\r\\tomorrow"}));
    scan.FileAge = -1;
    EXPECT_EQ(Run(), Lines{"C:\\r\\later"});
}

// The link check costs trips to the file system: only files the rule keeps are asked about.
TEST_F(FileScanTest, LinksToFilesAreLeftOutAndOnlyKeptFilesAreChecked) {
    files.AddFile("C:\\r", {"big", 100}).AddFile("C:\\r", {"small", 1}).AddFile("C:\\r", {"link", 100});
    files.links = {"C:\\r\\link"};
    scan.FileSizeComp = fctGreaterThan;
    scan.FileSize = 10;
    EXPECT_EQ(Run(), Lines{"C:\\r\\big"});
    EXPECT_EQ(files.linkChecks, (Lines{"C:\\r\\big", "C:\\r\\link"}));
}

TEST_F(FileScanTest, SizeIsComparedWithAllSixtyFourBits) {
    files.AddFile("C:\\r", {"empty", 0}).AddFile("C:\\r", {"k", 1000}).AddFile("C:\\r", {"k1", 1001});
    files.AddFile("C:\\r", {"huge", (1ull << 32) + 1});
    scan.FileSizeComp = fctLessThanOrEqual;
    scan.FileSize = 0;
    EXPECT_EQ(Run(), Lines{"C:\\r\\empty"});
    scan.FileSizeComp = fctGreaterThan;
    scan.FileSize = 1000;
    EXPECT_EQ(Run(), (Lines{"C:\\r\\k1", "C:\\r\\huge"}));
    // Its low 32 bits are 1: a rule for tiny files must still not offer it.
    scan.FileSizeComp = fctLessThan;
    scan.FileSize = 10;
    EXPECT_EQ(Run(), Lines{"C:\\r\\empty"});
    scan.FileSizeComp = fctGreaterThan;
    scan.FileSize = 3'000'000'000;
    EXPECT_EQ(Run(), Lines{"C:\\r\\huge"});
    EXPECT_EQ(scan.FoundEntries.at(0).size, (1ull << 32) + 1);
}

TEST_F(FileScanTest, StartScanFalseDoesNothingAndAppendItemsKeepsEarlierLines) {
    files.AddFile("C:\\r", {"a"});
    scan.FileList = {"old"};
    scan.SetStartScan(false);
    EXPECT_EQ(scan.FileList, Lines{"old"});
    scan.AppendItems = true;
    EXPECT_EQ(Run(), (Lines{"old", "C:\\r\\a"}));
    scan.AppendItems = false;
    scan.Directory = "C:\\missing";
    EXPECT_TRUE(Run().empty());
}

TEST_F(FileScanTest, StopDuringTheFirstEntryEndsTheWholeWalkAfterIt) {
    files.AddFolder("C:\\r", "sub").AddFile("C:\\r\\sub", {"deep"});
    files.AddFile("C:\\r", {"first"}).AddFile("C:\\r", {"second"});
    platform.pump.onPump = [&] { scan.StopScan = true; };
    EXPECT_EQ(Run(), Lines{"C:\\r\\first"});
    EXPECT_TRUE(scan.StopScan);
    EXPECT_EQ(files.openSearches, 0);
    EXPECT_EQ(files.patterns.size(), 1u);
    // A new scan clears the flag.
    platform.pump.onPump = nullptr;
    EXPECT_EQ(Run().size(), 3u);
}

TEST_F(FileScanTest, AQuitArrivingInThePumpEndsTheWalk) {
    files.AddFolder("C:\\r", "sub").AddFile("C:\\r\\sub", {"deep"});
    files.AddFile("C:\\r", {"first"}).AddFile("C:\\r", {"second"});
    platform.pump.onPump = [&] { platform.pump.quit = true; };
    EXPECT_EQ(Run(), Lines{"C:\\r\\first"});
    EXPECT_EQ(files.openSearches, 0);
}

TEST_F(FileScanTest, StopSetInADeepFolderEndsEveryEnclosingVisit) {
    files.AddFolder("C:\\r", "a").AddFolder("C:\\r\\a", "b").AddFolder("C:\\r", "c");
    files.AddFile("C:\\r\\a\\b", {"stop"}).AddFile("C:\\r\\a\\b", {"after"}).AddFile("C:\\r\\c", {"never"});
    platform.pump.onPump = [&] {
        if (!scan.FileList.empty()) scan.StopScan = true;
    };
    EXPECT_EQ(Run(), Lines{"C:\\r\\a\\b\\stop"});
    EXPECT_EQ(files.openSearches, 0);
}

TEST_F(FileScanTest, EachEntryPumpsEightTimesWhenNotPaced) {
    files.AddFile("C:\\r", {"a", 1, attr::Archive, DosNoon(2026, 1, 1), "text"});
    scan.SearchString = "t";
    scan.FileSizeComp = scan.FileAgeComp = fctGreaterThanOrEqual;
    scan.ShowSize = scan.ShowDate = scan.ShowAttr = true;
    scan.IncSubDir = false;
    Run();
    EXPECT_EQ(platform.pump.calls, 8);
    scan.IncSubDir = true;  // one more before the subfolder pass
    platform.pump.calls = 0;
    Run();
    EXPECT_EQ(platform.pump.calls, 9);
}

TEST_F(FileScanTest, PacedScanPumpsAndRepaintsRarelyButLabelEndsOnTheLastEntry) {
    for (int i = 0; i < 500; ++i) files.AddFile("C:\\r", {"f" + std::to_string(i)});
    RecordingLabel label;
    scan.CurrInfoLabel = &label;
    scan.PaceMilliseconds = 25;
    platform.clock.tickStep = 0;  // no time passes: only the first step of each kind runs
    Run();
    EXPECT_EQ(platform.pump.calls, 1);
    ASSERT_EQ(label.shown.size(), 2u);
    EXPECT_EQ(label.shown.front(), "C:\\r\\f0" + std::string(78, ' '));
    EXPECT_EQ(label.shown.back(), "C:\\r\\f499" + std::string(78, ' '));
    platform.pump.calls = 0;
    platform.clock.tickStep = 5;  // every fifth tick check crosses 25 ms
    Run();
    EXPECT_GT(platform.pump.calls, 10);
    EXPECT_LT(platform.pump.calls, 1000);
}

TEST_F(FileScanTest, LabelShowsEveryEntryBeforeItsCriteriaWhenNotPaced) {
    files.AddFile("C:\\r", {"small", 1}).AddFile("C:\\r", {"big", 100});
    RecordingLabel label;
    scan.CurrInfoLabel = &label;
    scan.FileSizeComp = fctGreaterThan;
    scan.FileSize = 50;
    EXPECT_EQ(Run(), Lines{"C:\\r\\big"});
    EXPECT_EQ(label.shown,
              (Lines{"C:\\r\\small" + std::string(78, ' '), "C:\\r\\big" + std::string(78, ' ')}));
}

TEST_F(FileScanTest, ContentTestReadsRunsBetweenZeroBytesInChunksOf30000) {
    std::string straddling(29998, 'x');
    straddling += "NEEDLE";
    std::string split = std::string("NEE") + '\0' + "DLE";
    files.AddFile("C:\\r", {"straddle", 0, attr::Archive, 0, straddling});
    files.AddFile("C:\\r", {"split", 0, attr::Archive, 0, split});
    files.AddFile("C:\\r", {"lower", 0, attr::Archive, 0, std::string(40000, 'y') + "needle"});
    files.AddFile("C:\\r", {"accent", 0, attr::Archive, 0,
                            "n\xe9\x65"
                            "dle"});
    files.AddFile("C:\\r", {"locked", 0, attr::Archive, 0, "NEEDLE", true});
    scan.SearchString = "Needle";
    EXPECT_EQ(Run(), (Lines{"C:\\r\\lower", "*** Error Scanning: C:\\r\\locked"}));
    EXPECT_TRUE(scan.FoundEntries.back().isError);
    scan.CaseSense = true;
    EXPECT_EQ(Run(), Lines{"*** Error Scanning: C:\\r\\locked"});
    // Letters outside a to z compare as they are.
    scan.CaseSense = false;
    scan.SearchString =
        "N\xc9"
        "EDLE";
    EXPECT_TRUE(Run().size() == 1);
    scan.SearchString =
        "n\xe9"
        "edle";
    EXPECT_EQ(Run().front(), "C:\\r\\accent");
    scan.SearchString = std::string(255, 'y') + "TAIL-IGNORED";
    EXPECT_EQ(Run().front(), "C:\\r\\lower");
}

TEST_F(FileScanTest, ImpossibleEntryDateEndsTheScanWithLinesKeptAndSearchesClosed) {
    files.AddFolder("C:\\r", "sub").AddFile("C:\\r\\sub", {"good2", 0, attr::Archive, DosNoon(2026, 1, 1)});
    files.AddFile("C:\\r", {"good", 0, attr::Archive, DosNoon(2026, 1, 1)});
    files.AddFile("C:\\r", {"bad", 0, attr::Archive, MakeDosDateTime({2026, 13, 1, 12, 0, 0})});
    files.AddFile("C:\\r", {"badtime", 0, attr::Archive, MakeDosDateTime({2026, 1, 1, 25, 0, 0})});
    EXPECT_EQ(Run().size(), 4u);  // no conversion without age test or dates shown
    scan.FileAgeComp = fctGreaterThan;
    try {
        Run();
        FAIL();
    } catch (const EConvertError& error) {
        EXPECT_STREQ(error.what(), "Invalid argument to date encode");
    }
    EXPECT_EQ(scan.FileList, Lines{"C:\\r\\good"});
    EXPECT_EQ(files.openSearches, 0);
    scan.FileAgeComp = fctNone;
    scan.ShowDate = true;
    scan.FileSpecs = "badtime";
    EXPECT_THROW(
        {
            try {
                Run();
            } catch (const EConvertError& error) {
                EXPECT_STREQ(error.what(), "Invalid argument to time encode");
                throw;
            }
        },
        EConvertError);
}

TEST_F(FileScanTest, WalkNeverEntersLinksNorAFolderAlreadyOnItsPath) {
    files.AddFolder("C:\\r", "link", attr::Directory | attr::ReparsePoint).AddFile("C:\\r\\link", {"out"});
    files.AddFolder("C:\\r", "a").AddFolder("C:\\r\\a", "loop").AddFile("C:\\r\\a\\loop", {"twice"});
    files.ShareIdentity("C:\\r\\a\\loop", "C:\\r");
    // A second path to a folder that is not an ancestor is still walked.
    files.AddFolder("C:\\r", "b").AddFolder("C:\\r", "bsame").AddFile("C:\\r\\bsame", {"again"});
    files.ShareIdentity("C:\\r\\bsame", "C:\\r\\b");
    files.AddFile("C:\\r", {"top"});
    EXPECT_EQ(Run(), (Lines{"C:\\r\\top", "C:\\r\\bsame\\again"}));
    files.identitiesInListing = true;
    EXPECT_EQ(Run(), (Lines{"C:\\r\\top", "C:\\r\\bsame\\again"}));
}

// The platform may be asked about several batches before the first is listed. Over generated trees that
// changes nothing the scan lists; a stop anywhere still lists a beginning of the full list and closes every
// search, and a failure lists what was read before it, whichever the depth.
TEST_F(FileScanTest, BatchesAskedAheadListTheSameAndStopsOrFailuresKeepABeginning) {
    std::mt19937 random(20261208);
    auto pick = [&](int below) { return static_cast<int>(random() % static_cast<unsigned>(below)); };
    for (int world = 0; world < 40; ++world) {
        platform.files = FakeFileSystem();
        std::vector<std::string> folders{"C:\\r"};
        for (std::size_t f = 0; f < folders.size() && folders.size() < 9; ++f)
            for (int sub = pick(4); sub > 0; --sub) {
                const std::string name = "d" + std::to_string(folders.size());
                files.AddFolder(folders[f], name);
                folders.push_back(folders[f] + "\\" + name);
            }
        for (const std::string& folder : folders)
            for (int i = pick(3) == 0 ? 0 : pick(150); i > 0; --i) {
                const std::string name = "f" + std::to_string(i) + (pick(4) ? ".tmp" : ".txt");
                files.AddFile(folder, {name});
                if (pick(10) == 0) files.links.insert(folder + "\\" + name);
            }
        scan.FileSpecs = pick(2) ? "*.tmp" : "*.*";
        auto runAhead = [&](std::size_t ahead, std::function<void()> onPump) {
            files.examinationsAhead = ahead;
            platform.pump.calls = 0;
            platform.pump.onPump = std::move(onPump);
            try {
                Run();
            } catch (const std::runtime_error&) {
            }
            EXPECT_EQ(files.openSearches, 0);
            return scan.FileList;
        };
        const Lines all = runAhead(0, nullptr);
        EXPECT_EQ(runAhead(5, nullptr), all) << world;
        const int stopAt = 1 + pick(std::max(1, platform.pump.calls));
        for (std::size_t ahead : {0u, 5u}) {
            const Lines stopped = runAhead(ahead, [&] {
                if (platform.pump.calls == stopAt) scan.StopScan = true;
            });
            ASSERT_LE(stopped.size(), all.size());
            EXPECT_TRUE(std::equal(stopped.begin(), stopped.end(), all.begin())) << world << " " << ahead;
        }
        const int failAt = 1 + pick(static_cast<int>(folders.size()) * 2);
        Lines failed[2];
        for (std::size_t ahead : {0u, 5u}) {
            int searches = 0;
            files.onFindFirst = [&](const std::string&) {
                if (++searches == failAt) throw std::runtime_error("unreadable");
            };
            failed[ahead ? 1 : 0] = runAhead(ahead, nullptr);
            files.onFindFirst = nullptr;
        }
        EXPECT_EQ(failed[1], failed[0]) << world;
    }
}

TEST_F(FileScanTest, ResultLineCarriesSizeDateAndAttributesWhenAsked) {
    files.AddFile("C:\\r",
                  {"a.tmp", 1234567, attr::Archive | attr::ReadOnly, MakeDosDateTime({2026, 3, 4, 5, 6, 8})});
    scan.ShowSize = scan.ShowDate = scan.ShowAttr = true;
    platform.locale.separator = ".";
    EXPECT_EQ(Run(), Lines{"C:\\r\\a.tmp     1.234.567  2026/03/04  05:06:08  R----A"});
}

TEST_F(FileScanTest, AllDrivesScansEveryRootTheDriveQueryKnowsAndAccumulates) {
    platform.drives.types = {{"c:\\", DriveFixed}, {"e:\\", DriveNoRootDir}};
    files.AddFile("c:\\", {"one.tmp"}).AddFile("e:\\", {"two.tmp"}).AddFile("d:\\", {"not.tmp"});
    scan.SearchAllDrives = true;
    scan.FileList = {"old"};
    EXPECT_EQ(Run(), (Lines{"c:\\one.tmp", "e:\\two.tmp"}));
    EXPECT_FALSE(scan.AppendItems);
    ASSERT_EQ(platform.drives.asked.size(), 26u);
    EXPECT_EQ(platform.drives.asked.front(), "a:\\");
    EXPECT_EQ(platform.drives.asked.back(), "z:\\");
}

}  // namespace
}  // namespace kelvaro::testing
