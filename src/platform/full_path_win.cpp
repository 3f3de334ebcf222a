#include <windows.h>

#include "platform/full_path.h"

namespace kelvaro {
namespace {

class Win32FullPaths : public FullPaths {
public:
    std::optional<std::string> FullPath(const std::string& path) override {
        // The length asked first includes the terminating zero; the path written then does not.
        const DWORD needed = GetFullPathNameA(path.c_str(), 0, nullptr, nullptr);
        if (needed == 0) return std::nullopt;
        std::string full(needed, '\0');
        const DWORD written = GetFullPathNameA(path.c_str(), needed, full.data(), nullptr);
        if (written == 0 || written >= needed) return std::nullopt;
        full.resize(written);
        return full;
    }
};

}  // namespace

std::unique_ptr<FullPaths> MakePlatformFullPaths() {
    return std::make_unique<Win32FullPaths>();
}

}  // namespace kelvaro
