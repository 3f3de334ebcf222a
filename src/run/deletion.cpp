#include "run/deletion.h"

#include <algorithm>
#include <optional>
#include <unordered_set>
#include <vector>

#include "base/byte_size_text.h"
#include "base/digit_groups.h"
#include "platform/name_case.h"

namespace kelvaro {

bool UnchangedSinceListed(const FileState& now, const ListedFile& listed) {
    if (!now.exists || !now.plainFile) return false;
    if (now.size != listed.size || now.lastWriteTime != listed.lastWriteTime) return false;
    // A file made later under the same name, size and time is still another file.
    return !listed.identity || now.identity == listed.identity;
}

bool ShellMayName(const std::string& path) {
    return !path.empty() && path.find_first_of("*?") == std::string::npos;
}

namespace {

// The shell is told of the start and the end of a delete, however the loop ends.
class DeleteSession {
public:
    DeleteSession(ShellDeleter& deleter, bool useRecycleBin) : deleter_(deleter) {
        deleter_.StartDeletes(useRecycleBin);
    }
    ~DeleteSession() { deleter_.EndDeletes(); }
    DeleteSession(const DeleteSession&) = delete;
    DeleteSession& operator=(const DeleteSession&) = delete;

private:
    ShellDeleter& deleter_;
};

// What happens to one file, from its check to what became of it.
class FileDeleter {
public:
    FileDeleter(ShellDeleter& deleter, FileStateProbe& probe, bool useRecycleBin, DeletionResult& result)
        : deleter_(deleter), probe_(probe), useRecycleBin_(useRecycleBin), result_(result) {}

    // True when the file went.
    bool Delete(const ListedFile& file) {
        if (!ShellMayName(file.path)) {
            ++result_.failed;
            return false;
        }
        // Found by two rules: the first row's file went, and a second try could only reach another file.
        if (gone_.count(UpperCaseName(std::string_view(file.path)))) {
            Keep(result_.vanished, result_.vanishedPaths, file.path);
            return false;
        }
        const FileState now = probe_.Describe(file.path);
        if (!now.exists) {
            Keep(result_.vanished, result_.vanishedPaths, file.path);
            return false;
        }
        if (!UnchangedSinceListed(now, file)) {
            Keep(result_.changed, result_.changedPaths, file.path);
            return false;
        }
        const auto checked = std::chrono::steady_clock::now();
        const DeleteOutcome outcome = deleter_.ShellDeleteFile(file.path, useRecycleBin_);
        const auto called = deleter_.ShellCalledAt();
        if (called >= checked)
            result_.longestCheckToShell =
                std::max(result_.longestCheckToShell,
                         std::chrono::duration_cast<std::chrono::microseconds>(called - checked));
        if (outcome == DeleteOutcome::NotRecyclable) {
            Keep(result_.notRecyclable, result_.notRecyclablePaths, file.path);
            return false;
        }
        // The shell's word alone is not enough: it reports success for some names it did not touch. Nor is
        // a look-up of the path, which can land on a twin whose name differs only in case.
        if (outcome != DeleteOutcome::Deleted || probe_.ExactEntryExists(file.path)) {
            ++result_.failed;
            return false;
        }
        ++result_.deleted;
        result_.deletedBytes += file.size;
        gone_.insert(UpperCaseName(std::string_view(file.path)));
        return true;
    }

private:
    static void Keep(int& count, std::vector<std::string>& paths, const std::string& path) {
        ++count;
        if (paths.size() < kKeptFilesNamed) paths.push_back(path);
    }

