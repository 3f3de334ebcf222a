#include <windows.h>

#include "platform/file_state.h"

namespace kelvaro {
namespace {

class Win32FileStateProbe : public FileStateProbe {
public:
    FileState Describe(const std::string& path) override {
        // The entry itself, as the directory search reported it: a link is not followed.
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return {};
        FileState state;
        state.exists = true;
        state.plainFile =
            !(data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT));
        state.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        state.lastWriteTime = (static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                              data.ftLastWriteTime.dwLowDateTime;
        return state;
    }
};

}  // namespace

std::unique_ptr<FileStateProbe> MakePlatformFileStateProbe() {
    return std::make_unique<Win32FileStateProbe>();
}

}  // namespace kelvaro
