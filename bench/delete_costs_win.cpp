// What each part of deleting one listed file costs under Wine, in microseconds a file, each over its own
// set of fresh files in FOLDER: the check of the file's state just before its delete (and its attributes
// alone), the look for its exact entry after it, the Trash check, the shell call alone (one path a call,
// into the Trash and for good), the program's whole deletion loop over listed rows with the longest time
// from a file's check to its shell call, and the shell handed 100 paths a call.
//   delete_costs.exe FOLDER [FILES=1000]
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bare_walk_win.h"
#include "platform/file_state.h"
#include "run/deletion.h"
#include "run/shell_delete_win.h"

namespace {

std::vector<std::string> MakeFiles(const std::string& folder, const char* set, int count) {
    const std::string sub = folder + set + "\\";
    CreateDirectoryA(sub.c_str(), nullptr);
    std::vector<std::string> paths;
    for (int i = 0; i < count; ++i) {
        // Names of their own in every set: a name already in the Trash costs the shell extra tries.
        paths.push_back(sub + set + "-" + std::to_string(i) + ".tmp");
        HANDLE file = CreateFileA(paths.back().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(file, "x", 1, &written, nullptr);
        CloseHandle(file);
    }
    return paths;
}

// Every measurement into the Trash starts with an empty one: under Wine each new name in the Trash's folders
// is looked for among all the names already there, so a fuller Trash makes every recycle slower.
void EmptyTrash() {
    char home[MAX_PATH] = {};
    if (!GetEnvironmentVariableA("XDG_DATA_HOME", home, MAX_PATH) || home[0] != '/') return;
    for (const char* part : {"/Trash/files/", "/Trash/info/"}) {
        std::string folder = std::string("\\\\?\\unix") + home + part;
        for (char& c : folder)
            if (c == '/') c = '\\';
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) continue;
        do {
            DeleteFileA((folder + found.cFileName).c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
}

int ShellDelete(const std::string& list, bool recycle) {
    SHFILEOPSTRUCTA operation{};
    operation.wFunc = FO_DELETE;
    operation.pFrom = list.c_str();
    operation.fFlags = recycle ? kelvaro::kRecycleDeleteFlags : kelvaro::kPermanentDeleteFlags;
    return SHFileOperationA(&operation);
}

// Every file selected, as the results list hands them to the loop.
class ListedRows : public kelvaro::DeletionRows {
public:
    ListedRows(const std::vector<std::string>& paths, kelvaro::FileStateProbe& probe) {
        for (const std::string& path : paths) {
            const kelvaro::FileState state = probe.Describe(path);
            files_.push_back({path, state.size, state.lastWriteTime, files_.size() + 1, 1, state.identity});
        }
    }
    int RowCount() const override { return static_cast<int>(files_.size()); }
    bool IsSelected(int) const override { return true; }
    std::int64_t ByteCount(int) const override { return 1; }
    kelvaro::ListedFile Listed(int row) const override { return files_[static_cast<std::size_t>(row)]; }
    void RemoveRows(const std::vector<std::uint64_t>&) override {}

private:
    std::vector<kelvaro::ListedFile> files_;
};

template <typename Work>
void Time(const char* what, int count, Work work) {
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    work();
    std::printf("  %-44s %8.1f us a file\n", what, bench::Seconds(start) * 1e6 / count);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    const std::string folder = bench::TreeFolder(argv[1]);
    const int count = argc > 2 ? std::atoi(argv[2]) : 1000;
    auto probe = kelvaro::MakePlatformFileStateProbe();
    kelvaro::Win32ShellDeleter deleter;

    auto files = MakeFiles(folder, "probe", count);
    Time("check (state, identity, exact name)", count, [&] {
        for (const auto& path : files) probe->Describe(path);
    });
    Time("  of it the attributes alone", count, [&] {
        WIN32_FILE_ATTRIBUTE_DATA data;
        for (const auto& path : files) GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
    });
    Time("Trash check and making", count, [&] {
        for (int i = 0; i < count; ++i) kelvaro::EnsureRecycleBinAvailable();
    });
    for (bool recycle : {true, false}) {
        files = MakeFiles(folder, recycle ? "one-r" : "one-p", count);
        EmptyTrash();
        Time(recycle ? "shell call alone, one path, recycle" : "shell call alone, one path, for good", count,
             [&] {
                 for (const auto& path : files) ShellDelete(path + '\0', recycle);
             });
        Time("exact entry after the delete", count, [&] {
            for (const auto& path : files) probe->ExactEntryExists(path);
        });
        files = MakeFiles(folder, recycle ? "whole-r" : "whole-p", count);
        ListedRows rows(files, *probe);
        EmptyTrash();
        kelvaro::DeletionResult result;
        Time(recycle ? "deletion loop, recycle" : "deletion loop, for good", count,
             [&] { result = kelvaro::DeleteSelectedRows(rows, deleter, *probe, recycle); });
        std::printf("  %-44s %8lld us (%d of %d deleted)\n", "  longest check-to-shell gap",
                    static_cast<long long>(result.longestCheckToShell.count()), result.deleted, count);
        files = MakeFiles(folder, recycle ? "list-r" : "list-p", count);
        EmptyTrash();
        Time(recycle ? "shell call, 100 paths a call, recycle" : "shell call, 100 paths a call, for good",
             count, [&] {
                 std::string list;
                 for (int i = 0; i < count; ++i) {
                     list += files[i] + '\0';
                     if (i % 100 == 99 || i + 1 == count) {
                         ShellDelete(list + '\0', recycle);
                         list.clear();
                     }
                 }
             });
    }
    return 0;
}
