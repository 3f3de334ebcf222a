#include "platform/drive_types.h"

namespace kelvaro {
namespace {

// A POSIX system has no drive letters: every drive root is reported as missing.
class NoDrives : public DriveTypes {
public:
    unsigned QueryDriveType(const std::string&) override { return DriveNoRootDir; }
};

}  // namespace

std::unique_ptr<DriveTypes> MakePlatformDriveTypes() {
    return std::make_unique<NoDrives>();
}

}  // namespace kelvaro
