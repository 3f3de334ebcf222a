#include "run/result_row.h"

#include <cstdio>

#include "base/date_time.h"
#include "base/digit_groups.h"

namespace kelvaro {
namespace {

constexpr const char* kMonthNames[] = {"January", "February", "March",     "April",   "May",      "June",
                                       "July",    "August",   "September", "October", "November", "December"};
constexpr const char* kDayNames[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                     "Thursday", "Friday", "Saturday"};

std::size_t LastSeparator(const std::string& path) {
    return path.find_last_of("\\:");
}

std::string Number(long long value, int digits) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%0*lld", digits, value);
    return buffer;
}

long long FloorMod(long long value, long long divisor) {
    return ((value % divisor) + divisor) % divisor;
}

// 0 = Sunday; the proleptic Gregorian calendar, so any year, month and day give an answer.
int DayOfWeek(long long year, long long month, long long day) {
    // Fold the month into 1..12 first, so that month 13 is January of the next year.
    year += (month - 1 - FloorMod(month - 1, 12)) / 12;
    month = FloorMod(month - 1, 12) + 1;
    // Days from 1 March of year 0, with March as the first month so leap days fall at the end.
    if (month <= 2) --year;
    long long era = (year >= 0 ? year : year - 399) / 400;
    long long yearOfEra = year - era * 400;
    long long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    long long days = era * 146097 + dayOfEra - 719468;  // days since 1970-01-01, a Thursday
    return static_cast<int>(FloorMod(days + 4, 7));
}

std::string Named(const char* const* names, int count, int index, std::size_t length) {
    if (index < 0 || index >= count) return {};
    std::string name = names[index];
    return length ? name.substr(0, length) : name;
}

}  // namespace

std::string SplitName(const std::string& path) {
    std::size_t separator = LastSeparator(path);
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

std::string SplitExt(const std::string& path) {
    std::size_t dot = path.find_last_of("\\:.");
    return dot == std::string::npos || path[dot] != '.' ? std::string() : path.substr(dot);
}

std::string SplitLocation(const std::string& path) {
    std::size_t separator = LastSeparator(path);
    return separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
}

std::string FormatByteCount(std::uint64_t bytes, const std::string& thousandSeparator) {
    return GroupThousands(std::to_string(bytes), thousandSeparator);
}

std::string FormatShortDate(int year, int month, int day, const std::string& pattern) {
    std::string text;
    std::size_t at = 0;
    while (at < pattern.size()) {
        char letter = pattern[at];
        if (letter == '\'') {
            for (++at; at < pattern.size(); ++at) {
                if (pattern[at] != '\'') {
                    text += pattern[at];
                } else if (at + 1 < pattern.size() && pattern[at + 1] == '\'') {
                    text += '\'';
                    ++at;
                } else {
                    ++at;
                    break;
                }
            }
            continue;
        }
        std::size_t run = 1;
        while (at + run < pattern.size() && pattern[at + run] == letter) ++run;
        at += run;
        switch (letter) {
            case 'd':
                if (run <= 2)
                    text += Number(day, static_cast<int>(run));
                else
                    text += Named(kDayNames, 7, DayOfWeek(year, month, day), run == 3 ? 3 : 0);
                break;
            case 'M':
            case 'm':
                if (run <= 2)
                    text += Number(month, static_cast<int>(run));
                else
                    text += Named(kMonthNames, 12, month - 1, run == 3 ? 3 : 0);
                break;
            case 'y':
                if (run <= 2)
                    text += Number(FloorMod(year, 100), static_cast<int>(run));
                else
                    text += Number(year, 1);
                break;
            case 'g':
                text += "A.D.";
                break;
            default:
                text.append(run, letter);
        }
    }
    return text;
}

std::string FormatTime12(int hour, int minute) {
    long long clock = FloorMod(hour, 24);
    long long shown = clock % 12 == 0 ? 12 : clock % 12;
    return Number(shown, 1) + ":" + Number(minute, 2) + (clock < 12 ? " AM" : " PM");
}

// The columns: Name, Ext, Location, Size, Date, Time.
constexpr int kExt = 1, kLocation = 2, kSize = 3, kDate = 4, kTime = 5;

std::string ResultColumns::Text(const FileRowView& file, int column) const {
    switch (column) {
        case 0:
            return std::string(file.Name);
        case kExt:
            return SplitExt(std::string(file.Name));
        case kLocation:
            return file.Folder;
        case kSize:
            return FormatByteCount(file.Size, locale_.ThousandSeparator());
        case kDate: {
            const DosDateTimeParts parts = SplitDosDateTime(file.DosDateTime);
            std::string pattern = locale_.ShortDatePattern();
            if (pattern.empty()) pattern = kFallbackShortDate;
            return FormatShortDate(parts.year, parts.month, parts.day, pattern);
        }
        case kTime: {
            const DosDateTimeParts parts = SplitDosDateTime(file.DosDateTime);
            return FormatTime12(parts.hour, parts.minute);
        }
    }
    return {};
}

std::optional<std::int64_t> ResultColumns::Value(const FileRowView& file, int column) const {
    // Asked once a row by a sort of a million rows: worked out here, not through a list of values.
    switch (column) {
        case kSize:
            return static_cast<std::int64_t>(file.Size);  // sizes and FILETIMEs stay below 2^63
        case kDate:
            return static_cast<std::int64_t>(file.LastWriteTime);
        case kTime: {
            const DosDateTimeParts parts = SplitDosDateTime(file.DosDateTime);
            return (parts.hour * 60LL + parts.minute) * 60 + parts.second;
        }
    }
    return std::nullopt;
}

ResultRowTexts MakeResultRow(const std::string& path, std::uint64_t size, std::uint32_t dosDateTime,
                             LocaleFormats& locale) {
    const std::string folder = SplitLocation(path);
    const FileRowView file{std::string_view(path).substr(folder.size()), folder, size, 0, dosDateTime};
    const ResultColumns columns(locale);
    return {SplitName(path),           columns.Text(file, kExt),  folder,
            columns.Text(file, kSize), columns.Text(file, kDate), columns.Text(file, kTime)};
}

std::vector<ColumnValue> ResultSortValues(std::uint64_t size, std::uint64_t lastWriteTime,
                                          std::uint32_t dosDateTime) {
    const DosDateTimeParts parts = SplitDosDateTime(dosDateTime);
    // Both fit: sizes and FILETIMEs stay below 2^63.
    return {{kSize, static_cast<std::int64_t>(size)},
            {kDate, static_cast<std::int64_t>(lastWriteTime)},
            {kTime, (parts.hour * 60LL + parts.minute) * 60 + parts.second}};
}

}  // namespace kelvaro
