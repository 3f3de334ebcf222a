#pragma once
// Deleting one file through the shell, into the Recycle Bin or for good.
#include <cstdint>
#include <memory>
#include <string>

#include "run/deletion.h"

namespace kelvaro {

// Silent, no confirmation; with the Recycle Bin also undoable, and with the question the platform asks before
// it destroys a file it could not recycle (the deleter answers it No itself).
constexpr std::uint16_t kRecycleDeleteFlags = 0x4 | 0x10 | 0x40 | 0x4000;
constexpr std::uint16_t kPermanentDeleteFlags = 0x4 | 0x10;

class QuestionDecliner;

class Win32ShellDeleter : public ShellDeleter {
public:
    Win32ShellDeleter();
    ~Win32ShellDeleter() override;
    // With the Recycle Bin: makes sure of it and watches for the shell's question until EndDeletes.
    void StartDeletes(bool useRecycleBin) override;
    void EndDeletes() override;
    // Failed without calling the shell for a path holding "*" or "?", for a folder and for a path that
    // names nothing; otherwise what the shell reported. With the Recycle Bin, a file the bin cannot take is
    // NotRecyclable and stays where it is: it is never destroyed instead, and no question is shown.
    DeleteOutcome ShellDeleteFile(const std::string& path, bool useRecycleBin) override;

private:
    bool ReadyToRecycle();
    bool recycleBinReady_ = false;
    std::unique_ptr<QuestionDecliner> watch_;  // during a delete into the Recycle Bin
};

// Under Wine: makes sure the freedesktop Trash that Wine recycles into exists, creating the folders when
// they are missing. True when recycling can be trusted (always on Windows itself).
bool EnsureRecycleBinAvailable();

}  // namespace kelvaro
