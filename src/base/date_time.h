#pragma once
// Date-time values as whole days since 30 December 1899 plus the time of day as a fraction.
#include <cstdint>

namespace kelvaro {

using TDateTime = double;

// Throw EConvertError "Invalid argument to date encode" / "Invalid argument to time encode".
TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int minute, int second, int millisecond);

// The parts of an MS-DOS date and time (date in the high 16 bits), unchecked.
struct DosDateTimeParts {
    int year, month, day, hour, minute, second;
};
DosDateTimeParts SplitDosDateTime(std::uint32_t dosDateTime);
std::uint32_t MakeDosDateTime(const DosDateTimeParts& parts);

// The date is encoded before the time, so a value bad in both reports the date.
TDateTime DosDateTimeToDateTime(std::uint32_t dosDateTime);

}  // namespace kelvaro

namespace kelvaro {

// The MS-DOS form of a local time; times before 1980 or after 2107, which that form cannot hold,
// become its first or last second, so that such a file still has an age and keeps its order.
std::uint32_t ClampedDosDateTime(const DosDateTimeParts& parts);

}  // namespace kelvaro
