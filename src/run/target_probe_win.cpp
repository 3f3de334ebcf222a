#include <windows.h>

#include "platform/handle_owners_win.h"
#include "run/broken_shortcut.h"

namespace kelvaro {
namespace {

const wchar_t* Wide(const std::u16string& text) {
    static_assert(sizeof(wchar_t) == sizeof(char16_t));
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

class Win32TargetProbe : public TargetProbe {
public:
    bool IsExistingDirectory(const std::u16string& path) override {
        DWORD attributes = GetFileAttributesW(Wide(path));
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    }

    bool IsExistingFile(const std::u16string& path) override {
        WIN32_FIND_DATAW found;
        if (!FindOwner(FindFirstFileW(Wide(path), &found))) return false;
        return !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    }
};

}  // namespace

std::unique_ptr<TargetProbe> MakePlatformTargetProbe() {
    return std::make_unique<Win32TargetProbe>();
}

}  // namespace kelvaro
