#pragma once
// The scanner on the real Win32 platform layer.
#include <memory>

#include "search/file_scan.h"

namespace kelvaro::testing {

struct RealPlatform {
    std::unique_ptr<FileSystem> files = MakePlatformFileSystem();
    std::unique_ptr<Clock> clock = MakePlatformClock();
    std::unique_ptr<MessagePump> pump = MakePlatformMessagePump();
    std::unique_ptr<DriveTypes> drives = MakePlatformDriveTypes();
    std::unique_ptr<LocaleFormats> locale = MakePlatformLocaleFormats();
    ScanPlatform Get() { return {*files, *clock, *pump, *drives, *locale}; }
};

}  // namespace kelvaro::testing
