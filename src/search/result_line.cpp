#include "search/result_line.h"

#include <cstdio>

#include "base/digit_groups.h"

namespace kelvaro {
namespace {

std::string RightAligned(const std::string& text, std::size_t width) {
    return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

std::string ZeroFilled(int value, int digits) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%.*d", digits, value);
    return buffer;
}

}  // namespace

std::string SizeColumn(std::uint64_t size, const std::string& thousandSeparator) {
    // Shown as a float holds it: exact up to 16,777,216, the nearest such value above.
    char digits[64];
    std::snprintf(digits, sizeof digits, "%.0f", static_cast<double>(static_cast<float>(size)));
    return RightAligned(GroupThousands(digits, thousandSeparator), 12);
}

std::string DateColumn(const DosDateTimeParts& parts) {
    std::string text = RightAligned(ZeroFilled(parts.year, 2), 4) + "/" + ZeroFilled(parts.month, 2) + "/" +
                       ZeroFilled(parts.day, 2);
    return RightAligned(text, 10);
}

std::string TimeColumn(const DosDateTimeParts& parts) {
    return RightAligned(
        ZeroFilled(parts.hour, 2) + ":" + ZeroFilled(parts.minute, 2) + ":" + ZeroFilled(parts.second, 2), 8);
}

std::string AttributeColumn(std::uint32_t attributes) {
    static const char kLetters[] = "RHSVDA";
    std::string column;
    for (int bit = 0; bit < 6; ++bit) column += (attributes & (1u << bit)) ? kLetters[bit] : '-';
    return column;
}

}  // namespace kelvaro
