// The shortcut component and the broken-shortcut test over the shell's real link object and registry.
#include "shell/shell_link_win.h"

#include <windows.h>
#include <gtest/gtest.h>
#include <shlobj.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>

#include "platform/registry.h"
#include "run/broken_shortcut.h"
#include "shell/shell_link.h"
#include "windows/test_tree.h"

namespace kelvaro::testing {
namespace {

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

template <class T>
T At(const std::string& bytes, std::size_t offset) {
    T value{};
    if (offset + sizeof value <= bytes.size()) std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

std::wstring FromUtf8(const std::string& text) {
    std::wstring wide(text.size() + 1, L'\0');
    const int size = static_cast<int>(wide.size());
    wide.resize(MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, wide.data(), size) - 1);
    return wide;
}

std::u16string Utf16(const std::string& utf8) {
    const std::wstring wide = FromUtf8(utf8);
    return {wide.begin(), wide.end()};
}

class QuietProgress : public ShortcutTestProgress {
public:
    std::string status;
    std::string StatusLine() override { return status; }
    void SetStatusLine(const std::string& text) override { status = text; }
    void SetPathLabel(const std::string&) override {}
    void Repaint() override {}
};

struct ShellLinkWin : ::testing::Test {
    std::unique_ptr<ShellLinkObject> links = MakePlatformShellLinkObject();
    std::unique_ptr<Registry> registry = MakePlatformRegistry();
    TQSShellLink link{*links, *registry};
    TempFolder temp;

