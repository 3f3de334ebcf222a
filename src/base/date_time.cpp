#include "base/date_time.h"

#include "base/errors.h"

namespace kelvaro {
namespace {

bool IsLeapYear(int year) {
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int DaysInMonth(int year, int month) {
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Days from 1 January of year 1 to 30 December 1899.
constexpr long kDaysBefore1899_12_30 = 693594;

}  // namespace

TDateTime EncodeDate(int year, int month, int day) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month))
        throw EConvertError("Invalid argument to date encode");
    long dayOfYear = day;
    for (int m = 1; m < month; ++m) dayOfYear += DaysInMonth(year, m);
    long y = year - 1;
    return static_cast<TDateTime>(y * 365 + y / 4 - y / 100 + y / 400 + dayOfYear - kDaysBefore1899_12_30);
}

TDateTime EncodeTime(int hour, int minute, int second, int millisecond) {
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || millisecond < 0 ||
        millisecond > 999)
        throw EConvertError("Invalid argument to time encode");
    return (hour * 3600000.0 + minute * 60000.0 + second * 1000.0 + millisecond) / 86400000.0;
}

DosDateTimeParts SplitDosDateTime(std::uint32_t dosDateTime) {
    std::uint32_t date = dosDateTime >> 16;
    std::uint32_t time = dosDateTime & 0xFFFF;
    return {static_cast<int>((date >> 9) + 1980), static_cast<int>((date >> 5) & 15),
            static_cast<int>(date & 31),          static_cast<int>(time >> 11),
            static_cast<int>((time >> 5) & 63),   static_cast<int>((time & 31) * 2)};
}

std::uint32_t MakeDosDateTime(const DosDateTimeParts& p) {
    std::uint32_t date = static_cast<std::uint32_t>(((p.year - 1980) << 9) | (p.month << 5) | p.day);
    std::uint32_t time = static_cast<std::uint32_t>((p.hour << 11) | (p.minute << 5) | (p.second / 2));
    return (date << 16) | (time & 0xFFFF);
}

TDateTime DosDateTimeToDateTime(std::uint32_t dosDateTime) {
    DosDateTimeParts p = SplitDosDateTime(dosDateTime);
    TDateTime date = EncodeDate(p.year, p.month, p.day);
    return date + EncodeTime(p.hour, p.minute, p.second, 0);
}

}  // namespace kelvaro

namespace kelvaro {

std::uint32_t ClampedDosDateTime(const DosDateTimeParts& parts) {
    if (parts.year < 1980) return MakeDosDateTime({1980, 1, 1, 0, 0, 0});
    if (parts.year > 2107) return MakeDosDateTime({2107, 12, 31, 23, 59, 58});
    return MakeDosDateTime(parts);
}

}  // namespace kelvaro
