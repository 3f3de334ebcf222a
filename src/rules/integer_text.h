#pragma once
// Whole numbers typed into or stored in rule cells.
#include <cstdint>
#include <string>

namespace kelvaro {

// Leading blanks, then an optional "+" or "-" and decimal digits, or an optional sign, "$" and hexadecimal
// digits of either case. Decimal values must lie in -2147483648..2147483647; hexadecimal values may reach
// $FFFFFFFF and are taken as 32-bit patterns ("$FFFFFFFF" is -1, "-$FFFFFFFF" is 1).
// Anything else, including a trailing blank, throws EConvertError naming the whole text.
std::int32_t StrToInt(const std::string& text);

}  // namespace kelvaro
