#include <windows.h>

#include "run/broken_shortcut.h"

namespace kelvaro {
namespace {

class Win32TargetProbe : public TargetProbe {
public:
    bool IsExistingDirectory(const std::string& path) override {
        DWORD attributes = GetFileAttributesA(path.c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    }

    bool IsExistingFile(const std::string& path) override {
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA(path.c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) return false;
        FindClose(search);
        return !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    }
};

}  // namespace

std::unique_ptr<TargetProbe> MakePlatformTargetProbe() {
    return std::make_unique<Win32TargetProbe>();
}

}  // namespace kelvaro
