#pragma once
// A byte count as a person reads it.
#include <cstdint>
#include <string>

namespace kelvaro {

// "12 bytes", "1.2 KB", "1.2 MB", "3.0 GB" (1,024 to the next), tenths rounded half up.
std::string ByteSizeText(std::uint64_t bytes, const std::string& thousandSeparator,
                         const std::string& decimalSeparator);

}  // namespace kelvaro
