#pragma once
// Restoring the last clean-up: which of its files the Recycle Bin should still hold, which items of the
// bin they are (matched by original path and time of deletion), the question that names them, the restore
// through the platform's own Recycle Bin, and the box that says how it went.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/byte_size_text.h"
#include "run/deletion_record.h"

namespace kelvaro {

struct LastCleanup {
    std::string id;
    LocalTime when;  // of its first file
    bool automatic = false;
    std::vector<DeletedFileEntry> recycled;  // not brought back yet, in the order they went
    int deletedForGood = 0;
    int restoredAlready = 0;
};

// The most recent delete among the record's lines (older lines without a clean-up are passed over).
std::optional<LastCleanup> FindLastCleanup(const std::vector<RecordedLine>& lines);

// An item of the Recycle Bin as the platform shows it.
struct BinItem {
    std::string originalPath;
    std::string deletedAt;  // the time of deletion as the bin shows it (to the minute)
};

enum class RestoreOutcome {
    Restored,  // back at its original path
    Occupied,  // something is at its original path: it stays in the bin
    Failed,    // the bin did not give it back
};

// The platform's Recycle Bin.
class RecycleBin {
public:
    virtual ~RecycleBin() = default;
    // Every item, read now.
    virtual std::vector<BinItem> Items() = 0;
    // How the bin may show the time of deletion of a file the record wrote at this local time: the line is
    // written just after the file went, so the second before is taken too.
    virtual std::vector<std::string> DeletedAtTexts(const LocalTime& recorded) = 0;
    // Brings back item index of the last Items(), never over something at its original path; size: the
    // file's, as the record has it, which the file back at its place must have.
    virtual RestoreOutcome Restore(std::size_t index, std::uint64_t size) = 0;
};

// The files of a clean-up that are in the bin, each with its item.
struct RestorePlan {
    std::vector<std::pair<DeletedFileEntry, std::size_t>> found;
    std::uint64_t bytes = 0;  // of the files found
    int notInBin = 0;
};
RestorePlan PlanRestore(const LastCleanup& cleanup, RecycleBin& bin);

// The information shown instead of the question when nothing can be restored; nothing when there is.
std::optional<std::string> NothingToRestore(const std::optional<LastCleanup>& cleanup,
                                            const RestorePlan& plan, const std::string& thousandSeparator);

// "Restore 16,667 files (1.2 MB) deleted on 2026-12-08 at 06:38 by an automatic run?", and what cannot
// come back.
std::string RestoreQuestion(const LastCleanup& cleanup, const RestorePlan& plan,
                            const std::string& thousandSeparator, const std::string& decimalSeparator);

struct RestoreResult {
    int restored = 0;
    int occupied = 0;
    int failed = 0;
    int notInBin = 0;
};

// Brings back each file found, one at a time; onRestored is told of each as soon as it is back.
RestoreResult RestoreFiles(const RestorePlan& plan, RecycleBin& bin,
                           const std::function<void(const DeletedFileEntry&)>& onRestored);

// The box at the end: how many came back, how many stayed, and why.
std::string RestoreResultText(const RestoreResult& result, const std::string& thousandSeparator);

}  // namespace kelvaro
