#pragma once
// Whole numbers typed into or stored in rule cells.
#include <cstdint>
#include <string>

namespace kelvaro {

// Leading blanks, then an optional "+" or "-" and decimal digits, or an optional sign, "$" and hexadecimal
// digits of either case. The value, decimal or hexadecimal, must lie in -2147483648..2147483647: "$80000000"
// is out of range rather than a negative bit pattern, and "-$80000000" is the one negative hexadecimal
// number at the bottom of the range. Anything else, including a trailing blank, throws EConvertError
// naming the whole text.
std::int32_t StrToInt(const std::string& text);

}  // namespace kelvaro
