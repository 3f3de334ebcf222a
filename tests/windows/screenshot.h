#pragma once
// Saves what the screen shows as a 24-bit BMP file, for looking at the windows the tests make.
#include <string>

namespace kelvaro::testing {

bool SaveScreenshot(const std::string& path);

}  // namespace kelvaro::testing
