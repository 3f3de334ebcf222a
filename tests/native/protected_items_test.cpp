// Protected items kept out of a scan: which files a walk still lists, what it never enters or opens.
#include "search/protected_items.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "fake_platform.h"

namespace kelvaro::testing {
namespace {

using Lines = std::vector<std::string>;

// C:\r holds a.txt, Report.DOCX, Thumbs.db, Keep\ (k.txt, Thumbs.db, Inner\ (i.txt)), Data\ (x.db,
// y.txt, Sub\ (z.db)); C:\alias is Keep reached by another spelling.
void MakeTree(FakeFileSystem& files) {
    files.AddFolder("C:\\", "r").AddFolder("C:\\r", "Keep").AddFolder("C:\\r", "Data");
    files.AddFolder("C:\\r\\Keep", "Inner").AddFolder("C:\\r\\Data", "Sub").AddFolder("C:\\", "alias");
    files.AddFolder("C:\\alias", "Inner").AddFile("C:\\alias", {"k.txt"}).AddFile("C:\\alias", {"Thumbs.db"});
    files.AddFile("C:\\alias\\Inner", {"i.txt"});
    files.ShareIdentity("C:\\alias", "C:\\r\\Keep");
    files.ShareIdentity("C:\\alias\\Inner", "C:\\r\\Keep\\Inner");
    files.AddFile("C:\\r", {"a.txt"}).AddFile("C:\\r", {"Report.DOCX"}).AddFile("C:\\r", {"Thumbs.db"});
    files.AddFile("C:\\r\\Keep", {"k.txt"}).AddFile("C:\\r\\Keep", {"Thumbs.db"});
    files.AddFile("C:\\r\\Keep\\Inner", {"i.txt"});
    files.AddFile("C:\\r\\Data", {"x.db"}).AddFile("C:\\r\\Data", {"y.txt"});
    files.AddFile("C:\\r\\Data\\Sub", {"z.db"});
}

Lines Sorted(Lines lines) {
    std::sort(lines.begin(), lines.end());
    return lines;
}

const Lines kAll{"a.txt",       "Report.DOCX",     "Thumbs.db",
                 "Keep\\k.txt", "Keep\\Thumbs.db", "Keep\\Inner\\i.txt",
                 "Data\\x.db",  "Data\\y.txt",     "Data\\Sub\\z.db"};

Lines AllBut(const Lines& leftOut) {
    Lines kept;
    for (const std::string& name : kAll)
        if (std::find(leftOut.begin(), leftOut.end(), name) == leftOut.end()) kept.push_back(name);
    return kept;
}

TEST(ProtectedItemsTest, AWalkListsAllButWhatIsProtectedAndNeverEntersOrOpensIt) {
    const struct {
        const char* why;
        const char* root;
        Lines items;
        Lines listed;             // below root
        const char* notSearched;  // a folder no search may look into, or ""
    } cases[] = {
        {"nothing protected", "C:\\r", {}, kAll, ""},
        {"blank items protect nothing", "C:\\r", {"", "  "}, kAll, ""},
        {"a folder and all below it",
         "C:\\r",
         {"C:\\r\\Keep"},
         AllBut({"Keep\\k.txt", "Keep\\Thumbs.db", "Keep\\Inner\\i.txt"}),
         "C:\\r\\Keep"},
        {"letter case as Windows compares, trailing and dot separators",
         "C:\\r",
         {"c:/R\\kEEp\\.\\", "C:\\R\\DATA\\SUB\\\\"},
         AllBut({"Keep\\k.txt", "Keep\\Thumbs.db", "Keep\\Inner\\i.txt", "Data\\Sub\\z.db"}),
         "C:\\r\\Keep"},
        {"\"..\" and trailing dots name the same folder",
         "C:\\r",
         {"C:\\r\\Data\\..\\Keep\\Inner. "},
         AllBut({"Keep\\Inner\\i.txt"}),
         "C:\\r\\Keep\\Inner"},
        {"a name that only begins like a protected one is not it",
         "C:\\r",
         {"C:\\r\\Kee", "C:\\r\\a.tx"},
         kAll,
         ""},
        {"a file by its path", "C:\\r", {"C:\\r\\data\\Y.TXT"}, AllBut({"Data\\y.txt"}), ""},
        {"a bare specification everywhere",
         "C:\\r",
         {"thumbs.DB", "*.docx"},
         AllBut({"Report.DOCX", "Thumbs.db", "Keep\\Thumbs.db"}),
         ""},
        {"a specification in its folder and below only",
         "C:\\r",
         {"C:\\r\\Data\\*.db"},
         AllBut({"Data\\x.db", "Data\\Sub\\z.db"}),
         ""},
        {"a root inside a protected folder lists nothing",
         "C:\\r\\Keep\\Inner",
         {"C:\\R\\keep"},
         {},
         "C:\\r\\Keep"},
        {"a root below a specification's folder takes it", "C:\\r\\Data", {"C:\\r\\*.db"}, {"y.txt"}, ""},
        {"a protected folder reached by another spelling", "C:\\alias", {"C:\\r\\Keep"}, {}, "C:\\alias"},
        {"a root whose folder is protected under another spelling",
         "C:\\alias\\Inner",
         {"C:\\r\\Keep"},
         {},
         "C:\\alias"},
        {"a file whose folder has another spelling",
         "C:\\alias",
         {"C:\\r\\Keep\\k.txt"},
         {"Thumbs.db", "Inner\\i.txt"},
         ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        FakePlatform platform;
        MakeTree(platform.files);
        TFileScan scan(platform.Get());
        scan.PaceMilliseconds = 0;
        scan.Directory = c.root;
        scan.SetProtectedItems(ProtectedItems(c.items));
        scan.SetStartScan(true);

        Lines expected;
        const std::string prefix = std::string(c.root) + "\\";
        for (const std::string& name : c.listed) expected.push_back(prefix + name);
        EXPECT_EQ(Sorted(scan.FileList), Sorted(expected));
        // Only what is listed was opened; a protected folder was not even searched.
        EXPECT_EQ(Sorted(platform.files.linkChecks), Sorted(expected));
        for (const std::string& pattern : platform.files.patterns)
            EXPECT_FALSE(*c.notSearched && pattern.rfind(c.notSearched, 0) == 0) << pattern;
    }
}

}  // namespace
}  // namespace kelvaro::testing
