// The shortcut component's path rules, property mappings and file operations over stand-ins.
#include "shell/shell_link.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace kelvaro::testing {
namespace {

class FakeKey : public RegistryKey {
public:
    explicit FakeKey(std::map<std::string, RegistryValue>& values) : values_(values) {}
    std::unique_ptr<RegistryKey> OpenKey(const std::string&, bool) override { return nullptr; }
    RegistryValue ReadValue(const std::string& name) override {
        auto found = values_.find(name);
        return found == values_.end() ? RegistryValue{} : found->second;
    }
    bool WriteString(const std::string&, const std::string&) override { return false; }

private:
    std::map<std::string, RegistryValue>& values_;
};

class FakeRegistry : public Registry {
public:
    bool keyExists = true;
    std::vector<std::string> opened;
    std::map<std::string, RegistryValue> values;
    void Set(const std::string& name, const std::string& data) {
        values[name] = {RegistryValueType::String, data};
    }
    std::unique_ptr<RegistryKey> OpenKey(const std::string& path, bool create) override {
        opened.push_back(path + (create ? " (create)" : " (full access)"));
        return keyExists ? std::make_unique<FakeKey>(values) : nullptr;
    }
    std::unique_ptr<RegistryKey> OpenKeyForReading(const std::string& path) override {
        opened.push_back(path);
        return keyExists ? std::make_unique<FakeKey>(values) : nullptr;
    }
};

class FakeLinks : public ShellLinkObject {
public:
    std::map<std::string, ShellLinkFields> files;
    ShellLinkResult failWith = ShellLinkResult::Ok;
    int loads = 0;
    bool FileExists(const std::string& path) override { return files.count(path) != 0; }
    ShellLinkResult Save(const std::string& path, const ShellLinkFields& fields) override {
        if (failWith != ShellLinkResult::Ok) return failWith;
        files[path] = fields;
        return ShellLinkResult::Ok;
    }
    ShellLinkResult Load(const std::string& path, ShellLinkFields& fields) override {
        ++loads;
        if (failWith != ShellLinkResult::Ok) return failWith;
        auto found = files.find(path);
        if (found == files.end()) return ShellLinkResult::ReadFailed;
        fields = found->second;
        return ShellLinkResult::Ok;
    }
};

struct ShellLinkFixture : ::testing::Test {
    FakeRegistry registry;
    FakeLinks links;
    TQSShellLink link{links, registry};
};

using ShellLinkPaths = ShellLinkFixture;

TEST(ShellFolderTable, NamesEveryFolderAndNothingOutside) {
    const std::vector<std::string> expected = {"",           "Desktop",  "Favorites", "Fonts",
                                               "Personal",   "Programs", "Recent",    "SendTo",
                                               "Start Menu", "Startup",  "Templates"};
    for (int folder = 0; folder < 11; ++folder)
        EXPECT_EQ(ShellFolderValueName(static_cast<TShellFolder>(folder)), expected[folder]) << folder;
    EXPECT_EQ(ShellFolderValueName(static_cast<TShellFolder>(11)), "");
    EXPECT_EQ(ShellFolderValueName(static_cast<TShellFolder>(255)), "");
}

TEST_F(ShellLinkPaths, FileNameRulesWithoutFolder) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"C:\\Apps\\Editor", "C:\\Apps\\Editor.lnk"},
        {"C:\\Apps\\Editor.LnK", "C:\\Apps\\Editor.LnK"},
        {"C:\\Apps\\Editor.txt", "C:\\Apps\\Editor.txt.lnk"},
        {"C:\\Apps\\Editor.lnk.bak", "C:\\Apps\\Editor.lnk.bak.lnk"},
        {"C:\\My.Apps\\Editor", "C:\\My.Apps\\Editor.lnk"},  // a dot in a folder is no extension
        {"C:Editor", "C:Editor.lnk"},
        {"C:.lnk", ""},
        {"C:\\Apps\\", ""},
        {"C:\\Apps\\.LNK", ""},
        {"C:\\Apps\\.lnk.lnk", "C:\\Apps\\.lnk.lnk"},
        {"Editor", "Editor.lnk"},
        {"", ""},
    };
    for (const auto& [given, expected] : cases) {
        link.SetFileName("reset");
        link.SetFileName(given);
        EXPECT_EQ(link.FileName(), expected) << given;
    }
}

