#pragma once
// The scanner on the platform's own services, and the settings the main window's scanner starts with.
#include <memory>

#include "search/file_scan.h"

namespace kelvaro {

// The platform's services one scan uses, made and owned together.
struct PlatformScanServices {
    std::unique_ptr<FileSystem> files = MakePlatformFileSystem();
    std::unique_ptr<Clock> clock = MakePlatformClock();
    std::unique_ptr<MessagePump> pump = MakePlatformMessagePump();
    std::unique_ptr<DriveTypes> drives = MakePlatformDriveTypes();
    std::unique_ptr<LocaleFormats> locale = MakePlatformLocaleFormats();
    ScanPlatform Get() { return {*files, *clock, *pump, *drives, *locale}; }
};

// A scanner as the main window designs it: read-only, hidden and archive files besides the normal
// ones, "*.tmp" in C:\ and its subfolders, whatever their size or age.
std::unique_ptr<TFileScan> MakeDesignScan(const ScanPlatform& platform, InfoLabel* currInfoLabel = nullptr);

}  // namespace kelvaro
