#pragma once
// Whole numbers written with their digits grouped by threes, as sizes and counts are shown.
#include <string>

namespace kelvaro {

// Digits grouped by threes with the separator, e.g. "1,234,567".
inline std::string GroupThousands(std::string digits, const std::string& separator) {
    for (std::size_t end = digits.size(); end > 3; end -= 3) digits.insert(end - 3, separator);
    return digits;
}

}  // namespace kelvaro
