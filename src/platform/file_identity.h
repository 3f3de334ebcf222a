#pragma once
// Which file or folder a path reaches: two paths reach the same one when both parts agree.
#include <cstdint>

namespace kelvaro {

struct FileIdentity {
    std::uint64_t volume = 0;
    std::uint64_t index = 0;  // the file's number on its volume; 0 is never a file's
    bool operator==(const FileIdentity&) const = default;
};

}  // namespace kelvaro
