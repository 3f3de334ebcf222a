#include "run/shell_delete_win.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdlib>
#include <memory>

#include "run/question_decliner_win.h"

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

// The shell deletes a folder with everything in it, and a path that names nothing has nothing to delete.
bool NamesOneFile(const std::string& path) {
    if (!ShellMayName(path)) return false;
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

}  // namespace

Win32ShellDeleter::Win32ShellDeleter() = default;
Win32ShellDeleter::~Win32ShellDeleter() = default;

// Making the Trash and watching for the shell's question each cost calls to the Wine server: a delete does
// both once, before its first file, so that nothing of it stands between a file's check and its delete.
void Win32ShellDeleter::StartDeletes(bool useRecycleBin) {
    recycleBinReady_ = false;
    if (!useRecycleBin) return;
    ReadyToRecycle();
    watch_ = std::make_unique<QuestionDecliner>();
}

void Win32ShellDeleter::EndDeletes() {
    watch_.reset();
}

bool Win32ShellDeleter::ReadyToRecycle() {
    // Once a delete has the Trash, its files need not make it again (the shell's question remains the net
    // if it goes missing meanwhile).
    return recycleBinReady_ || (recycleBinReady_ = EnsureRecycleBinAvailable());
}

DeleteOutcome Win32ShellDeleter::ShellDeleteFile(const std::string& path, bool useRecycleBin) {
    if (!NamesOneFile(path)) return DeleteOutcome::Failed;
    std::unique_ptr<QuestionDecliner> ownWatch;
    QuestionDecliner* watch = nullptr;
    if (useRecycleBin) {
        if (!ReadyToRecycle()) return DeleteOutcome::NotRecyclable;
        if (!watch_) ownWatch = std::make_unique<QuestionDecliner>();
        watch = watch_ ? watch_.get() : ownWatch.get();
        // Without the watch, a question could reach nobody, or a Yes could destroy the file.
        if (!watch->Watching()) return DeleteOutcome::NotRecyclable;
        watch->Forget();
    }
    // A list of one name, ended by an empty name.
    std::string source = path;
    source.append(2, '\0');
    SHFILEOPSTRUCTA operation{};
    operation.wFunc = FO_DELETE;
    operation.pFrom = source.c_str();
    operation.fFlags = useRecycleBin ? kRecycleDeleteFlags : kPermanentDeleteFlags;
    NoteShellCall();
    const int status = SHFileOperationA(&operation);
    if (watch && watch->Declined()) return DeleteOutcome::NotRecyclable;
    return status == 0 && !operation.fAnyOperationsAborted ? DeleteOutcome::Deleted : DeleteOutcome::Failed;
}

}  // namespace kelvaro
