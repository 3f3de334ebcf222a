#include "run/listable_file_win.h"

#include <windows.h>

#include "platform/handle_owners_win.h"

namespace kelvaro {

bool CanOpenForReadWrite(const std::string& path, std::uint32_t attributesFound) {
    if (attributesFound & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) return false;
    HandleOwner file(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    return static_cast<bool>(file);
}

}  // namespace kelvaro
