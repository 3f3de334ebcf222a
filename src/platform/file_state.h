#pragma once
// What a path names now, asked just before the file is deleted, to compare with what a run listed.
#include <cstdint>
#include <memory>
#include <string>

namespace kelvaro {

struct FileState {
    bool exists = false;
    // A file itself: not a folder, and not a link or other reparse point that stands for something else.
    bool plainFile = false;
    std::uint64_t size = 0;
    std::uint64_t lastWriteTime = 0;  // as DirectoryEntry::lastWriteTime
};

class FileStateProbe {
public:
    virtual ~FileStateProbe() = default;
    virtual FileState Describe(const std::string& path) = 0;
};

std::unique_ptr<FileStateProbe> MakePlatformFileStateProbe();

}  // namespace kelvaro
