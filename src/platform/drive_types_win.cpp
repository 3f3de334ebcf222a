#include <windows.h>

#include "platform/drive_types.h"

namespace kelvaro {
namespace {

class Win32DriveTypes : public DriveTypes {
public:
    unsigned QueryDriveType(const std::string& root) override { return GetDriveTypeA(root.c_str()); }
};

}  // namespace

std::unique_ptr<DriveTypes> MakePlatformDriveTypes() {
    return std::make_unique<Win32DriveTypes>();
}

}  // namespace kelvaro
