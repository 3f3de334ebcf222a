#pragma once
// Deleting the selected files of the results list, and the selection summary of the status bar.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_state.h"

namespace kelvaro {

enum class DeleteOutcome {
    Deleted,
    Failed,         // the shell could not delete it (gone, in use, no rights); it said so itself
    NotRecyclable,  // the Recycle Bin could not take it, and it was kept rather than destroyed
};

class ShellDeleter {
public:
    virtual ~ShellDeleter() = default;
    // Called once before the first file of a delete: what need not be done again for every file.
    virtual void StartDeletes() {}
    // Deletes exactly one path, asking nothing; Deleted only when it is gone.
    virtual DeleteOutcome ShellDeleteFile(const std::string& path, bool useRecycleBin) = 0;
    // Deletes each of the paths as ShellDeleteFile does and tells done each one's outcome (by its index in
    // paths) as soon as it is known. A deleter may hand the shell several of them at once; this one takes
    // them one at a time.
    using OutcomeReport = std::function<void(std::size_t index, DeleteOutcome outcome)>;
    virtual void ShellDeleteFiles(const std::vector<std::string>& paths, bool useRecycleBin,
                                  const OutcomeReport& done);
};

// A selected row as the delete takes it before it starts: the file, what identified it when it was
// listed, and the row's own id, which outlives sorts and other rows' removal.
struct ListedFile {
    std::string path;
    std::uint64_t size = 0;
    std::uint64_t lastWriteTime = 0;  // as DirectoryEntry::lastWriteTime
    std::uint64_t rowId = 0;
    int ruleNumber = 0;  // the rule that listed it, counted from 1; 0 for none
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

// True when the path still names the file that was listed: a plain file of the same size and the same
// last-write time. A path that names nothing passes, so that the shell reports the failure itself.
bool UnchangedSinceListed(const FileState& now, const ListedFile& listed);

// How many files one call to the shell may take: a list costs the shell about half as much a file as single
// files do, and a batch is checked just before it goes.
inline constexpr std::size_t kDeleteBatch = 100;

struct DeletionResult {
    int deleted = 0;
    int changed = 0;        // kept: the file changed after it was listed
    int notRecyclable = 0;  // kept: the Recycle Bin could not take it
};

// Takes the rows selected at the call, then tries each of their files once, top down: a file that changed
// since it was listed is skipped; the rows of the deleted files are removed together when the last file has
// been tried (or an error ends the loop), so that the list is not redrawn or summed again per file. What
// happens to the list while the shell works (a sort, other rows removed) changes neither which files are
// tried nor which rows go.
// onDeleted hears of each file the shell reported gone, as soon as it did, and whether it was recycled.
using DeletedFileObserver = std::function<void(const ListedFile& file, bool recycled)>;
DeletionResult DeleteSelectedRows(DeletionRows& rows, ShellDeleter& deleter, FileStateProbe& probe,
                                  bool useRecycleBin, const DeletedFileObserver& onDeleted = {});

// The information shown after an interactive delete that kept files, one text per reason; empty when
// nothing was kept for either reason.
std::vector<std::string> KeptFilesTexts(const DeletionResult& result);

// The selection summary for status panel 1, "Selected: <n> of <rows> (<selected>k of <total>k)" with
// k = 1024 bytes, both with two decimals and grouped thousands; std::nullopt leaves the panel unchanged.
// The caller keeps the selected count and the byte sums up to date as the selection changes, so that a long
// list is not summed again at every change. reportsSelectedRow: the list says a row is selected although
// no row counts as selected (it can while a change is under way).
std::optional<std::string> SelectionSummaryFromSums(int selected, int rowCount, bool reportsSelectedRow,
                                                    std::int64_t selectedBytes, std::int64_t totalBytes,
                                                    const std::string& thousandSeparator,
                                                    const std::string& decimalSeparator);

// A byte count in kilobytes of 1024 as "###,##0.00", rounded half away from zero.
std::string FormatKilobytes(std::int64_t bytes, const std::string& thousandSeparator,
                            const std::string& decimalSeparator);

}  // namespace kelvaro
