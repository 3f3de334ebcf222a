// The start-up option over a stand-in shell link object, registry and file deletion.
#include "shell/run_at_startup.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace kelvaro::testing {
namespace {

constexpr const char* kProgram = "C:\\Tools\\Kelvaro.exe";

class FoldersKey : public RegistryKey {
public:
    explicit FoldersKey(std::map<std::string, std::string>& values) : values_(values) {}
    std::unique_ptr<RegistryKey> OpenKey(const std::string&, bool) override { return nullptr; }
    RegistryValue ReadValue(const std::string& name) override {
        auto found = values_.find(name);
        if (found == values_.end()) return {};
        return {RegistryValueType::String, found->second + '\0'};
    }
    bool WriteString(const std::string&, const std::string&) override { return false; }

private:
    std::map<std::string, std::string>& values_;
};

class FoldersRegistry : public Registry {
public:
    std::map<std::string, std::string> values{{"Startup", "C:\\Users\\me\\Startup"},
                                              {"Desktop", "C:\\Users\\me\\Desktop"}};
    std::unique_ptr<RegistryKey> OpenKey(const std::string&, bool) override { return nullptr; }
    std::unique_ptr<RegistryKey> OpenKeyForReading(const std::string& path) override {
        return path == kShellFoldersKey ? std::make_unique<FoldersKey>(values) : nullptr;
    }
};

class StoredLinks : public ShellLinkObject {
public:
    std::map<std::string, ShellLinkFields> files;
    std::vector<std::string> saves;
    bool failSave = false;
    bool FileExists(const std::string& path) override { return files.count(path) != 0; }
    ShellLinkResult Save(const std::string& path, const ShellLinkFields& fields) override {
        saves.push_back(path);
        if (failSave) return ShellLinkResult::WriteFailed;
        files[path] = fields;
        return ShellLinkResult::Ok;
    }
    ShellLinkResult Load(const std::string& path, ShellLinkFields& fields) override {
        auto found = files.find(path);
        if (found == files.end()) return ShellLinkResult::ReadFailed;
        fields = found->second;
        return ShellLinkResult::Ok;
    }
};

class RecordingDeleter : public FileDeleter {
public:
    StoredLinks& links;
    std::vector<std::string> deleted;
    explicit RecordingDeleter(StoredLinks& stored) : links(stored) {}
    bool RemoveFile(const std::string& path) override {
        deleted.push_back(path);
        return links.files.erase(path) != 0;
    }
};

struct RunAtStartup : ::testing::Test {
    FoldersRegistry registry;
    StoredLinks links;
    RecordingDeleter files{links};
    TQSShellLink link{links, registry};
    const std::string startupLink = "C:\\Users\\me\\Startup\\Kelvaro.lnk";

