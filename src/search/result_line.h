#pragma once
// The optional columns a scanner result line can carry after the file's path.
#include <cstdint>
#include <string>

#include "base/date_time.h"

namespace kelvaro {

// The size as a single-precision number would hold it, grouped, no decimals, right-aligned in 12.
std::string SizeColumn(std::uint64_t size, const std::string& thousandSeparator);
// "yyyy/mm/dd" right-aligned in 10 characters.
std::string DateColumn(const DosDateTimeParts& parts);
// "hh:mm:ss" right-aligned in 8 characters.
std::string TimeColumn(const DosDateTimeParts& parts);
// Six characters for read-only, hidden, system, volume label, directory, archive: "RHSVDA" or "-".
std::string AttributeColumn(std::uint32_t attributes);

}  // namespace kelvaro
