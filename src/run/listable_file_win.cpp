#include "run/listable_file_win.h"

#include <windows.h>

namespace kelvaro {
namespace {

class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() {
        if (IsOpen()) CloseHandle(handle_);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return handle_; }

private:
    HANDLE handle_;
};

}  // namespace

bool OpenForReadWrite(const std::string& path, std::uint64_t& size) {
    FileHandle file(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsOpen()) return false;
    // Windows refuses write access to a read-only file, but Wine running as root grants it; the
    // attributes of the opened file decide alike on both. (The basic information only: the whole of
    // GetFileInformationByHandle also asks for the volume, which costs Wine over half a millisecond.)
    FILE_BASIC_INFO basic;
    if (!GetFileInformationByHandleEx(file.Get(), FileBasicInfo, &basic, sizeof basic)) return false;
    if (basic.FileAttributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) return false;
    LARGE_INTEGER length;
    if (!GetFileSizeEx(file.Get(), &length)) return false;
    size = static_cast<std::uint64_t>(length.QuadPart);
    return true;
}

bool CanOpenForReadWrite(const std::string& path, std::uint32_t attributesFound) {
    if (attributesFound & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) return false;
    FileHandle file(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.IsOpen();
}

}  // namespace kelvaro
