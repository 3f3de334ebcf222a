// The start-up shortcut written by the real shell link object into the folder the registry names.
#include <windows.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>

#include "platform/registry.h"
#include "shell/run_at_startup.h"
#include "windows/main_window_fixture.h"
#include "windows/test_tree.h"

namespace kelvaro::testing {
namespace {

// Points the Startup folder of the test prefix somewhere else (or nowhere) for one test and puts back
// what was there.
class StartupFolderValue {
public:
    explicit StartupFolderValue(const std::optional<std::string>& path) {
        RegCreateKeyExA(HKEY_CURRENT_USER, kShellFoldersKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_,
                        nullptr);
        DWORD size = sizeof old_;
        had_ = RegQueryValueExA(key_, "Startup", nullptr, &type_, reinterpret_cast<BYTE*>(old_), &size) ==
               ERROR_SUCCESS;
        oldSize_ = size;
        if (path)
            RegSetValueExA(key_, "Startup", 0, REG_SZ, reinterpret_cast<const BYTE*>(path->c_str()),
                           static_cast<DWORD>(path->size() + 1));
        else
            RegDeleteValueA(key_, "Startup");
    }
    ~StartupFolderValue() {
        if (had_)
            RegSetValueExA(key_, "Startup", 0, type_, reinterpret_cast<const BYTE*>(old_), oldSize_);
        else
            RegDeleteValueA(key_, "Startup");
        RegCloseKey(key_);
    }
    StartupFolderValue(const StartupFolderValue&) = delete;
    StartupFolderValue& operator=(const StartupFolderValue&) = delete;

private:
    HKEY key_ = nullptr;
    bool had_ = false;
    DWORD type_ = REG_SZ, oldSize_ = 0;
    char old_[1024] = {};
};

std::string ProgramPath() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

std::int32_t ShowCommandInFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::int32_t value = -1;
    if (bytes.size() >= 0x40) std::memcpy(&value, bytes.data() + 0x3C, sizeof value);
    return value;
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Where a path that starts with "\\" leads.
std::string RootOfCurrentDrive() {
    char full[MAX_PATH] = {};
    GetFullPathNameA("\\", MAX_PATH, full, nullptr);
    return full;
}

TEST(RunAtStartupWin, WritesRemovesAndRewritesTheRealStartupShortcut) {
    TempFolder temp;
    StartupFolderValue startup(temp.Path());
    std::unique_ptr<ShellLinkObject> links = MakePlatformShellLinkObject();
    std::unique_ptr<Registry> registry = MakePlatformRegistry();
    std::unique_ptr<FileDeleter> files = MakePlatformFileDeleter();
    TQSShellLink link{*links, *registry};
    const std::string program = ProgramPath();
    const std::string shortcut = temp.Path() + "\\Kelvaro.lnk";

    // As the broken-shortcut test leaves the shared component: tied to no folder, holding another file.
    link.SetFileName(temp.Path() + "\\other.lnk");
    link.SetWorkingDir("C:\\windows");
    link.SetTarget("C:\\windows\\notepad.exe");
    link.WriteLink();

    bool ticked = ToggleRunAtStartup(false, link, *files, program);
    EXPECT_TRUE(ticked);
    ASSERT_TRUE(Exists(shortcut));
    EXPECT_EQ(ShowCommandInFile(shortcut), 7);  // the only reliable place to see it

    TQSShellLink reader{*links, *registry};
    reader.SetFileName(shortcut);
    reader.ReadLink();
    EXPECT_EQ(reader.Target(), program);
    EXPECT_EQ(reader.Arguments(), "-a");
    EXPECT_EQ(reader.Description(), "Kelvaro");
    EXPECT_EQ(reader.FileIcon().FileName, program);
    EXPECT_EQ(reader.FileIcon().IconIndex, 0);
    EXPECT_EQ(reader.WorkingDir(), "");

    ticked = ToggleRunAtStartup(ticked, link, *files, program);
    EXPECT_FALSE(ticked);
    EXPECT_FALSE(Exists(shortcut));
    EXPECT_TRUE(Exists(temp.Path() + "\\other.lnk"));
    EXPECT_FALSE(ToggleRunAtStartup(true, link, *files, program));  // already gone: no report

    EXPECT_TRUE(ToggleRunAtStartup(false, link, *files, program));
    EXPECT_TRUE(Exists(shortcut));
    EXPECT_EQ(ShowCommandInFile(shortcut), 7);
}

using RunAtStartupMenu = MainWindowTest;

// Through the real window's menu: a shortcut that cannot be written, or has no Startup folder to go to,
// is reported and leaves the item unticked; one that is written ticks it.
TEST_F(RunAtStartupMenu, TheTickFollowsOnlyAWrittenShortcut) {
    TempFolder temp;
    TForm1& window = Open();
    const std::string rootLink = RootOfCurrentDrive() + "Kelvaro.lnk";
    const bool rootLinkBefore = Exists(rootLink);
    {
        StartupFolderValue startup(temp.Path() + "\\not there");
        Command(cmd::RunduringWin95Boot1);
        EXPECT_FALSE(window.Menu().Checked(cmd::RunduringWin95Boot1));
    }
    {
        StartupFolderValue startup(std::nullopt);
        Command(cmd::RunduringWin95Boot1);
        EXPECT_FALSE(window.Menu().Checked(cmd::RunduringWin95Boot1));
        EXPECT_EQ(Exists(rootLink), rootLinkBefore);
        if (!rootLinkBefore) DeleteFileA(rootLink.c_str());  // should a broken build have made it
    }
    EXPECT_EQ(boxes, (std::vector<std::string>{kLinkWriteFailed, std::string(kNoStartupFolder) + "."}));

    StartupFolderValue startup(temp.Path());
    Command(cmd::RunduringWin95Boot1);
    EXPECT_TRUE(window.Menu().Checked(cmd::RunduringWin95Boot1));
    EXPECT_TRUE(Exists(temp.Path() + "\\Kelvaro.lnk"));
    // Only a shortcut written says what every logon will now do.
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[2], kRunAtStartupNotice);
}

}  // namespace
}  // namespace kelvaro::testing