TEST_F(ShellLinkPaths, FileNameMovesIntoTheFolderReadAnewEachTime) {
    registry.Set("Startup", std::string("D:\\Menu\\Startup\0junk", 21));  // a stored terminator ends the text
    link.SetShellFolder(sfStartup);
    link.SetFileName("C:\\WINDOWS\\Start Menu\\Programs\\StartUp\\Kelvaro.lnk");
    EXPECT_EQ(link.FileName(), "D:\\Menu\\Startup\\Kelvaro.lnk");
    registry.Set("Startup", "E:\\Boot");
    link.SetFileName("X:Tool");
    EXPECT_EQ(link.FileName(), "E:\\Boot\\Tool.lnk");
    EXPECT_EQ(registry.opened.back(), kShellFoldersKey);  // opened for reading, never created

    registry.values.erase("Startup");
    link.SetFileName("C:\\Kelvaro");
    EXPECT_EQ(link.FileName(), "\\Kelvaro.lnk");
    registry.values["Startup"] = {RegistryValueType::Other, {}};
    link.SetFileName("C:\\Other");
    EXPECT_EQ(link.FileName(), "\\Other.lnk");
    registry.Set("Startup", "E:\\Boot");
    registry.keyExists = false;
    link.SetFileName("C:\\Third");
    EXPECT_EQ(link.FileName(), "\\Third.lnk");
}

TEST_F(ShellLinkPaths, SameFileNameDoesNothingOtherCaseReapplies) {
    registry.Set("Desktop", "C:\\Desk");
    link.SetFileName("C:\\a\\Tool.lnk");
    link.SetShellFolder(sfNone);  // no change: nothing moves
    EXPECT_EQ(link.FileName(), "C:\\a\\Tool.lnk");
    link.SetShellFolder(sfDesktop);
    EXPECT_EQ(link.FileName(), "C:\\Desk\\Tool.lnk");
    registry.Set("Desktop", "C:\\Elsewhere");
    link.SetFileName("C:\\Desk\\Tool.lnk");
    EXPECT_EQ(link.FileName(), "C:\\Desk\\Tool.lnk");
    link.SetFileName("C:\\DESK\\Tool.lnk");
    EXPECT_EQ(link.FileName(), "C:\\Elsewhere\\Tool.lnk");
}

TEST_F(ShellLinkPaths, ShellFolderSetterMovesWithoutRulesAndNeverBack) {
    registry.Set("Startup", "S:");
    registry.Set("SendTo", "T:\\To");
    link.SetShellFolder(sfStartup);  // empty name: no ".lnk" added, not emptied
    EXPECT_EQ(link.FileName(), "S:\\");
    link.SetShellFolder(sfNone);
    link.SetFileName("C:\\x\\Tool");
    EXPECT_EQ(link.FileName(), "C:\\x\\Tool.lnk");
    link.SetShellFolder(sfSendTo);
    EXPECT_EQ(link.FileName(), "T:\\To\\Tool.lnk");
    link.SetShellFolder(sfNone);
    EXPECT_EQ(link.FileName(), "T:\\To\\Tool.lnk");
    EXPECT_EQ(link.ShellFolder(), sfNone);
    registry.Set("SendTo", "U:");
    link.SetShellFolder(sfSendTo);
    link.SetShellFolder(sfSendTo);  // same folder: not read again
    EXPECT_EQ(link.FileName(), "U:\\Tool.lnk");
}

TEST(ShellLinkMappings, WindowStateBothWays) {
    EXPECT_EQ(ShowCmdFromWindowState(wsNormal), 1);
    EXPECT_EQ(ShowCmdFromWindowState(wsMinimized), 7);
    EXPECT_EQ(ShowCmdFromWindowState(wsMaximized), 3);
    const std::vector<std::pair<int, TWindowState>> read = {{0, wsNormal},    {1, wsNormal}, {2, wsMinimized},
                                                            {3, wsMaximized}, {4, wsNormal}, {6, wsMinimized},
                                                            {7, wsMinimized}, {9, wsNormal}, {-1, wsNormal}};
    for (const auto& [showCmd, state] : read) EXPECT_EQ(WindowStateFromShowCmd(showCmd), state) << showCmd;
}

TEST(ShellLinkMappings, HotKeyBothWays) {
    struct Case {
        TShortCut shortCut;
        std::uint16_t word;
    };
    const std::vector<Case> cases = {
        {0, 0},
        {0x74 | scCtrl | scAlt, 0x0674},  // Ctrl+Alt+F5
        {'K' | scShift, 0x014B},
        {'K' | scCtrl, 0x024B},
        {'K' | scAlt, 0x044B},
        {0xFF | scShift | scCtrl | scAlt, 0x07FF},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(HotKeyWordFromShortCut(c.shortCut), c.word) << c.shortCut;
        EXPECT_EQ(ShortCutFromHotKeyWord(c.word), c.shortCut) << c.word;
    }
    // Bits the framework's code has besides key and modifiers, and other shell flags, are dropped.
    EXPECT_EQ(HotKeyWordFromShortCut(0x1000 | 'K'), 0x004B);
    EXPECT_EQ(ShortCutFromHotKeyWord(0x0A4B), 'K' | scCtrl);
}

