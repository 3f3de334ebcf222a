#pragma once
// Deleting the selected files of the results list, and the selection summary of the status bar.
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_state.h"

namespace kelvaro {

enum class DeleteOutcome {
    Deleted,        // the shell reports the file deleted
    Failed,         // the shell could not delete it (gone, in use, no rights); it said so itself
    NotRecyclable,  // the Recycle Bin could not take it, and it was kept rather than destroyed
};

class ShellDeleter {
public:
    virtual ~ShellDeleter() = default;
    // Called once before the first file of a delete and once after the last: what need not be done again
    // for every file.
    virtual void StartDeletes(bool /*useRecycleBin*/) {}
    virtual void EndDeletes() {}
    // Hands exactly one path to the shell, asking nothing, and says what the shell reported. Whether the
    // file went is for the caller to read from the file's own entry afterwards.
    virtual DeleteOutcome ShellDeleteFile(const std::string& path, bool useRecycleBin) = 0;
    // When the last ShellDeleteFile handed its path to the platform: the check before it is measured
    // against this.
    std::chrono::steady_clock::time_point ShellCalledAt() const { return shellCalledAt_; }

protected:
    void NoteShellCall() { shellCalledAt_ = std::chrono::steady_clock::now(); }

private:
    std::chrono::steady_clock::time_point shellCalledAt_{};
};

// A selected row as the delete takes it before it starts: the file, what identified it when it was
// listed, and the row's own id, which outlives sorts and other rows' removal.
struct ListedFile {
    std::string path;
    std::uint64_t size = 0;
    std::uint64_t lastWriteTime = 0;  // as DirectoryEntry::lastWriteTime
    std::uint64_t rowId = 0;
    int ruleNumber = 0;                    // the rule that listed it, counted from 1; 0 for none
    std::optional<FileIdentity> identity;  // which file was listed, when the platform told it
};

// The rows of the results list as the loop and the summary need them (the main window adapts its list).
class DeletionRows {
public:
    virtual ~DeletionRows() = default;
    virtual int RowCount() const = 0;
    virtual bool IsSelected(int row) const = 0;
    virtual std::int64_t ByteCount(int row) const = 0;  // the size kept with the row
    virtual ListedFile Listed(int row) const = 0;
    // Removes the rows with these ids wherever they are now, together; ids whose rows are gone are passed
    // over.
    virtual void RemoveRows(const std::vector<std::uint64_t>& rowIds) = 0;
};

// True when the entry of the path's exact name is still the file that was listed: a plain file (not a
// folder, not a link), of the same size, last-write time and, where both are known, identity.
bool UnchangedSinceListed(const FileState& now, const ListedFile& listed);

// True when a path can go to the shell at all: the shell reads "*" and "?" anywhere in it as wildcards,
// which could reach other files than the one listed.
bool ShellMayName(const std::string& path);

struct DeletionResult {
    int deleted = 0;
    std::uint64_t deletedBytes = 0;  // of the files deleted, as they were listed
    int changed = 0;                 // kept: the file changed after it was listed
    int vanished = 0;                // kept: the file no longer existed when its turn came
    int notRecyclable = 0;           // kept: the Recycle Bin could not take it
    int failed = 0;                  // kept: the shell could not delete it, and showed why itself
    // The first paths kept for each reason, at most kKeptFilesNamed of them: enough for the box that tells
    // of them, without keeping every path of a large delete.
    std::vector<std::string> changedPaths, vanishedPaths, notRecyclablePaths;
    bool stopped = false;        // the caller ended the delete after a file (its record could not be written)
    bool stopRequested = false;  // the user stopped the delete between two files
    // The longest time from the end of a file's check to the shell's call for it.
    std::chrono::microseconds longestCheckToShell{0};
};

// Told of each file as soon as it is known to be gone, with whether it was recycled; false ends the
// delete there, with the files not yet tried kept.
using DeletedFileObserver = std::function<bool(const ListedFile& file, bool recycled)>;

// Told between two files, after the first has been tried and, when it went, told to the observer: how many
// files have been tried of how many, and the last one. The only place where the caller may let other work
// in (a window's messages); false ends the delete there, with the files not yet tried kept.
using DeletionProgress = std::function<bool(int tried, int total, const ListedFile& last)>;

// Takes the rows selected at the call, then tries each of their files once, top down, one shell call a
// file: just before its call the file's exact entry must still be the listed file, unchanged, and after it
// that entry must be gone, for the file to count as deleted. A file found by two rules is deleted once;
// its second row is kept. The rows of the deleted files are removed together when the last file has been
// tried (or an error ends the loop), so that the list is not redrawn or summed again per file; the caller
// may take some of them out sooner, in batches between files (rows already gone are passed over). What
// happens to the list while the shell works (a sort, other rows removed) changes neither which files are
// tried nor which rows go.
DeletionResult DeleteSelectedRows(DeletionRows& rows, ShellDeleter& deleter, FileStateProbe& probe,
                                  bool useRecycleBin, const DeletedFileObserver& onDeleted = {},
                                  const DeletionProgress& between = {});

// What a delete did, for the status bar: "Deleted 16,667 files (1.2 MB) into the Recycle Bin", or "for good".
std::string DeletedFilesText(const DeletionResult& result, bool recycled,
                             const std::string& thousandSeparator, const std::string& decimalSeparator);

// How many kept files the box after a delete names, over all reasons together.
inline constexpr std::size_t kKeptFilesNamed = 10;

// The information shown after an interactive delete that kept files: a line per reason, each followed by
// the paths of its files while kKeptFilesNamed lasts and, where some of them are left out, how many;
// empty when nothing was kept for any of them.
std::string KeptFilesText(const DeletionResult& result);

// The question asked before the selected files are deleted; a delete that skips the Recycle Bin says so,
// since nothing brings those files back.
std::string DeleteQuestion(bool useRecycleBin);
// The sentence that follows a question about deleting files when they would not go to the Recycle Bin,
// with the blank that joins it to the question; empty when they would.
std::string ForGoodNote(bool useRecycleBin);

// The selection summary for status panel 1, "Selected: <n> of <rows> (<selected>k of <total>k)" with
// k = 1024 bytes, both with two decimals and grouped thousands; std::nullopt leaves the panel unchanged.
// The caller keeps the selected count and the byte sums up to date as the selection changes, so that a long
// list is not summed again at every change. reportsSelectedRow: the list says a row is selected although
// no row counts as selected (it can while a change is under way). wasSelected: rows were selected when the
// panel last showed the summary. A selection that has just become empty says so, rather than leave a count
// of rows that are no longer selected (or no longer there); one that was empty already leaves the panel to
// whatever wrote it since, such as a run.
std::optional<std::string> SelectionSummaryFromSums(int selected, int rowCount, bool reportsSelectedRow,
                                                    bool wasSelected, std::int64_t selectedBytes,
                                                    std::int64_t totalBytes,
                                                    const std::string& thousandSeparator,
                                                    const std::string& decimalSeparator);

// A byte count in kilobytes of 1024 as "###,##0.00", rounded half away from zero.
std::string FormatKilobytes(std::int64_t bytes, const std::string& thousandSeparator,
                            const std::string& decimalSeparator);

}  // namespace kelvaro
