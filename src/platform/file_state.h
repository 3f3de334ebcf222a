#pragma once
// What a path names now, asked just before the file is deleted and just after, to compare with what a
// run listed. The answers come from the entry of exactly the path's name: a platform that finds names
// ignoring case (Wine on a Linux folder) would otherwise answer for another file whose name differs only
// in case.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/file_identity.h"

namespace kelvaro {

struct FileState {
    bool exists = false;  // an entry of exactly this name is there
    // A file itself: not a folder, and not a link or other reparse point that stands for something else.
    bool plainFile = false;
    std::uint64_t size = 0;
    std::uint64_t lastWriteTime = 0;  // as DirectoryEntry::lastWriteTime
    std::optional<FileIdentity> identity;
};

class FileStateProbe {
public:
    virtual ~FileStateProbe() = default;
    virtual FileState Describe(const std::string& path) = 0;
    // Whether an entry of exactly this name is still there, asked after the shell has deleted it: cheaper
    // than Describe, and just as deaf to other names.
    virtual bool ExactEntryExists(const std::string& path) = 0;
};

std::unique_ptr<FileStateProbe> MakePlatformFileStateProbe();

}  // namespace kelvaro