TEST_F(ShellLinkFixture, NewComponentIsEmpty) {
    EXPECT_EQ(link.FileName(), "");
    EXPECT_EQ(link.ShellFolder(), sfNone);
    EXPECT_EQ(link.ShowCmd(), 0);
    EXPECT_EQ(link.HotKeyWord(), 0);
    EXPECT_EQ(link.FileIcon().IconIndex, 0);
    EXPECT_TRUE(registry.opened.empty());
}

TEST_F(ShellLinkFixture, SaveLoadAndReset) {
    link.SetDescription("Desc");
    link.SetTarget("C:\\K.exe");
    link.SetWorkingDir("C:\\");
    link.SetArguments("-a");
    link.SetWindowState(wsMinimized);
    link.SetHotKey('K' | scCtrl);
    link.SetFileIcon(TFileIcon{"C:\\icons.dll", 3});
    link.SaveToFile("C:\\one.lnk");
    const ShellLinkFields& saved = links.files.at("C:\\one.lnk");
    EXPECT_EQ(saved.Description + "|" + saved.Target + "|" + saved.WorkingDir + "|" + saved.Arguments + "|" +
                  saved.IconFile,
              "Desc|C:\\K.exe|C:\\|-a|C:\\icons.dll");
    EXPECT_EQ(saved.ShowCmd, 7);
    EXPECT_EQ(saved.HotKey, 0x024B);
    EXPECT_EQ(saved.IconIndex, 3);

    link.SetFileName("C:\\keep");
    link.ResetForWrite();
    EXPECT_EQ(
        link.Description() + link.Target() + link.WorkingDir() + link.Arguments() + link.FileIcon().FileName,
        "");
    EXPECT_EQ(link.ShowCmd() + link.HotKeyWord() + link.FileIcon().IconIndex, 0);
    EXPECT_EQ(link.FileName(), "C:\\keep.lnk");

    link.LoadFromFile("C:\\one.lnk");
    EXPECT_EQ(link.Target(), "C:\\K.exe");
    EXPECT_EQ(link.WorkingDir(), "C:\\");
    EXPECT_EQ(link.WindowState(), wsMinimized);
    EXPECT_EQ(link.HotKey(), 'K' | scCtrl);
    EXPECT_EQ(link.FileIcon().FileName, "C:\\icons.dll");
    EXPECT_EQ(link.FileIcon().IconIndex, 3);
    EXPECT_EQ(link.FileName(), "C:\\keep.lnk");

    EXPECT_THROW(link.LoadFromFile("C:\\missing.lnk"), EQSShellLink);
    EXPECT_EQ(link.Target(), "C:\\K.exe");  // a failed read changes nothing
}

TEST_F(ShellLinkFixture, FailuresRaiseTheirMessages) {
    const std::vector<std::pair<ShellLinkResult, std::string>> cases = {
        {ShellLinkResult::CreateFailed,
         "\x22"
         "CoCreateInstance\x22 a \xE9"
         "chou\xE9."},
        {ShellLinkResult::NoPersistFile,
         "\x22"
         "PersistFile QueryInterface\x22 a \xE9"
         "chou\xE9."},
        {ShellLinkResult::WriteFailed,
         "Erreur en \xE9"
         "criture."},
        {ShellLinkResult::ReadFailed, "Erreur en lecture."},
    };
    for (const auto& [result, message] : cases) {
        links.failWith = result;
        for (bool save : {true, false}) {
            try {
                save ? link.SaveToFile("C:\\a.lnk") : link.LoadFromFile("C:\\a.lnk");
                ADD_FAILURE() << message;
            } catch (const EQSShellLink& error) {
                EXPECT_EQ(error.Message(), message) << save;
            }
        }
    }
}

TEST_F(ShellLinkFixture, ReadLinkNeedsTheFileWriteLinkMakesIt) {
    link.SetFileName("C:\\gone.lnk");
    try {
        link.ReadLink();
        ADD_FAILURE();
    } catch (const EQSShellLink& error) {
        EXPECT_EQ(error.Message(), "Lien non trouv\xE9.");
    }
    EXPECT_EQ(links.loads, 0);
    link.SetTarget("C:\\t.exe");
    link.WriteLink();
    link.WriteLink();  // over an existing file as well
    link.SetTarget("");
    link.ReadLink();
    EXPECT_EQ(link.Target(), "C:\\t.exe");
}

}  // namespace
}  // namespace kelvaro::testing
