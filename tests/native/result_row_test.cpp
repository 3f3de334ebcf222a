#include "run/result_row.h"

#include <gtest/gtest.h>

#include "base/date_time.h"
#include "native/fake_platform.h"
#include "run/command_line.h"

namespace kelvaro {
namespace {

TEST(ResultRowTest, SplitsPathsIntoNameExtAndLocation) {
    const struct {
        const char* path;
        const char* name;
        const char* ext;
        const char* location;
    } cases[] = {
        {"C:\\Temp\\a.tmp", "a.tmp", ".tmp", "C:\\Temp\\"},
        {"C:\\Temp\\README", "README", "", "C:\\Temp\\"},
        {"C:\\old.d\\README", "README", "", "C:\\old.d\\"},  // the dot belongs to the folder
        {"C:\\Temp\\name.", "name.", ".", "C:\\Temp\\"},
        {"C:\\Temp\\a.b.tar.gz", "a.b.tar.gz", ".gz", "C:\\Temp\\"},
        {"C:\\Temp\\.profile", ".profile", ".profile", "C:\\Temp\\"},
        {"C:a.tmp", "a.tmp", ".tmp", "C:"},
        {"C:\\a.tmp", "a.tmp", ".tmp", "C:\\"},
        {"\\\\server\\share\\x.lnk", "x.lnk", ".lnk", "\\\\server\\share\\"},
        {"a.tmp", "a.tmp", ".tmp", ""},
        {"C:\\Temp\\", "", "", "C:\\Temp\\"},
        {"", "", "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SplitName(c.path), c.name) << c.path;
        EXPECT_EQ(SplitExt(c.path), c.ext) << c.path;
        EXPECT_EQ(SplitLocation(c.path), c.location) << c.path;
        EXPECT_EQ(SplitLocation(c.path) + SplitName(c.path), c.path);
    }
}

TEST(ResultRowTest, GroupsByteCountsOfAnyLength) {
    const struct {
        std::uint64_t bytes;
        const char* separator;
        const char* text;
    } cases[] = {
        {0, ",", "0"},
        {999, ",", "999"},
        {1000, ",", "1,000"},
        {1234567, ",", "1,234,567"},
        {2147483648ull, ",", "2,147,483,648"},
        {9223372036854775808ull, ",", "9,223,372,036,854,775,808"},
        {18446744073709551615ull, ",", "18,446,744,073,709,551,615"},
        {1234567, ".", "1.234.567"},
        {1234567, "", "1234567"},
        {1234567, "\xc2\xa0",
         "1\xc2\xa0"
         "234\xc2\xa0"
         "567"},
        {100000, "'", "100'000"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatByteCount(c.bytes, c.separator), c.text) << c.bytes;
}

TEST(ResultRowTest, FormatsDatePictures) {
    const struct {
        const char* pattern;
        int year, month, day;
        const char* text;
    } cases[] = {
        {"M/d/yyyy", 2026, 3, 7, "3/7/2026"},
        {"M/d/yy", 2009, 12, 25, "12/25/09"},
        {"dd.MM.yyyy", 2026, 3, 7, "07.03.2026"},
        {"yyyy-MM-dd", 1980, 1, 1, "1980-01-01"},
        {"d/M/yy", 2107, 12, 31, "31/12/07"},
        {"m/d/yy", 1999, 8, 4, "8/4/99"},  // the legacy fallback: "m" is the month
        {"mm/dd/yy", 1999, 8, 4, "08/04/99"},
        {"y", 2009, 1, 1, "9"},
        {"yyy", 2009, 1, 1, "2009"},
        {"yyyyy", 2009, 1, 1, "2009"},
        {"'Day' d", 2026, 3, 7, "Day 7"},
        {"'it''s' d", 2026, 3, 7, "it's 7"},
        {"d 'open", 2026, 3, 7, "7 open"},  // an unclosed quote runs to the end
        {"''d", 2026, 3, 7, "7"},           // an empty quote is nothing
        {"MMM d, yyyy", 2026, 3, 7, "Mar 7, 2026"},
        {"dddd, MMMM dd, yyyy", 2026, 3, 7, "Saturday, March 07, 2026"},
        {"ddd d", 2000, 2, 29, "Tue 29"},
        {"ddd d", 1980, 1, 1, "Tue 1"},
        {"ddd d", 2100, 3, 1, "Mon 1"},  // 2100 is not a leap year
        {"dd/MM/yyyy gg", 2026, 3, 7, "07/03/2026 A.D."},
        {"d-x-M", 2026, 3, 7, "7-x-3"},  // other letters are copied
        {"", 2026, 3, 7, ""},
        {"MMM/MMMM d", 2026, 0, 7, "/ 7"},  // no name for a month out of range
        {"MMM/MMMM", 2026, 13, 7, "/"},
        {"dd/MM/yy", 2026, 99, 99, "99/99/26"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatShortDate(c.year, c.month, c.day, c.pattern), c.text) << c.pattern;
    }
}

TEST(ResultRowTest, FormatsTimeOnTheTwelveHourClock) {
    const struct {
        int hour, minute;
        const char* text;
    } cases[] = {
        {0, 0, "12:00 AM"},  {0, 5, "12:05 AM"}, {1, 0, "1:00 AM"},    {11, 59, "11:59 AM"},
        {12, 0, "12:00 PM"}, {13, 5, "1:05 PM"}, {23, 58, "11:58 PM"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatTime12(c.hour, c.minute), c.text) << c.hour << ":" << c.minute;
}

TEST(ResultRowTest, MakesRowFromScannerEntry) {
    testing::FixedLocale locale;
    locale.separator = ".";
    locale.datePattern = "dd.MM.yyyy";
    std::uint32_t when = MakeDosDateTime({2026, 3, 7, 13, 5, 58});
    ResultRowTexts row = MakeResultRow("C:\\Temp\\big.iso", 3000000000ull, when, locale);
    EXPECT_EQ(row.Name, "big.iso");
    EXPECT_EQ(row.Ext, ".iso");
    EXPECT_EQ(row.Location, "C:\\Temp\\");
    EXPECT_EQ(row.Size, "3.000.000.000");
    EXPECT_EQ(row.Date, "07.03.2026");
    EXPECT_EQ(row.Time, "1:05 PM");

    locale.datePattern = "";  // a locale without a picture gets the legacy one
    EXPECT_EQ(MakeResultRow("x", 0, when, locale).Date, "3/7/26");
}

TEST(CommandLineTest, TakesFirstArgumentAfterProgramName) {
    const struct {
        const char* line;
        const char* first;
        bool automatic;
    } cases[] = {
        {"prog -a", "-a", true},
        {"\"C:\\Program Files\\Kelvaro.exe\" -a", "-a", true},
        {"\"C:\\Program Files\\Kelvaro.exe\"-a", "", false},  // a closing quote does not end the name
        {"C:\\Program\" \"Files\\K.exe /A", "/A", true},
        {"prog \"-a\"", "-a", true},
        {"prog -a x", "-a", true},
        {"prog x -a", "x", false},
        {"prog --a", "--a", false},
        {"prog a", "a", false},
        {"prog /A", "/A", true},
        {"prog /a", "/a", true},
        {"prog -A", "-A", true},
        {"prog -b", "-b", false},
        {"prog", "", false},
        {"", "", false},
        {"prog   -a", "-a", true},
        {"prog\t-a\t", "-a", true},
        {"prog\x01-a", "-a", true},        // every control character separates
        {"prog \xa0-a", "\xa0-a", false},  // a no-break space is a character of the code page
        {"prog \"-a x\"", "-a x", false},
        {"prog \"\" -a", "-a", true},  // an empty pair of quotes is no argument
        {"prog -\"a\"", "-a", true},
        {"prog \"-a", "-a", true},  // an unclosed quote runs to the end
        {"prog \"-a ", "-a ", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FirstArgument(c.line), c.first) << c.line;
        EXPECT_EQ(IsAutomaticModeArgument(FirstArgument(c.line)), c.automatic) << c.line;
    }
    EXPECT_EQ(FirstArgument(std::string("prog \0-a", 8)), "");
}

}  // namespace
}  // namespace kelvaro
