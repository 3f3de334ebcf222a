// The scanner on Wine's real file system, with a real message pump.
#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "search/platform_scan.h"
#include "windows/test_tree.h"

namespace kelvaro::testing {
namespace {

using Lines = std::vector<std::string>;

// victim-link.tmp, a link to a file outside, is left out as well.
TEST(FileScanWin, WalkStaysInsideTheTreeDespiteLinkLoops) {
    PlatformScanServices platform;
    TFileScan scan(platform.Get());
    scan.Directory = FixtureTree() + "\\tree";
    scan.FileSpecs = "*.tmp";
    scan.SetStartScan(true);
    EXPECT_EQ(scan.FileList, (Lines{FixtureTree() + "\\tree\\a.tmp", FixtureTree() + "\\tree\\sub\\b.tmp"}));
}

TEST(FileScanWin, TooLongPathsAndLossyNamesDoNotStopTheWalk) {
    PlatformScanServices platform;
    TFileScan scan(platform.Get());
    scan.Directory = FixtureTree();
    scan.FileSpecs = "*.tmp";
    scan.SetStartScan(true);
    scan.Directory = LongPathTree();
    scan.AppendItems = true;
    scan.SetStartScan(true);
    Lines expected{LongPathTree() + "\\short.tmp", FixtureTree() + "\\names\\O.tmp",
                   FixtureTree() + "\\names\\plain.tmp"};
    for (const std::string& path : expected)
        EXPECT_NE(std::find(scan.FileList.begin(), scan.FileList.end(), path), scan.FileList.end()) << path;
    for (const std::string& path : scan.FileList) {
        EXPECT_EQ(path.find("deep.tmp"), std::string::npos);
        EXPECT_EQ(path.find("\\tree\\out\\"), std::string::npos);
        EXPECT_EQ(path.find("\\loop\\"), std::string::npos);
        EXPECT_LT(path.size(), static_cast<std::size_t>(MAX_PATH));
    }
}

TEST(FileScanWin, OnlyTheRealFilesBesideLookAlikeNamesAreListed) {
    PlatformScanServices platform;
    TFileScan scan(platform.Get());
    scan.Directory = FixtureTree() + "\\lookalikes";
    scan.SetStartScan(true);
    std::sort(scan.FileList.begin(), scan.FileList.end());
    EXPECT_EQ(scan.FileList, (Lines{scan.Directory + "\\notes.txt", scan.Directory + "\\report.doc",
                                    scan.Directory + "\\x\\y.txt"}));
}

TEST(FileScanWin, ContentAndCriteriaOnRealFiles) {
    TempFolder temp;
    temp.File("hit.txt", std::string(100, 'x') + "Secret" + std::string(1, '\0') + "z");
    temp.File("miss.txt", "Sec\0ret");
    temp.File("empty.txt");
    PlatformScanServices platform;
    TFileScan scan(platform.Get());
    scan.Directory = temp.Path();
    scan.SearchString = "SECRET";
    scan.SetStartScan(true);
    EXPECT_EQ(scan.FileList, Lines{temp.Path() + "\\hit.txt"});
    scan.SearchString.clear();
    scan.FileSizeComp = fctEqual;
    scan.FileAgeComp = fctEqual;  // written today
    scan.SetStartScan(true);
    EXPECT_EQ(scan.FileList, Lines{temp.Path() + "\\empty.txt"});
}

// A click on Stop arrives as a window message; the scan's pump must run it and stop.
TEST(FileScanWin, AMessageHandledDuringTheScanCanStopIt) {
    TempFolder temp;
    for (int i = 0; i < 20; ++i) temp.File("f" + std::to_string(i) + ".tmp");
    PlatformScanServices platform;
    TFileScan scan(platform.Get());
    static TFileScan* current = nullptr;
    current = &scan;
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = [](HWND window, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (message == WM_APP) current->StopScan = true;
        return DefWindowProcA(window, message, wParam, lParam);
    };
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "KelvaroStopTest";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowA("KelvaroStopTest", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(window);
    PostMessageA(window, WM_APP, 0, 0);
    scan.Directory = temp.Path();
    scan.SetStartScan(true);
    EXPECT_EQ(scan.FileList.size(), 1u);
    EXPECT_TRUE(scan.StopScan);
    DestroyWindow(window);
}

}  // namespace
}  // namespace kelvaro::testing
