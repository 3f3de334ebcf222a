#pragma once
// A path made absolute from the process's current folder (and, for "C:x", the drive's) as they are now.
#include <memory>
#include <optional>
#include <string>

namespace kelvaro {

class FullPaths {
public:
    virtual ~FullPaths() = default;
    // nullopt when the platform cannot make one.
    virtual std::optional<std::string> FullPath(const std::string& path) = 0;
};

std::unique_ptr<FullPaths> MakePlatformFullPaths();

}  // namespace kelvaro