    std::string In(const std::string& name) const { return temp.Path() + "\\" + name; }
    std::string WriteShortcut(const std::string& name, const std::string& target) {
        TQSShellLink writer{*links, *registry};
        writer.SetFileName(In(name));
        writer.SetTarget(target);
        writer.WriteLink();
        return writer.FileName();
    }
    std::string ReadError(const std::string& path) {
        try {
            link.LoadFromFile(path);
        } catch (const EQSShellLink& error) {
            return error.Message();
        }
        return "read";
    }
};

TEST_F(ShellLinkWin, WritesAndReadsBackEveryProperty) {
    temp.File("Tool.exe", "MZ");
    link.SetFileName(In("Round"));
    link.SetTarget(In("Tool.exe"));
    link.SetArguments("-a");
    link.SetDescription("Kelvaro \xE9t\xE9");
    link.SetWorkingDir(temp.Path());
    link.SetHotKey(VK_F5 | scCtrl | scAlt);
    link.SetWindowState(wsMinimized);
    link.SetFileIcon(TFileIcon{In("Tool.exe"), 2});
    link.WriteLink();
    ASSERT_EQ(link.FileName(), In("Round.lnk"));

    const std::string bytes = ReadBytes(link.FileName());
    EXPECT_EQ(At<std::uint32_t>(bytes, 0), 0x4Cu);
    EXPECT_EQ(At<std::int32_t>(bytes, 0x3C), 7);  // minimised without focus, not SW_SHOWMINIMIZED
    EXPECT_EQ(At<std::uint16_t>(bytes, 0x40), 0x0674);

    TQSShellLink reader{*links, *registry};
    reader.SetFileName(link.FileName());
    reader.ReadLink();
    EXPECT_EQ(reader.Target(), In("Tool.exe"));
    EXPECT_EQ(reader.Arguments(), "-a");
    EXPECT_EQ(reader.Description(), "Kelvaro \xE9t\xE9");
    EXPECT_EQ(reader.WorkingDir(), temp.Path());
    EXPECT_EQ(reader.HotKey(), VK_F5 | scCtrl | scAlt);
    EXPECT_EQ(reader.FileIcon().FileName, In("Tool.exe"));
    EXPECT_EQ(reader.FileIcon().IconIndex, 2);
}

TEST_F(ShellLinkWin, UnreadableFilesRaiseAndChangeNothing) {
    const std::string good = ReadBytes(WriteShortcut("Good", "C:\\windows\\notepad.exe"));
    ASSERT_GT(good.size(), 0x60u);
    WriteBytes(In("text.lnk"),
               "not a shortcut at all, just some text that is long enough to be a header....");
    WriteBytes(In("empty.lnk"), "");
    WriteBytes(In("header.lnk"), good.substr(0, 0x30));
    WriteBytes(In("strings.lnk"), good.substr(0, good.size() - 12));
    link.SetTarget("kept");
    for (const char* name : {"text.lnk", "empty.lnk", "header.lnk", "strings.lnk", "none.lnk"})
        EXPECT_EQ(ReadError(In(name)), kLinkReadFailed) << name;
    EXPECT_EQ(ReadError(In(std::string(260, 'x') + ".lnk")), kLinkReadFailed);
    EXPECT_EQ(link.Target(), "kept");

    link.SetFileName(In("none.lnk"));
    try {
        link.ReadLink();
        ADD_FAILURE();
    } catch (const EQSShellLink& error) {
        EXPECT_EQ(error.Message(), kLinkNotFound);
    }
    EXPECT_EQ(ReadError(In("Good.lnk")), "read");
    EXPECT_EQ(link.Target(), "C:\\windows\\notepad.exe");
}

TEST_F(ShellLinkWin, WriteFailureRaises) {
    link.SetTarget("C:\\windows\\notepad.exe");
    try {
        link.SaveToFile(In("no such folder\\x.lnk"));
        ADD_FAILURE();
    } catch (const EQSShellLink& error) {
        EXPECT_EQ(error.Message(), kLinkWriteFailed);
    }
}

// Puts a test value under the shell's folder key and gives back what was there.
class ShellFolderValue {
public:
    ShellFolderValue(const char* name, const std::string& path) : name_(name) {
        RegCreateKeyExA(HKEY_CURRENT_USER, kShellFoldersKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_,
                        nullptr);
        DWORD size = sizeof old_;
        had_ = RegQueryValueExA(key_, name, nullptr, &type_, reinterpret_cast<BYTE*>(old_), &size) ==
               ERROR_SUCCESS;
        oldSize_ = size;
        RegSetValueExA(key_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                       static_cast<DWORD>(path.size() + 1));
    }
    ~ShellFolderValue() {
        if (had_)
            RegSetValueExA(key_, name_, 0, type_, reinterpret_cast<const BYTE*>(old_), oldSize_);
        else
            RegDeleteValueA(key_, name_);
        RegCloseKey(key_);
    }

private:
    const char* name_;
    HKEY key_ = nullptr;
    bool had_ = false;
    DWORD type_ = REG_SZ, oldSize_ = 0;
    char old_[1024] = {};
};

TEST_F(ShellLinkWin, ShellFolderPathComesFromTheRegistry) {
    {
        ShellFolderValue startup("Startup", temp.Path());
        link.SetShellFolder(sfStartup);
        link.SetFileName("C:\\WINDOWS\\Start Menu\\Programs\\StartUp\\Kelvaro.lnk");
        EXPECT_EQ(link.FileName(), In("Kelvaro.lnk"));
        link.SetTarget("C:\\windows\\notepad.exe");
        link.WriteLink();
        EXPECT_NE(GetFileAttributesA(In("Kelvaro.lnk").c_str()), INVALID_FILE_ATTRIBUTES);
    }
    {
        ShellFolderValue startup("Startup", "C:\\Elsewhere");
        link.SetFileName("Again");
        EXPECT_EQ(link.FileName(), "C:\\Elsewhere\\Again.lnk");  // read anew, not remembered
    }
}

TEST_F(ShellLinkWin, RealBrokenShortcutIsListedWorkingOnesAreNot) {
    temp.File("target.exe", "MZ");
    temp.File("folder\\inside.txt", "x");
    const std::string toFile = WriteShortcut("ToFile", In("target.exe"));
    const std::string toFolder = WriteShortcut("ToFolder", In("folder"));
    std::unique_ptr<TargetProbe> probe = MakePlatformTargetProbe();
    std::unique_ptr<DriveTypes> drives = MakePlatformDriveTypes();
    QuietProgress progress;
    EXPECT_TRUE(ShortcutIsValid(toFile, "", link, *probe, *drives, progress));
    EXPECT_TRUE(ShortcutIsValid(toFolder, "", link, *probe, *drives, progress));
    EXPECT_EQ(progress.status, kTestingShortcutsText);

    ASSERT_TRUE(DeleteFileA(In("target.exe").c_str()));
    EXPECT_FALSE(ShortcutIsValid(toFile, "", link, *probe, *drives, progress));
    EXPECT_FALSE(ShortcutIsValid(toFile, "Yes", link, *probe, *drives, progress));
    EXPECT_FALSE(probe->IsExistingFile(Utf16(In("folder"))));
    EXPECT_FALSE(probe->IsExistingDirectory(Utf16(In("folder\\inside.txt"))));

    WriteBytes(In("fake.lnk"), "plain text");
    EXPECT_THROW(ShortcutIsValid(In("fake.lnk"), "", link, *probe, *drives, progress), EQSShellLink);
}

// Made by the shell's own link object through its wide interface, the only one that can name such targets.
void WriteWideShortcut(const std::string& utf8Link, const std::string& utf8Target) {
    ComPtr<IShellLinkW> link;
    ComPtr<IPersistFile> file;
    ASSERT_TRUE(SUCCEEDED(
        CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.Out())));
    ASSERT_TRUE(SUCCEEDED(link->QueryInterface(IID_IPersistFile, file.Out())));
    link->SetPath(FromUtf8(utf8Target).c_str());
    ASSERT_TRUE(SUCCEEDED(file->Save(FromUtf8(utf8Link).c_str(), TRUE)));
}

// The code page holds the Japanese folder name as "??" and "\xCE\xA9mega" (capital omega) as the
// look-alike "Omega": neither code-page form names the target, yet the shortcuts work.
TEST_F(ShellLinkWin, TargetsTheCodePageCannotHoldAreJudgedByTheirExactName) {
    const std::string japanese = "\xE6\x97\xA5\xE6\x9C\xAC", omega = "\xCE\xA9mega";
    temp.File(japanese + "\\doc.txt", "x");
    temp.File(omega + "\\inside.txt", "x");
    EnsureComOnThisThread();
    WriteWideShortcut(In("japanese.lnk"), In(japanese + "\\doc.txt"));
    WriteWideShortcut(In("omega.lnk"), In(omega));
    std::unique_ptr<TargetProbe> probe = MakePlatformTargetProbe();
    std::unique_ptr<DriveTypes> drives = MakePlatformDriveTypes();
    QuietProgress progress;
    EXPECT_TRUE(ShortcutIsValid(In("japanese.lnk"), "Yes", link, *probe, *drives, progress));
    EXPECT_TRUE(ShortcutIsValid(In("omega.lnk"), "Yes", link, *probe, *drives, progress));
    EXPECT_EQ(link.Target(), In("Omega"));  // what the code-page interface makes of it

    // Gone under their exact names, they are broken, whatever the code-page forms name now.
    const std::wstring folder = FromUtf8(temp.Path() + "\\");
    ASSERT_TRUE(DeleteFileW((folder + FromUtf8(japanese + "\\doc.txt")).c_str()));
    ASSERT_TRUE(DeleteFileW((folder + FromUtf8(omega + "\\inside.txt")).c_str()));
    ASSERT_TRUE(RemoveDirectoryW((folder + FromUtf8(omega)).c_str()));
    temp.File("Omega", "another file");
    EXPECT_FALSE(ShortcutIsValid(In("japanese.lnk"), "Yes", link, *probe, *drives, progress));
    EXPECT_FALSE(ShortcutIsValid(In("omega.lnk"), "Yes", link, *probe, *drives, progress));
}

}  // namespace
}  // namespace kelvaro::testing
