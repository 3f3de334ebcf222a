#pragma once
// The platform's own Recycle Bin, read and restored from through the shell's Recycle Bin folder.
#include <memory>

#include "run/restore_cleanup.h"

namespace kelvaro {

std::unique_ptr<RecycleBin> MakePlatformRecycleBin();

}  // namespace kelvaro