    ShellDeleter& deleter_;
    FileStateProbe& probe_;
    bool useRecycleBin_;
    DeletionResult& result_;
    std::unordered_set<std::wstring> gone_;  // the paths deleted so far, as the platform compares names
};

}  // namespace

DeletionResult DeleteSelectedRows(DeletionRows& rows, ShellDeleter& deleter, FileStateProbe& probe,
                                  bool useRecycleBin, const DeletedFileObserver& onDeleted,
                                  const DeletionProgress& between) {
    // Everything is taken before the first shell call: the shell's own boxes let the window take input
    // while they wait, and whatever happens to the list then must not choose what is deleted.
    std::vector<ListedFile> chosen;
    for (int row = 0, count = rows.RowCount(); row < count; ++row)
        if (rows.IsSelected(row)) chosen.push_back(rows.Listed(row));

    DeletionResult result;
    std::vector<std::uint64_t> goneRows;
    try {
        std::optional<DeleteSession> session;
        if (!chosen.empty()) session.emplace(deleter, useRecycleBin);
        FileDeleter files(deleter, probe, useRecycleBin, result);
        // One file a shell call, each checked just before it: a list would leave its later files
        // unchecked for as long as the shell works on the earlier ones.
        const int total = static_cast<int>(chosen.size());
        for (int tried = 1; tried <= total; ++tried) {
            const ListedFile& file = chosen[static_cast<std::size_t>(tried - 1)];
            if (files.Delete(file)) {
                goneRows.push_back(file.rowId);
                if (onDeleted && !onDeleted(file, useRecycleBin)) {
                    result.stopped = true;
                    break;
                }
            }
            // Only here, with the file's fate settled and its line written, may anything else run.
            if (tried < total && between && !between(tried, total, file)) {
                result.stopRequested = true;
                break;
            }
        }
    } catch (...) {
        // The files deleted before the error are gone: their rows must not stay to be tried again.
        rows.RemoveRows(goneRows);
        throw;
    }
    rows.RemoveRows(goneRows);
    return result;
}

std::string DeletedFilesText(const DeletionResult& result, bool recycled,
                             const std::string& thousandSeparator, const std::string& decimalSeparator) {
    return "Deleted " + GroupThousands(std::to_string(result.deleted), thousandSeparator) +
           (result.deleted == 1 ? " file (" : " files (") +
           ByteSizeText(result.deletedBytes, thousandSeparator, decimalSeparator) +
           (recycled ? ") into the Recycle Bin" : ") for good");
}

std::string KeptFilesText(const DeletionResult& result) {
    std::string text;
    std::size_t named = 0;
    bool listedBefore = false;
    auto line = [&](int n, const std::vector<std::string>& paths, const char* one, const char* many) {
        if (n <= 0) return;
        // A list of paths ends with a blank line, so that the next reason does not read as one of them.
        if (!text.empty()) text += listedBefore ? "\n\n" : "\n";
        text += std::to_string(n) + (n == 1 ? " file " : " files ") + (n == 1 ? one : many);
        // Under the line of the reason that kept them, so that the user can find the files and tell which
        // reason kept which. The box wraps a long path: the dash marks where each one starts.
        std::size_t shown = 0;
        for (; shown < paths.size() && named < kKeptFilesNamed; ++shown, ++named)
            text += "\n- " + paths[shown];
        // A line whose files are all left out already says how many there are.
        const auto left = static_cast<std::size_t>(n) - shown;
        if (shown > 0 && left > 0) text += "\nand " + std::to_string(left) + " more";
        listedBefore = shown > 0;
    };
    line(result.changed, result.changedPaths, "changed since it was listed and was kept.",
         "changed since they were listed and were kept.");
    line(result.vanished, result.vanishedPaths, "no longer existed and was kept in the list.",
         "no longer existed and were kept in the list.");
    line(result.notRecyclable, result.notRecyclablePaths,
         "could not be moved to the Recycle Bin and was kept.",
         "could not be moved to the Recycle Bin and were kept.");
    return text;
}

std::string ForGoodNote(bool useRecycleBin) {
    return useRecycleBin ? std::string() : " They will be deleted for good, not moved to the Recycle Bin.";
}

std::string DeleteQuestion(bool useRecycleBin) {
    return "Delete selected files?" + ForGoodNote(useRecycleBin);
}

std::string FormatKilobytes(std::int64_t bytes, const std::string& thousandSeparator,
                            const std::string& decimalSeparator) {
    const bool negative = bytes < 0;
    // Hundredths of a kilobyte are bytes * 25 / 256; split first so that no byte count can overflow.
    const std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(bytes) : bytes;
    const std::uint64_t hundredths = magnitude / 256 * 25 + (magnitude % 256 * 25 + 128) / 256;

    std::string text = GroupThousands(std::to_string(hundredths / 100), thousandSeparator);
    const unsigned fraction = static_cast<unsigned>(hundredths % 100);
    text += decimalSeparator;
    text += static_cast<char>('0' + fraction / 10);
    text += static_cast<char>('0' + fraction % 10);
    return negative && hundredths != 0 ? "-" + text : text;
}

namespace {

std::string SizeText(std::int64_t selectedBytes, std::int64_t totalBytes,
                     const std::string& thousandSeparator, const std::string& decimalSeparator) {
    return " (" + FormatKilobytes(selectedBytes, thousandSeparator, decimalSeparator) + "k of " +
           FormatKilobytes(totalBytes, thousandSeparator, decimalSeparator) + "k)";
}

}  // namespace

std::optional<std::string> SelectionSummaryFromSums(int selected, int rowCount, bool reportsSelectedRow,
                                                    bool wasSelected, std::int64_t selectedBytes,
                                                    std::int64_t totalBytes,
                                                    const std::string& thousandSeparator,
                                                    const std::string& decimalSeparator) {
    const bool emptied = selected == 0 && !reportsSelectedRow;
    if (emptied && !wasSelected) return std::nullopt;
    return "Selected: " + std::to_string(selected > 0 || emptied ? selected : 1) + " of " +
           std::to_string(rowCount) +
           SizeText(selectedBytes, totalBytes, thousandSeparator, decimalSeparator);
}

}  // namespace kelvaro
