#include "run/shell_delete_win.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdlib>
#include <optional>

namespace kelvaro {
namespace {

bool IsFolder(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool RunsUnderWine() {
    const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

std::string EnvironmentValue(const char* name) {
    char buffer[MAX_PATH * 2];
    const DWORD length = GetEnvironmentVariableA(name, buffer, sizeof buffer);
    return length > 0 && length < sizeof buffer ? std::string(buffer, length) : std::string();
}

// The Trash folder exactly as Wine's shell finds it, as a Windows path into the Unix file system:
// $XDG_DATA_HOME/Trash when that is absolute, else the home folder's .local/share/Trash.
std::string WineTrashFolder() {
    std::string folder;
    const std::string dataHome = EnvironmentValue("XDG_DATA_HOME");
    if (!dataHome.empty() && dataHome[0] == '/') {
        folder = "\\\\?\\unix" + dataHome + "/Trash";
    } else {
        folder = EnvironmentValue("WINEHOMEDIR");  // "\??\unix/home/user"
        if (folder.size() < 2) return {};
        folder[1] = '\\';
        folder += "/.local/share/Trash";
    }
    for (char& c : folder)
        if (c == '/') c = '\\';
    return folder;
}

// Creates the folder and every missing folder above it; true when it exists afterwards.
bool MakeFolders(const std::string& folder) {
    // Skip the "\\?\unix\" head: its parts are not folders one can create.
    for (std::size_t at = folder.find('\\', 9); at != std::string::npos; at = folder.find('\\', at + 1))
        CreateDirectoryA(folder.substr(0, at).c_str(), nullptr);
    CreateDirectoryA(folder.c_str(), nullptr);
    return IsFolder(folder);
}

}  // namespace

bool EnsureRecycleBinAvailable() {
    // Windows keeps its own Recycle Bin. Wine decides once per process, at the first recycle, whether its
    // Trash can be used, and only makes the Trash folder when its parent exists; without it FOF_ALLOWUNDO
    // deletes for good and still reports success. Making the whole path beforehand keeps the first
    // decision a yes; FOF_WANTNUKEWARNING remains the net for a process whose decision was taken earlier.
    if (!RunsUnderWine()) return true;
    const std::string trash = WineTrashFolder();
    return !trash.empty() && MakeFolders(trash + "\\files") && MakeFolders(trash + "\\info");
}

namespace {

// The shell asks before it destroys a file it could not recycle (Wine when its Trash cannot take the file,
// Windows when the file does not fit in the Recycle Bin). Its question has no owner window and would wait
// for an answer in automatic mode too; a Yes would turn the recycle into a permanent delete. So while a
// recycle runs, every dialog of this thread that offers "No" is answered No before it is shown. Boxes with
// only OK (the shell's error boxes) are left to the user.
class QuestionDecliner {
public:
    QuestionDecliner() {
        active = this;
        hook_ = SetWindowsHookExA(WH_CALLWNDPROCRET, Watch, nullptr, GetCurrentThreadId());
    }
    ~QuestionDecliner() {
        if (hook_) UnhookWindowsHookEx(hook_);
        active = nullptr;
    }
    QuestionDecliner(const QuestionDecliner&) = delete;
    QuestionDecliner& operator=(const QuestionDecliner&) = delete;
    bool Watching() const { return hook_ != nullptr; }
    bool Declined() const { return declined_; }

private:
    static LRESULT CALLBACK Watch(int code, WPARAM wParam, LPARAM lParam) {
        const auto& call = *reinterpret_cast<const CWPRETSTRUCT*>(lParam);
        // Ending a dialog while it initialises ends it before its modal loop starts.
        if (code == HC_ACTION && call.message == WM_INITDIALOG && active && GetDlgItem(call.hwnd, IDNO)) {
            EndDialog(call.hwnd, IDNO);
            active->declined_ = true;
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static thread_local QuestionDecliner* active;
    HHOOK hook_ = nullptr;
    bool declined_ = false;
};

thread_local QuestionDecliner* QuestionDecliner::active = nullptr;

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

void Win32ShellDeleter::StartDeletes() {
    recycleBinReady_ = false;
}

namespace {

// The shell reads "*" and "?" anywhere in a source as wildcards, so such a path could delete other files
// than the one listed; and it deletes a folder with everything in it. Neither is a listed file, and a
// path that names nothing has nothing to delete.
bool NamesOneFile(const std::string& path) {
    if (path.empty() || path.find_first_of("*?") != std::string::npos) return false;
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

struct ShellCall {
    bool watched = true;    // false: the question could not be watched, and the shell was not called
    bool declined = false;  // the shell asked whether to destroy a file it could not recycle, and heard No
    bool succeeded = false;
};

// One call to the shell with source, a list of names each ended by a NUL and the list by another.
ShellCall CallShell(const std::string& source, bool useRecycleBin) {
    SHFILEOPSTRUCTA operation{};
    operation.wFunc = FO_DELETE;
    operation.pFrom = source.c_str();
    operation.fFlags = useRecycleBin ? kRecycleDeleteFlags : kPermanentDeleteFlags;
    ShellCall call;
    std::optional<QuestionDecliner> decliner;
    if (useRecycleBin) {
        decliner.emplace();
        // Without the watch, a question could reach nobody, or a Yes could destroy the file.
        if (!decliner->Watching()) {
            call.watched = false;
            return call;
        }
    }
    const int status = SHFileOperationA(&operation);
    call.declined = decliner && decliner->Declined();
    call.succeeded = status == 0 && !operation.fAnyOperationsAborted && !call.declined;
    return call;
}

}  // namespace

bool Win32ShellDeleter::ReadyToRecycle() {
    // Making the Trash costs a dozen calls to the Wine server; once a delete has it, its files need not
    // make it again (the shell's question remains the net if it goes missing meanwhile).
    return recycleBinReady_ || (recycleBinReady_ = EnsureRecycleBinAvailable());
}

DeleteOutcome Win32ShellDeleter::ShellDeleteFile(const std::string& path, bool useRecycleBin) {
    if (!NamesOneFile(path)) return DeleteOutcome::Failed;
    if (useRecycleBin && !ReadyToRecycle()) return DeleteOutcome::NotRecyclable;
    // A list of one name, ended by an empty name.
    std::string source = path;
    source.append(2, '\0');
    const ShellCall call = CallShell(source, useRecycleBin);
    if (!call.watched || call.declined) return DeleteOutcome::NotRecyclable;
    if (!call.succeeded) return DeleteOutcome::Failed;
    // Wine reports success for some names it neither recycled nor deleted.
    return Exists(path) ? DeleteOutcome::Failed : DeleteOutcome::Deleted;
}

// The shell works through a list in order and stops at the first file it cannot delete (after declining
// to destroy it, when recycling). So after each call the files that are gone went, and the first one still
// there is where it stopped: that one is tried again alone, which tells why, and the rest go on in a new
// list. Every file thus gets its own outcome, and each round settles at least one file.
void Win32ShellDeleter::ShellDeleteFiles(const std::vector<std::string>& paths, bool useRecycleBin,
                                         const OutcomeReport& done) {
    std::vector<std::size_t> pending;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        if (NamesOneFile(paths[i]))
            pending.push_back(i);
        else
            done(i, DeleteOutcome::Failed);
    }
    if (!pending.empty() && useRecycleBin && !ReadyToRecycle()) {
        for (std::size_t i : pending) done(i, DeleteOutcome::NotRecyclable);
        return;
    }
    std::size_t next = 0;
    while (next < pending.size()) {
        std::string source;
        for (std::size_t j = next; j < pending.size(); ++j) {
            source += paths[pending[j]];
            source += '\0';
        }
        source += '\0';
        if (!CallShell(source, useRecycleBin).watched) {
            for (std::size_t j = next; j < pending.size(); ++j)
                done(pending[j], DeleteOutcome::NotRecyclable);
            return;
        }
        while (next < pending.size() && !Exists(paths[pending[next]]))
            done(pending[next++], DeleteOutcome::Deleted);
        if (next == pending.size()) return;
        done(pending[next], ShellDeleteFile(paths[pending[next]], useRecycleBin));
        ++next;
    }
}

}  // namespace kelvaro
