#include "shell/shell_link_win.h"

#include <shlobj.h>

#include "shell/shell_link.h"

namespace kelvaro {
namespace {

class ComThread {
public:
    ComThread() : result_(CoInitialize(nullptr)) {}
    // A thread already in another apartment (RPC_E_CHANGED_MODE) can still use the link object, but
    // was not joined here and is not left here.
    ~ComThread() {
        if (SUCCEEDED(result_)) CoUninitialize();
    }
    ComThread(const ComThread&) = delete;
    ComThread& operator=(const ComThread&) = delete;

private:
    HRESULT result_;
};

// The shell takes the path as wide characters in a MAX_PATH buffer; a longer path cannot be named.
bool ToWide(const std::string& path, wchar_t (&wide)[MAX_PATH]) {
    return MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH) != 0;
}

// Reads one text through a getter that fills a MAX_PATH buffer; its result is not examined, so a
// failed call leaves the text empty.
template <class Getter>
std::string ReadText(Getter getter) {
    char buffer[MAX_PATH] = {};
    getter(buffer);
    buffer[MAX_PATH - 1] = '\0';
    return buffer;
}

std::u16string FromWide(const wchar_t* text) {
    static_assert(sizeof(wchar_t) == sizeof(char16_t));
    return reinterpret_cast<const char16_t*>(text);
}

// The "A" getter gives the target in the code page, where a name the code page cannot hold comes back as
// "??" or as a look-alike letter that names another file. The shortcut's item list keeps the names as
// they are; Wine's wide getter does not help there, as it gives the code-page text again once the file
// has been loaded. A shortcut without a list that names a file-system path is left to the wide getter.
std::u16string ReadExactTarget(IShellLinkA& link) {
    PIDLIST_ABSOLUTE items = nullptr;
    if (link.GetIDList(&items) == S_OK && items) {
        wchar_t path[MAX_PATH] = {};
        // An empty list is the desktop itself, which no shortcut to a file names.
        const bool named = items->mkid.cb != 0 && SHGetPathFromIDListW(items, path);
        CoTaskMemFree(items);
        if (named) return FromWide(path);
    }
    ComPtr<IShellLinkW> wide;
    if (FAILED(link.QueryInterface(IID_IShellLinkW, wide.Out()))) return {};
    wchar_t path[MAX_PATH] = {};
    WIN32_FIND_DATAW found;
    if (FAILED(wide->GetPath(path, MAX_PATH, &found, SLGP_UNCPRIORITY))) return {};
    path[MAX_PATH - 1] = L'\0';
    return FromWide(path);
}

class Win32ShellLinkObject : public ShellLinkObject {
public:
    bool FileExists(const std::string& path) override {
        DWORD attributes = GetFileAttributesA(path.c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
    }

    ShellLinkResult Save(const std::string& path, const ShellLinkFields& fields) override {
        EnsureComOnThisThread();
        // Declared in this order so that the file interface is released before the link object.
        ComPtr<IShellLinkA> link;
        ComPtr<IPersistFile> file;
        if (ShellLinkResult result = Open(link, file); result != ShellLinkResult::Ok) return result;
        link->SetDescription(fields.Description.c_str());
        link->SetPath(fields.Target.c_str());
        link->SetWorkingDirectory(fields.WorkingDir.c_str());
        link->SetArguments(fields.Arguments.c_str());
        link->SetShowCmd(fields.ShowCmd);
        link->SetHotkey(fields.HotKey);
        link->SetIconLocation(fields.IconFile.c_str(), fields.IconIndex);
        wchar_t wide[MAX_PATH];
        if (!ToWide(path, wide) || FAILED(file->Save(wide, TRUE))) return ShellLinkResult::WriteFailed;
        return ShellLinkResult::Ok;
    }

    ShellLinkResult Load(const std::string& path, ShellLinkFields& fields) override {
        EnsureComOnThisThread();
        ComPtr<IShellLinkA> link;
        ComPtr<IPersistFile> file;
        if (ShellLinkResult result = Open(link, file); result != ShellLinkResult::Ok) return result;
        wchar_t wide[MAX_PATH];
        // A failed load may leave part of the file in the object: nothing is read from it then.
        if (!ToWide(path, wide) || FAILED(file->Load(wide, STGM_READ))) return ShellLinkResult::ReadFailed;
        ShellLinkFields read;
        read.Description = ReadText([&](char* b) { link->GetDescription(b, MAX_PATH); });
        read.Target = ReadText([&](char* b) {
            WIN32_FIND_DATAA found;
            link->GetPath(b, MAX_PATH, &found, SLGP_UNCPRIORITY);
        });
        read.ExactTarget = ReadExactTarget(*link.Get());
        read.WorkingDir = ReadText([&](char* b) { link->GetWorkingDirectory(b, MAX_PATH); });
        read.Arguments = ReadText([&](char* b) { link->GetArguments(b, MAX_PATH); });
        int showCmd = 0;
        link->GetShowCmd(&showCmd);
        read.ShowCmd = showCmd;
        WORD hotKey = 0;
        link->GetHotkey(&hotKey);
        read.HotKey = hotKey;
        int iconIndex = 0;
        read.IconFile = ReadText([&](char* b) { link->GetIconLocation(b, MAX_PATH, &iconIndex); });
        read.IconIndex = iconIndex;
        fields = read;
        return ShellLinkResult::Ok;
    }

private:
    static ShellLinkResult Open(ComPtr<IShellLinkA>& link, ComPtr<IPersistFile>& file) {
        if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                    link.Out())))
            return ShellLinkResult::CreateFailed;
        if (FAILED(link->QueryInterface(IID_IPersistFile, file.Out()))) return ShellLinkResult::NoPersistFile;
        return ShellLinkResult::Ok;
    }
};

}  // namespace

void EnsureComOnThisThread() {
    thread_local ComThread thread;
    (void)thread;
}

std::unique_ptr<ShellLinkObject> MakePlatformShellLinkObject() {
    return std::make_unique<Win32ShellLinkObject>();
}

}  // namespace kelvaro
