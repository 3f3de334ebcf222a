#pragma once
// Deleting the selected files of the results list, and the selection summary of the status bar.
#include <cstdint>
#include <optional>
#include <string>

namespace kelvaro {

class ShellDeleter {
public:
    virtual ~ShellDeleter() = default;
    // Deletes exactly one path, asking nothing; true only when it is gone.
    virtual bool ShellDeleteFile(const std::string& path, bool useRecycleBin) = 0;
};

// The rows of the results list as the loop and the summary need them (the main window adapts its list).
class DeletionRows {
public:
    virtual ~DeletionRows() = default;
    virtual int RowCount() const = 0;
    virtual bool IsSelected(int row) const = 0;
    virtual std::string Path(int row) const = 0;        // Location followed by Name
    virtual std::int64_t ByteCount(int row) const = 0;  // the size kept with the row
    virtual void RemoveRow(int row) = 0;                // later rows move up by one
};

// Tries every row selected at the call once, top down; removes a row only when its file was deleted.
// Returns the number deleted.
int DeleteSelectedRows(DeletionRows& rows, ShellDeleter& deleter, bool useRecycleBin);

// The selection summary for status panel 1, or std::nullopt to leave the panel unchanged.
// reportsSelectedRow: the list says a row is selected although no row counts as selected (it can while a
// change is under way).
std::optional<std::string> SelectionSummary(const DeletionRows& rows, bool reportsSelectedRow,
                                            const std::string& thousandSeparator,
                                            const std::string& decimalSeparator);

// " (<selected>k of <total>k)", k = 1024 bytes, both with two decimals and grouped thousands.
// The same summary from a selected count and byte sums that the caller keeps up to date as the
// selection changes, so that a long list is not summed again at every change.
std::optional<std::string> SelectionSummaryFromSums(int selected, int rowCount, bool reportsSelectedRow,
                                                    std::int64_t selectedBytes, std::int64_t totalBytes,
                                                    const std::string& thousandSeparator,
                                                    const std::string& decimalSeparator);
std::string SelectionSizeText(const DeletionRows& rows, const std::string& thousandSeparator,
                              const std::string& decimalSeparator);

// A byte count in kilobytes of 1024 as "###,##0.00", rounded half away from zero.
std::string FormatKilobytes(std::int64_t bytes, const std::string& thousandSeparator,
                            const std::string& decimalSeparator);

}  // namespace kelvaro