    bool Toggle(bool ticked) { return ToggleRunAtStartup(ticked, link, files, kProgram); }
    // As the broken-shortcut test leaves the shared component: a foreign shortcut read into it.
    void ReadForeignShortcut(TShellFolder folder) {
        ShellLinkFields foreign{"Other", "D:\\app.exe", "D:\\work", "--x", 3, 0x0674, "D:\\icons.dll", 5};
        links.files["D:\\found\\other.lnk"] = foreign;
        link.SetShellFolder(sfNone);
        link.SetFileName("D:\\found\\other.lnk");
        link.ReadLink();
        link.SetShellFolder(folder);
    }
};

TEST_F(RunAtStartup, SwitchingOnWritesOnlyTheStartupShortcutWhateverTheComponentHeld) {
    // A fresh component, one left tied to no folder by the shortcut test, one tied to another folder.
    for (TShellFolder before : {sfStartup, sfNone, sfDesktop}) {
        SCOPED_TRACE(before);
        links.files.clear();
        if (before != sfStartup) ReadForeignShortcut(before);
        EXPECT_TRUE(Toggle(false));
        EXPECT_EQ(link.FileName(), startupLink);
        EXPECT_EQ(link.ShellFolder(), sfStartup);
        ASSERT_EQ(links.files.count(startupLink), 1u);
        const ShellLinkFields& written = links.files[startupLink];
        EXPECT_EQ(written.Description, "Kelvaro");
        EXPECT_EQ(written.Target, kProgram);
        EXPECT_EQ(written.Arguments, "-a");
        EXPECT_EQ(written.ShowCmd, 7);
        EXPECT_EQ(written.IconFile, kProgram);
        EXPECT_EQ(written.IconIndex, 0);
        EXPECT_EQ(written.WorkingDir, "");
        EXPECT_EQ(written.HotKey, 0);
        EXPECT_EQ(links.files.count("D:\\found\\other.lnk"), before == sfStartup ? 0u : 1u);
    }
}

TEST_F(RunAtStartup, StartupFolderIsReadAtEachToggle) {
    EXPECT_TRUE(Toggle(false));
    registry.values["Startup"] = "E:\\Moved";
    EXPECT_FALSE(Toggle(true));
    EXPECT_EQ(files.deleted, std::vector<std::string>{"E:\\Moved\\Kelvaro.lnk"});
    EXPECT_TRUE(Toggle(false));
    EXPECT_EQ(links.saves.back(), "E:\\Moved\\Kelvaro.lnk");
}

// A shortcut in the root of the current drive would never run: switching on is refused before anything
// changes, and switching off deletes nothing, since no start-up shortcut can exist.
TEST_F(RunAtStartup, WithoutAStartupFolderNothingIsWrittenOrDeleted) {
    link.SetTarget("D:\\kept.exe");
    for (const char* stored : {"<none>", ""}) {
        SCOPED_TRACE(stored);
        if (std::string(stored) == "<none>")
            registry.values.erase("Startup");
        else
            registry.values["Startup"] = stored;
        try {
            Toggle(false);
            ADD_FAILURE() << "switched on";
        } catch (const EStartupFolderMissing& error) {
            EXPECT_EQ(error.Message(), kNoStartupFolder);
        }
        EXPECT_FALSE(Toggle(true));
    }
    EXPECT_TRUE(links.saves.empty());
    EXPECT_TRUE(files.deleted.empty());
    EXPECT_EQ(link.Target(), "D:\\kept.exe");
}

TEST_F(RunAtStartup, FailedWriteRaisesTheComponentsMessage) {
    links.failSave = true;
    try {
        Toggle(false);
        ADD_FAILURE() << "no exception";
    } catch (const EQSShellLink& error) {
        EXPECT_EQ(error.Message(), kLinkWriteFailed);
    }
    EXPECT_EQ(links.saves, std::vector<std::string>{startupLink});
    // What was assigned before the write stays in the component.
    EXPECT_EQ(link.Arguments(), "-a");
    EXPECT_EQ(link.Target(), kProgram);
}

TEST_F(RunAtStartup, SwitchingOffDeletesTheStartupShortcutOnlyAndNeverFails) {
    ReadForeignShortcut(sfNone);
    EXPECT_FALSE(Toggle(true));  // nothing there: no report
    EXPECT_EQ(files.deleted, std::vector<std::string>{startupLink});
    EXPECT_EQ(links.files.count("D:\\found\\other.lnk"), 1u);
    EXPECT_TRUE(links.saves.empty());
    EXPECT_EQ(link.Target(), "D:\\app.exe");  // nothing else changes
}

TEST_F(RunAtStartup, OnOffOnWritesDeletesAndWritesAgain) {
    bool ticked = false;
    ticked = Toggle(ticked);
    EXPECT_TRUE(ticked);
    EXPECT_EQ(links.files.count(startupLink), 1u);
    ticked = Toggle(ticked);
    EXPECT_FALSE(ticked);
    EXPECT_EQ(links.files.count(startupLink), 0u);
    ticked = Toggle(ticked);
    EXPECT_TRUE(ticked);
    EXPECT_EQ(links.files.count(startupLink), 1u);
    EXPECT_EQ(links.saves.size(), 2u);
    EXPECT_EQ(files.deleted.size(), 1u);
}

}  // namespace
}  // namespace kelvaro::testing
