#include "base/date_time.h"

#include <gtest/gtest.h>

#include "base/errors.h"
#include "search/result_line.h"
#include "ui/application.h"

namespace kelvaro {
namespace {

TEST(DateTimeTest, EncodesDaysSince30December1899) {
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0);
    EXPECT_EQ(EncodeDate(1900, 3, 1), 61);
    EXPECT_EQ(EncodeDate(2000, 2, 29), 36585);
    EXPECT_EQ(EncodeDate(2026, 12, 7), 46363);
    EXPECT_DOUBLE_EQ(EncodeTime(18, 0, 0, 0), 0.75);
    EXPECT_DOUBLE_EQ(DosDateTimeToDateTime(MakeDosDateTime({2000, 1, 1, 6, 0, 0})), 36526.25);
}

TEST(DateTimeTest, RejectsImpossibleDatesAndTimes) {
    for (auto [y, m, d] : {std::tuple{2023, 2, 29},
                           {1900, 2, 29},
                           {2026, 13, 1},
                           {2026, 0, 1},
                           {2026, 4, 31},
                           {0, 1, 1},
                           {10000, 1, 1}}) {
        try {
            EncodeDate(y, m, d);
            ADD_FAILURE() << y << "-" << m << "-" << d;
        } catch (const EConvertError& e) {
            EXPECT_STREQ(e.what(), "Invalid argument to date encode");
        }
    }
    EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
    EXPECT_THROW(EncodeTime(0, 60, 0, 0), EConvertError);
    EXPECT_THROW(EncodeTime(0, 0, 60, 0), EConvertError);  // a DOS seconds field of 30
    // Bad in both: the date is reported.
    try {
        DosDateTimeToDateTime(MakeDosDateTime({2026, 2, 30, 25, 0, 0}));
        ADD_FAILURE();
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "Invalid argument to date encode");
    }
}

TEST(DateTimeTest, DosFormRoundTripsAndClampsOutsideItsRange) {
    DosDateTimeParts parts{2107, 12, 31, 23, 59, 58};
    DosDateTimeParts back = SplitDosDateTime(MakeDosDateTime(parts));
    EXPECT_EQ(std::tie(back.year, back.month, back.day, back.hour, back.minute, back.second),
              std::tie(parts.year, parts.month, parts.day, parts.hour, parts.minute, parts.second));
    EXPECT_EQ(ClampedDosDateTime({1970, 1, 1, 0, 0, 0}), MakeDosDateTime({1980, 1, 1, 0, 0, 0}));
    EXPECT_EQ(ClampedDosDateTime({2200, 1, 1, 0, 0, 0}), MakeDosDateTime({2107, 12, 31, 23, 59, 58}));
}

TEST(ResultLineTest, ColumnsAreFormattedAndAligned) {
    EXPECT_EQ(SizeColumn(0, ","), "           0");
    EXPECT_EQ(SizeColumn(999, ","), "         999");
    EXPECT_EQ(SizeColumn(1000, ","), "       1,000");
    EXPECT_EQ(SizeColumn(16777216, ","), "  16,777,216");
    EXPECT_EQ(SizeColumn(16777217, ","), "  16,777,216");  // what a float holds
    EXPECT_EQ(SizeColumn(123456789012ull, ","), "123,456,790,528");
    EXPECT_EQ(SizeColumn(1234567, ""), "     1234567");
    EXPECT_EQ(SizeColumn(1234567, "\xa0"),
              "   1\xa0"
              "234\xa0"
              "567");
    EXPECT_EQ(DateColumn({1985, 7, 9, 0, 0, 0}), "1985/07/09");
    EXPECT_EQ(TimeColumn({1985, 7, 9, 4, 5, 6}), "04:05:06");
    EXPECT_EQ(AttributeColumn(0x3F), "RHSVDA");
    EXPECT_EQ(AttributeColumn(0x410), "----D-");
    EXPECT_EQ(AttributeColumn(0), "------");
}

TEST(ExceptionTextTest, AddsAFullStopOnlyAfterCharactersThatSortAfterIt) {
    EXPECT_EQ(ExceptionDisplayText("Failed to create key x"), "Failed to create key x.");
    EXPECT_EQ(ExceptionDisplayText("Invalid argument to date encode"), "Invalid argument to date encode.");
    EXPECT_EQ(ExceptionDisplayText("'x' is not a valid integer value"), "'x' is not a valid integer value.");
    EXPECT_EQ(ExceptionDisplayText("quoted 'x'"), "quoted 'x'");
    EXPECT_EQ(ExceptionDisplayText("Stop!"), "Stop!");
    EXPECT_EQ(ExceptionDisplayText("Done."), "Done.");
    EXPECT_EQ(ExceptionDisplayText("version 2"), "version 2.");
    EXPECT_EQ(ExceptionDisplayText("caf\xe9"), "caf\xe9.");
    EXPECT_EQ(ExceptionDisplayText(""), "");
}

}  // namespace
}  // namespace kelvaro
