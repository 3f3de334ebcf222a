#include <windows.h>

#include "shell/run_at_startup.h"

namespace kelvaro {
namespace {

class PlatformFileDeleter : public FileDeleter {
public:
    bool RemoveFile(const std::string& path) override { return DeleteFileA(path.c_str()) != 0; }
};

}  // namespace

std::unique_ptr<FileDeleter> MakePlatformFileDeleter() {
    return std::make_unique<PlatformFileDeleter>();
}

}  // namespace kelvaro
