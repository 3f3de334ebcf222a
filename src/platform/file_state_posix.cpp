#include <sys/stat.h>

#include "platform/file_state.h"
#include "platform/file_time_posix.h"
#include "platform/unix_path_posix.h"

namespace kelvaro {
namespace {

class PosixFileStateProbe : public FileStateProbe {
public:
    FileState Describe(const std::string& path) override {
        struct stat info {};
        // The entry itself: a link is described as a link, never as its target.
        if (lstat(ToUnixPath(path).c_str(), &info) != 0) return {};
        FileState state;
        state.exists = true;
        state.plainFile = S_ISREG(info.st_mode);
        state.size = static_cast<std::uint64_t>(info.st_size);
        state.lastWriteTime = FileTimeOf(info.st_mtim);
        state.identity =
            FileIdentity{static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
        return state;
    }
    // Names on a Linux folder are exact: a look-up never lands on another name.
    bool ExactEntryExists(const std::string& path) override {
        struct stat info {};
        return lstat(ToUnixPath(path).c_str(), &info) == 0;
    }
};

}  // namespace

std::unique_ptr<FileStateProbe> MakePlatformFileStateProbe() {
    return std::make_unique<PosixFileStateProbe>();
}

}  // namespace kelvaro
