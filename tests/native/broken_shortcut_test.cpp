// The broken-shortcut decision over stand-ins for the shortcut reader, the target probe and drive types.
#include "run/broken_shortcut.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "fake_platform.h"

namespace kelvaro::testing {
namespace {

class NoRegistry : public Registry {
public:
    std::unique_ptr<RegistryKey> OpenKey(const std::string&, bool) override { return nullptr; }
    std::unique_ptr<RegistryKey> OpenKeyForReading(const std::string&) override { return nullptr; }
};

// Every shortcut file holds target; "bad.lnk" is not a readable shortcut.
class OneTargetLinks : public ShellLinkObject {
public:
    std::string target;
    std::u16string exactTarget;
    std::vector<std::string> loaded;
    bool FileExists(const std::string&) override { return true; }
    ShellLinkResult Save(const std::string&, const ShellLinkFields&) override { return ShellLinkResult::Ok; }
    ShellLinkResult Load(const std::string& path, ShellLinkFields& fields) override {
        loaded.push_back(path);
        if (path.ends_with("bad.lnk")) return ShellLinkResult::ReadFailed;
        fields.Target = target;
        fields.ExactTarget = exactTarget;
        return ShellLinkResult::Ok;
    }
};

class SetProbe : public TargetProbe {
public:
    std::set<std::u16string> directories, files;
    bool IsExistingDirectory(const std::u16string& path) override { return directories.count(path) != 0; }
    bool IsExistingFile(const std::u16string& path) override { return files.count(path) != 0; }
};

std::u16string Wide(const std::string& ascii) {
    return {ascii.begin(), ascii.end()};
}

class FakeProgress : public ShortcutTestProgress {
public:
    std::string status = "Searching for *.lnk";
    std::vector<std::string> calls;
    std::string StatusLine() override { return status; }
    void SetStatusLine(const std::string& text) override {
        status = text;
        calls.push_back("status " + text);
    }
    void SetPathLabel(const std::string& text) override { calls.push_back("path [" + text + "]"); }
    void Repaint() override { calls.push_back("repaint"); }
};

struct BrokenShortcut : ::testing::Test {
    NoRegistry registry;
    OneTargetLinks links;
    TQSShellLink link{links, registry};
    SetProbe probe;
    FakeDrives drives;
    FakeProgress progress;

