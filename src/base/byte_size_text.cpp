#include "base/byte_size_text.h"

#include "base/digit_groups.h"

namespace kelvaro {

std::string ByteSizeText(std::uint64_t bytes, const std::string& thousandSeparator,
                         const std::string& decimalSeparator) {
    if (bytes < 1024)
        return GroupThousands(std::to_string(bytes), thousandSeparator) + (bytes == 1 ? " byte" : " bytes");
    const char* const units[] = {"KB", "MB", "GB", "TB", "PB", "EB"};
    int unit = 0;
    long double value = static_cast<long double>(bytes) / 1024;
    while (value >= 1024 && unit < 5) {
        value /= 1024;
        ++unit;
    }
    // Tenths, rounded half up; 1,023.96 KB is 1.0 MB.
    auto tenths = static_cast<std::uint64_t>(value * 10 + 0.5L);
    if (tenths >= 10240 && unit < 5) {
        ++unit;
        tenths = static_cast<std::uint64_t>(value / 1024 * 10 + 0.5L);
    }
    return GroupThousands(std::to_string(tenths / 10), thousandSeparator) + decimalSeparator +
           std::to_string(tenths % 10) + " " + units[unit];
}

}  // namespace kelvaro
