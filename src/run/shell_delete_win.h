#pragma once
// Deleting one file through the shell, into the Recycle Bin or for good.
#include <cstdint>
#include <string>
#include <vector>

#include "run/deletion.h"

namespace kelvaro {

// Silent, no confirmation; with the Recycle Bin also undoable, and with the question the platform asks before
// it destroys a file it could not recycle (the deleter answers it No itself).
constexpr std::uint16_t kRecycleDeleteFlags = 0x4 | 0x10 | 0x40 | 0x4000;
constexpr std::uint16_t kPermanentDeleteFlags = 0x4 | 0x10;

class Win32ShellDeleter : public ShellDeleter {
public:
    // The Recycle Bin is made sure of again at the first recycle after this, not at every file.
    void StartDeletes() override;
    // Failed without calling the shell for a path holding "*" or "?" and for a folder; Deleted only when the
    // shell reports success and the path no longer exists. With the Recycle Bin, a file the bin cannot take
    // is NotRecyclable and stays where it is: it is never destroyed instead, and no question is shown.
    DeleteOutcome ShellDeleteFile(const std::string& path, bool useRecycleBin) override;
    // The same outcomes, with the files handed to the shell as lists: about half the cost a file.
    void ShellDeleteFiles(const std::vector<std::string>& paths, bool useRecycleBin,
                          const OutcomeReport& done) override;

private:
    bool ReadyToRecycle();
    bool recycleBinReady_ = false;
};

// Under Wine: makes sure the freedesktop Trash that Wine recycles into exists, creating the folders when
// they are missing. True when recycling can be trusted (always on Windows itself).
bool EnsureRecycleBinAvailable();

}  // namespace kelvaro