    // A target the code page holds exactly: both forms agree.
    bool Valid(const std::string& target, const std::string& rmvDrv) {
        return Valid(target, Wide(target), rmvDrv);
    }
    bool Valid(const std::string& codePageTarget, const std::u16string& exactTarget,
               const std::string& rmvDrv) {
        links.target = codePageTarget;
        links.exactTarget = exactTarget;
        return ShortcutIsValid("C:\\Found\\a.lnk", rmvDrv, link, probe, drives, progress);
    }
};

TEST_F(BrokenShortcut, DecisionTable) {
    probe.directories = {u"C:\\Dir", u"E:\\Dir"};
    probe.files = {u"C:\\File.exe", u"E:\\File.exe"};
    enum Exists { No, AsFile, AsDir };
    for (unsigned type = 0; type <= 6; ++type) {
        drives.types = {{"C:", type}, {"E:", type}};
        const bool absentDrive = type == 2 || type == 4 || type == 5 || type == 6;
        for (const std::string rmvDrv : {"Yes", "No", "", "yes", "YES", "Yes "}) {
            const bool listAbsent = rmvDrv == "Yes";
            for (Exists exists : {No, AsFile, AsDir}) {
                for (const std::string drive : {"C:", "E:"}) {
                    const std::string target = drive + (exists == AsFile  ? "\\File.exe"
                                                        : exists == AsDir ? "\\Dir"
                                                                          : "\\Gone.exe");
                    const bool expected = exists != No || (!listAbsent && absentDrive);
                    EXPECT_EQ(Valid(target, rmvDrv), expected)
                        << target << " type " << type << " [" << rmvDrv << "]";
                }
            }
            EXPECT_TRUE(Valid("", rmvDrv)) << "empty target, type " << type;
        }
    }
}

TEST_F(BrokenShortcut, DriveTypeAskedOnlyForMissingTargetsWithTheExactDrivePart) {
    drives.types = {{"\\\\srv\\share", DriveRemote}};
    EXPECT_TRUE(Valid("\\\\srv\\share\\dir\\f.exe", "No"));
    EXPECT_FALSE(Valid("E:\\f.exe", "No"));
    EXPECT_FALSE(Valid("rel\\f.exe", ""));
    EXPECT_FALSE(Valid("\\\\srv\\share\\f.exe", "Yes"));
    EXPECT_TRUE(Valid("", "No"));
    EXPECT_EQ(drives.asked, (std::vector<std::string>{"\\\\srv\\share", "E:", ""}));
}

// The code page holds "\u65E5\u672C" as "??" and "\u03A9mega" as the look-alike "Omega": only the exact
// name tells whether the target is there, and a target without one is never called broken.
TEST_F(BrokenShortcut, OnlyTheExactTargetDecides) {
    const std::u16string japanese = u"C:\\\u65E5\u672C\\doc.txt", omega = u"C:\\\u03A9mega";
    probe.files = {japanese, u"C:\\Omega"};
    EXPECT_TRUE(Valid("C:\\??\\doc.txt", japanese, "Yes"));
    EXPECT_FALSE(Valid("C:\\Omega", omega, ""));  // "Omega" is another file
    probe.directories = {omega};
    EXPECT_TRUE(Valid("C:\\Omega", omega, "Yes"));

    EXPECT_TRUE(Valid("C:\\Gone.exe", u"", "Yes"));                      // the link object gave no exact name
    EXPECT_TRUE(Valid("C:\\??\\gone.txt", u"C:\\??\\gone.txt", "Yes"));  // a wildcard search proves nothing
    drives.asked.clear();
    // A missing target on a drive the drive-type query cannot name: it may be a share that is away.
    EXPECT_TRUE(Valid("\\\\??\\s\\x", u"\\\\\u65E5\\s\\x", ""));
    EXPECT_TRUE(drives.asked.empty());
    EXPECT_FALSE(Valid("\\\\??\\s\\x", u"\\\\\u65E5\\s\\x", "Yes"));
    EXPECT_FALSE(Valid("D:\\??\\x", u"D:\\\u65E5\\x", ""));
    EXPECT_EQ(drives.asked, std::vector<std::string>{"D:"});
}

TEST_F(BrokenShortcut, ProgressTextSetOncePerRule) {
    probe.files = {u"C:\\x"};
    Valid("C:\\x", "");
    Valid("C:\\x", "");
    EXPECT_EQ(progress.calls,
              (std::vector<std::string>{"status Testing Shortcuts...", "path [ ]", "repaint"}));
    progress.status = "Searching for *.*";  // the next rule's scan
    progress.calls.clear();
    Valid("C:\\x", "");
    EXPECT_EQ(progress.calls.size(), 3u);
}

TEST_F(BrokenShortcut, ReadsThroughTheSharedLinkAsAFullPath) {
    link.SetShellFolder(sfStartup);
    link.SetFileName("Kelvaro");
    probe.files = {u"C:\\x"};
    links.target = "C:\\x";
    links.exactTarget = u"C:\\x";
    EXPECT_TRUE(ShortcutIsValid("D:\\Some\\Link.LNK", "", link, probe, drives, progress));
    EXPECT_EQ(links.loaded.back(), "D:\\Some\\Link.LNK");
    EXPECT_EQ(link.ShellFolder(), sfNone);
    EXPECT_EQ(link.FileName(), "D:\\Some\\Link.LNK");
    EXPECT_EQ(link.Target(), "C:\\x");

    try {
        ShortcutIsValid("D:\\bad.lnk", "Yes", link, probe, drives, progress);
        ADD_FAILURE();
    } catch (const EQSShellLink& error) {
        EXPECT_EQ(error.Message(),
                  std::string("The shortcut \"D:\\bad.lnk\" cannot be read: ") + kLinkReadFailed);
    }
    EXPECT_TRUE(drives.asked.empty());
}

}  // namespace
}  // namespace kelvaro::testing
