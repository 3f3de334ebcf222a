#include "platform/drive_part.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace kelvaro {
namespace {

std::u16string Wide(const std::string& text) {
    return {text.begin(), text.end()};
}

// The code-page and the UTF-16 forms cut every path at the same place.
TEST(DrivePart, DriveLetterOrServerAndShare) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"C:\\Apps\\x.exe", "C:"},
        {"C:rel\\x", "C:"},
        {"1:x", "1:"},
        {"\\\\server\\share\\dir\\x", "\\\\server\\share"},
        {"\\\\server\\share\\", "\\\\server\\share"},
        {"\\\\server\\share", "\\\\server\\share"},
        {"\\\\server", "\\\\server"},
        {"\\\\", "\\\\"},
        {"\\single\\x", ""},
        {"rel\\x", ""},
        {"C", ""},
    };
    for (const auto& [path, drive] : cases) {
        EXPECT_EQ(DrivePart(path), drive) << path;
        EXPECT_TRUE(DrivePart(Wide(path)) == Wide(drive)) << path;
    }
}

}  // namespace
}  // namespace kelvaro
