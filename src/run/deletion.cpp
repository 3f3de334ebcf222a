#include "run/deletion.h"

#include <algorithm>
#include <vector>

#include "search/result_line.h"

namespace kelvaro {

bool UnchangedSinceListed(const FileState& now, const ListedFile& listed) {
    if (!now.exists) return true;
    return now.plainFile && now.size == listed.size && now.lastWriteTime == listed.lastWriteTime;
}

namespace {

// The one place where a file's outcome is known: a deleted file's row is to go.
void Record(const ListedFile& file, DeleteOutcome outcome, bool recycled,
            const DeletedFileObserver& onDeleted, DeletionResult& result,
            std::vector<std::uint64_t>& goneRows) {
    switch (outcome) {
        case DeleteOutcome::Deleted:
            goneRows.push_back(file.rowId);
            ++result.deleted;
            if (onDeleted) onDeleted(file, recycled);
            break;
        case DeleteOutcome::NotRecyclable:
            ++result.notRecyclable;
            break;
        case DeleteOutcome::Failed:
            break;
    }
}

}  // namespace

void ShellDeleter::ShellDeleteFiles(const std::vector<std::string>& paths, bool useRecycleBin,
                                    const OutcomeReport& done) {
    for (std::size_t i = 0; i < paths.size(); ++i) done(i, ShellDeleteFile(paths[i], useRecycleBin));
}

DeletionResult DeleteSelectedRows(DeletionRows& rows, ShellDeleter& deleter, FileStateProbe& probe,
                                  bool useRecycleBin, const DeletedFileObserver& onDeleted) {
    // Everything is taken before the first shell call: the shell's own boxes let the window take input
    // while they wait, and whatever happens to the list then must not choose what is deleted.
    std::vector<ListedFile> chosen;
    for (int row = 0, count = rows.RowCount(); row < count; ++row)
        if (rows.IsSelected(row)) chosen.push_back(rows.Listed(row));

    DeletionResult result;
    std::vector<std::uint64_t> goneRows;
    try {
        if (!chosen.empty()) deleter.StartDeletes();
        // The files go to the shell a batch at a time, each checked just before its batch.
        for (std::size_t start = 0; start < chosen.size(); start += kDeleteBatch) {
            std::vector<const ListedFile*> batch;
            std::vector<std::string> paths;
            for (std::size_t i = start; i < std::min(chosen.size(), start + kDeleteBatch); ++i) {
                if (!UnchangedSinceListed(probe.Describe(chosen[i].path), chosen[i])) {
                    ++result.changed;
                    continue;
                }
                batch.push_back(&chosen[i]);
                paths.push_back(chosen[i].path);
            }
            if (batch.empty()) continue;
            deleter.ShellDeleteFiles(paths, useRecycleBin, [&](std::size_t index, DeleteOutcome outcome) {
                if (index < batch.size())
                    Record(*batch[index], outcome, useRecycleBin, onDeleted, result, goneRows);
            });
        }
    } catch (...) {
        // The files deleted before the error are gone: their rows must not stay to be tried again.
        rows.RemoveRows(goneRows);
        throw;
    }
    rows.RemoveRows(goneRows);
    return result;
}

std::vector<std::string> KeptFilesTexts(const DeletionResult& result) {
    std::vector<std::string> texts;
    auto count = [](int n) { return std::to_string(n) + (n == 1 ? " file " : " files "); };
    if (result.changed > 0)
        texts.push_back(count(result.changed) + (result.changed == 1
                                                     ? "changed since it was listed and was kept."
                                                     : "changed since they were listed and were kept."));
    if (result.notRecyclable > 0)
        texts.push_back(count(result.notRecyclable) + "could not be moved to the Recycle Bin and " +
                        (result.notRecyclable == 1 ? "was kept." : "were kept."));
    return texts;
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
                                                    std::int64_t selectedBytes, std::int64_t totalBytes,
                                                    const std::string& thousandSeparator,
                                                    const std::string& decimalSeparator) {
    if (selected == 0 && !reportsSelectedRow) return std::nullopt;
    return "Selected: " + std::to_string(selected > 0 ? selected : 1) + " of " + std::to_string(rowCount) +
           SizeText(selectedBytes, totalBytes, thousandSeparator, decimalSeparator);
}

}  // namespace kelvaro
