#include <windows.h>

#include "platform/file_state.h"
#include "platform/file_system.h"

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
        // Under Wine a Linux link to a file carries a plain file's attributes, and its target's size and
        // time: a file moved away and replaced by a link to itself would pass for the listed one.
        if (state.plainFile && files_->IsFileLink(path)) state.plainFile = false;
        state.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        state.lastWriteTime = (static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                              data.ftLastWriteTime.dwLowDateTime;
        return state;
    }

private:
    std::unique_ptr<FileSystem> files_ = MakePlatformFileSystem();
};

}  // namespace

std::unique_ptr<FileStateProbe> MakePlatformFileStateProbe() {
    return std::make_unique<Win32FileStateProbe>();
}

}  // namespace kelvaro
