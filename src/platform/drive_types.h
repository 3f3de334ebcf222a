#pragma once
#include <memory>
#include <string>

namespace kelvaro {

// Drive types as the platform numbers them.
enum DriveType : unsigned {
    DriveUnknown = 0,
    DriveNoRootDir = 1,
    DriveRemovable = 2,
    DriveFixed = 3,
    DriveRemote = 4,
    DriveCdRom = 5,
    DriveRamDisk = 6,
};

class DriveTypes {
public:
    virtual ~DriveTypes() = default;
    // root is a drive text such as "c:\" or "\\server\share\", asked exactly as given.
    virtual unsigned QueryDriveType(const std::string& root) = 0;
};

std::unique_ptr<DriveTypes> MakePlatformDriveTypes();

}  // namespace kelvaro
