#pragma once
// The texts of one results-list row, made from a found file's path, size and last-write time, when the
// list shows them.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/locale_formats.h"
#include "widgets/file_rows.h"
#include "widgets/list_rows.h"

namespace kelvaro {

// The date picture used when the locale gives none; in it "m" is the month.
inline constexpr const char* kFallbackShortDate = "m/d/yy";

struct ResultRowTexts {
    std::string Name, Ext, Location, Size, Date, Time;
};

// The results list's columns: Name, Ext, Location, Size, Date and Time, the texts in the locale's formats
// as they are when the list shows them; Size, Date and Time sort by the values ResultSortValues gives.
class ResultColumns final : public FileColumns {
public:
    explicit ResultColumns(LocaleFormats& locale) : locale_(locale) {}
    int Count() const override { return 6; }
    std::string Text(const FileRowView& file, int column) const override;
    std::optional<std::int64_t> Value(const FileRowView& file, int column) const override;

private:
    LocaleFormats& locale_;
};

// path as the scanner found it; size the true 64-bit byte count (files of 2 GiB and more are listed too);
// dosDateTime the local MS-DOS date and time of the entry. Location followed by Name gives path back.
ResultRowTexts MakeResultRow(const std::string& path, std::uint64_t size, std::uint32_t dosDateTime,
                             LocaleFormats& locale);

// What the results list sorts its Size, Date and Time columns by in place of their texts, which no locale's
// format orders: the bytes, the last-write time (lastWriteTime, any scale that keeps its order), and the
// time of day in seconds as the Time column shows it (local, from dosDateTime).
std::vector<ColumnValue> ResultSortValues(std::uint64_t size, std::uint64_t lastWriteTime,
                                          std::uint32_t dosDateTime);

// After the last "\" or ":".
std::string SplitName(const std::string& path);
// From the last "." that follows the last "\" or ":", dot included; "" when there is none.
std::string SplitExt(const std::string& path);
// Up to and including the last "\" or ":"; "" when there is neither.
std::string SplitLocation(const std::string& path);

// All the digits, grouped by threes from the right with the separator: 1234567 -> "1,234,567".
std::string FormatByteCount(std::uint64_t bytes, const std::string& thousandSeparator);

// A Windows date picture: d, dd, ddd (Mon), dddd (Monday); M, MM, MMM (Jan), MMMM (January); y (year of
// the century without a leading zero), yy, yyy or longer (the whole year); g or gg (the era, "A.D.");
// 'quoted' text copied without its quotes ('' inside quotes is one quote); anything else copied as it is.
// A lower-case "m" is taken as the month as well: date pictures have no minutes, and the legacy picture
// "m/d/yy" means month/day/year. Any values are accepted; names of months outside 1..12 are empty.
std::string FormatShortDate(int year, int month, int day, const std::string& pattern);

// "h:mm AM/PM": 0:00 -> "12:00 AM", 13:05 -> "1:05 PM".
std::string FormatTime12(int hour, int minute);

}  // namespace kelvaro
