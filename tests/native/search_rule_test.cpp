#include "rules/search_rule.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "base/errors.h"
#include "fake_platform.h"
#include "search/file_scan.h"

namespace kelvaro {
namespace {

class SearchRuleTest : public ::testing::Test {
protected:
    SearchRuleTest() : scan_(platform_.Get()) {}

    // Sentinels show whether a decoder wrote a number it should have left alone.
    void SetSentinels() {
        scan_.FileAge = edited_.AgeDays = 77;
        scan_.FileSize = edited_.SizeNumber = 88;
        edited_.SizeUnit = "?";
    }
    static RuleRow Row(const std::string& age, const std::string& size) {
        return RuleRow{"D:\\Temp", {"*.tmp", age, size, "Yes", " "}};
    }

    testing::FakePlatform platform_;
    TFileScan scan_;
    RuleValues edited_;
};

TEST_F(SearchRuleTest, EncodesTheCellTexts) {
    const struct {
        int position;
        const char* entry;
        const char* age;
        const char* size;
    } cases[] = {
        {0, "Equal to", "= 30 Days", "= 500 KBytes"},
        {1, "Greater than", "> 30 Days", "> 500 KBytes"},
        {2, "Greater than or equal to", ">=30 Days", ">=500 KBytes"},
        {3, "Less than", "< 30 Days", "< 500 KBytes"},
        {4, "Less than or equal to", "<=30 Days", "<=500 KBytes"},
        {5, "None", "  ", "  "},
    };
    for (const auto& c : cases) {
        EXPECT_STREQ(kComparisonEntries[c.position], c.entry);
        const RuleRow row = EncodeRule({"C:\\", "", c.position, 30, c.position, 500, "KBytes", true, false});
        EXPECT_EQ(row.Caption, "C:\\");
        EXPECT_EQ(row.SubItems[0], "");
        EXPECT_EQ(row.SubItems[1], c.age);
        EXPECT_EQ(row.SubItems[2], c.size);
        EXPECT_EQ(row.SubItems[3], "Yes");
        EXPECT_EQ(row.SubItems[4], " ");
    }
}

// The editor reads what it can of any cell; a run reads only the forms the editor writes (marked written).
TEST_F(SearchRuleTest, DecodesAgeCells) {
    const struct {
        const char* cell;
        TFileCompType kind;
        std::int32_t days;  // the sentinel 77 when no number is read
        bool written;
    } cases[] = {
        {"> 30 Days", fctGreaterThan, 30, true},
        {">=7 Days", fctGreaterThanOrEqual, 7, true},
        {"<=7 Days", fctLessThanOrEqual, 7, true},
        {"< 3 Days", fctLessThan, 3, true},
        {"= 0 Days", fctEqual, 0, true},
        {">= 7 Days", fctEqual, 7, false},  // "= " is tested last and wins; the conversion skips the blank
        {"<=12", fctLessThanOrEqual, 12, false},
        {"> -5 Days", fctGreaterThan, -5, false},
        {"9< 3 Days", fctLessThan, 3, false},  // the first two characters go, whatever they are
        {"=5 Days", fctNone, 77, false},
        {"  ", fctNone, 77, true},
        {" ", fctNone, 77, true},
        {"", fctNone, 77, true},
        {"30 Days", fctNone, 77, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cell);
        SetSentinels();
        if (c.written) {
            DecodeRuleForRun(Row(c.cell, "  "), 1, scan_);
            EXPECT_EQ(scan_.FileAgeComp, c.kind);
            EXPECT_EQ(scan_.FileAge, c.days);
        }
        DecodeRuleForEditing(Row(c.cell, "  "), edited_);
        EXPECT_EQ(edited_.AgePosition, ComparisonPosition(c.kind));
        EXPECT_EQ(edited_.AgeDays, c.days);
    }
}

TEST_F(SearchRuleTest, DecodesSizeCells) {
    const struct {
        const char* cell;
        TFileCompType kind;
        std::int32_t number;  // the sentinels 88 and "?" when nothing is read
        const char* unit;
        std::int64_t bytes;
        bool written;
    } cases[] = {
        {"> 2 KBytes", fctGreaterThan, 2, "KBytes", 2000, true},
        {"< 10", fctLessThan, 10, "Bytes", 10, false},
        {"<=100 Bytes", fctLessThanOrEqual, 100, "Bytes", 100, true},
        {"= 2147483647 Bytes", fctEqual, 2147483647, "Bytes", 2147483647, true},
        {"= 2147483 KBytes", fctEqual, 2147483, "KBytes", 2147483000, true},
        {"<=-2147483 KBytes", fctLessThanOrEqual, -2147483, "KBytes", -2147483000, false},
        {"  ", fctNone, 88, "?", 88, true},
        {"", fctNone, 88, "?", 88, true},
        {"10 KBytes", fctNone, 88, "?", 88, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cell);
        SetSentinels();
        if (c.written) {
            DecodeRuleForRun(Row("  ", c.cell), 1, scan_);
            EXPECT_EQ(scan_.FileSizeComp, c.kind);
            EXPECT_EQ(scan_.FileSize, c.bytes);
        }
        DecodeRuleForEditing(Row("  ", c.cell), edited_);
        EXPECT_EQ(edited_.SizePosition, ComparisonPosition(c.kind));
        EXPECT_EQ(edited_.SizeNumber, c.number);
        EXPECT_EQ(edited_.SizeUnit, c.unit);
    }
}

TEST_F(SearchRuleTest, BadNumbersFailAndTheEditorKeepsWhatCameBefore) {
    const struct {
        const char* age;
        const char* size;
        const char* message;
        int agePosition;
        const char* unit;  // "?" when the size cell is not reached
    } cases[] = {
        {"> ", "  ", "'' is not a valid integer value", 1, "?"},
        {">=7 days", "  ", "'7 days' is not a valid integer value", 2, "?"},
        {"= 5 Days ", "  ", "'5 ' is not a valid integer value", 0, "?"},
        {"<=> 5 Days", "  ", "'> 5' is not a valid integer value", 1, "?"},  // the last match wins
        {"< <=5 Days", "  ", "'<=5' is not a valid integer value", 4, "?"},
        {"  ", "< 10 kbytes", "'10 kbytes' is not a valid integer value", 5, "Bytes"},
        {"  ", "< 10 KBytes ", "'10 ' is not a valid integer value", 5, "KBytes"},
        {"  ", "= 1,000 Bytes", "'1,000' is not a valid integer value", 5, "Bytes"},
        {"  ", "> 2147484 KBytes extra", "'2147484 extra' is not a valid integer value", 5, "KBytes"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.age) + "|" + c.size);
        RuleValues values;
        values.SizeUnit = "?";
        try {
            DecodeRuleForEditing(Row(c.age, c.size), values);
            ADD_FAILURE() << "no error";
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), c.message);
        }
        EXPECT_EQ(values.Location, "D:\\Temp");
        EXPECT_EQ(values.FileSpecs, "*.tmp");
        EXPECT_TRUE(values.IncludeSubfolders);
        EXPECT_EQ(values.AgePosition, c.agePosition);
        EXPECT_EQ(values.SizeUnit, c.unit);
        EXPECT_THROW(DecodeRuleForRun(Row(c.age, c.size), 1, scan_), EConvertError);
    }
}

// A run must never compare with a wrapped number: "> $FFFFFFFF Bytes" as "> -1" matches every file.
TEST_F(SearchRuleTest, SizesBeyondThirtyTwoBitsStopTheRun) {
    const struct {
        const char* cell;
        const char* message;
    } cases[] = {
        {"= 2147484 KBytes", "'2147484' is not a valid integer value"},
        {">=2147483647 KBytes", "'2147483647' is not a valid integer value"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cell);
        SetSentinels();
        try {
            DecodeRuleForRun(Row("  ", c.cell), 1, scan_);
            ADD_FAILURE() << "no error";
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), c.message);
        }
        EXPECT_EQ(scan_.FileSize, 88);
    }
    // The editor shows a large number of KBytes as it stands; only its product in bytes is out of range.
    DecodeRuleForEditing(Row("  ", "= 2147484 KBytes"), edited_);
    EXPECT_EQ(edited_.SizeNumber, 2147484);
}

// Every criterion the editor can write is one a run reads, with its comparison and number.
TEST_F(SearchRuleTest, ARunReadsEveryCellTheEditorWrites) {
    const std::int32_t numbers[] = {0, 1, 9, 10, 100, 2147483, 2147484, 999999999, 2147483647};
    for (int position = 0; position <= 5; ++position) {
        for (std::int32_t number : numbers) {
            for (const char* unit : {"Bytes", "KBytes"}) {
                const RuleRow row = EncodeRule({.Location = "C:\\",
                                                .AgePosition = position,
                                                .AgeDays = number,
                                                .SizePosition = position,
                                                .SizeNumber = number,
                                                .SizeUnit = unit});
                SCOPED_TRACE(row.SubItems[1] + "|" + row.SubItems[2]);
                SetSentinels();
                const bool kilo = std::string(unit) == "KBytes";
                const std::int64_t bytes = std::int64_t{number} * (kilo ? 1000 : 1);
                if (position != 5 && bytes > INT32_MAX) {
                    EXPECT_THROW(DecodeRuleForRun(row, 1, scan_), EConvertError);  // outside 32 bits
                    continue;
                }
                DecodeRuleForRun(row, 1, scan_);
                EXPECT_EQ(scan_.FileAgeComp, ComparisonKind(position));
                EXPECT_EQ(scan_.FileSizeComp, ComparisonKind(position));
                EXPECT_EQ(scan_.FileAge, position == 5 ? 77 : number);
                EXPECT_EQ(scan_.FileSize, position == 5 ? 88 : bytes);
            }
        }
    }
}

// A hand-edited or damaged cell that the editor's reading would take for "no criterion" must not make a
// rule match every file: the run stops, naming the rule and the cell, and leaves the scanner untouched.
TEST_F(SearchRuleTest, ARunStopsAtACellTheEditorDoesNotWrite) {
    // clang-format off
    std::vector<std::string> damaged = {
        // prefix lost or changed; nothing but junk, blanks or control characters
        ">30 Days", "30 Days", ">", "abc", "=5 Days", "9< 3 Days", " > 30 Days", "   ", "\t", "\r\n", "\x7f",
        // a number the editor does not write
        "> 030 Days", "> -5 Days", "> +5 Days", "> $1E Days", ">= 7 Days", "> 2147483648 Days", "= 1,000 Bytes",
        "> $FFFFFFFF Bytes", "<=-2147483 KBytes",
        // a unit missing, changed or followed by more
        "<=12", "< 10", "> 30 days", "> 30 Days ", "> 30  Days", "> 10 kbytes", "> 10 KBytes ",
        "> 2147484 KBytes extra", "> 1 Bytes Days", "> 5 Days KBytes"};
    // clang-format on
    damaged.push_back(std::string(10000, '7'));
    damaged.push_back(std::string("> 3\0 Days", 9));
    const struct {
        std::string column;
        std::string otherForm;  // written for the other column, damaged in this one
        std::function<RuleRow(const std::string&)> row;
    } columns[] = {
        {"File Age", "> 5 KBytes", [](const std::string& cell) { return Row(cell, "> 5 Bytes"); }},
        {"File Size", "> 5 Days", [](const std::string& cell) { return Row("> 5 Days", cell); }},
    };
    for (const auto& column : columns) {
        std::vector<std::string> cells = damaged;
        cells.push_back(column.otherForm);
        for (const std::string& cell : cells) {
            SCOPED_TRACE(column.column + ": " + cell.substr(0, 20));
            SetSentinels();
            scan_.Directory = "untouched";
            scan_.FileAgeComp = scan_.FileSizeComp = fctLessThan;
            try {
                DecodeRuleForRun(column.row(cell), 3, scan_);
                ADD_FAILURE() << "no error";
            } catch (const EConvertError& e) {
                EXPECT_EQ(e.Message().rfind(
                              "The search stopped at rule 3 (folder \"D:\\Temp\", files \"*.tmp\"): its " +
                                  column.column + " \"",
                              0),
                          0u)
                    << e.Message();
            }
            EXPECT_EQ(scan_.Directory, "untouched");
            EXPECT_EQ(scan_.FileAgeComp, fctLessThan);
            EXPECT_EQ(scan_.FileSizeComp, fctLessThan);
            EXPECT_EQ(scan_.FileAge, 77);
            EXPECT_EQ(scan_.FileSize, 88);
        }
    }
}

// The box shows a huge text cut short with its length, and control characters as codes: a line break
// or a zero would hide what follows it.
TEST_F(SearchRuleTest, TheErrorShowsTheRuleAndTheCellSafely) {
    const struct {
        RuleRow row;
        std::string message;
    } cases[] = {
        {{"C:\\Temp", {"*.tmp", "30 Days", "  ", "Yes", " "}},
         "The search stopped at rule 2 (folder \"C:\\Temp\", files \"*.tmp\"): its File Age \"30 Days\" is "
         "not a criterion Kelvaro can read. Correct the rule in setup mode."},
        {{std::string("C:\\a\0b\r\nc", 9),
          {"*.\x90\x7f", "  ", std::string(10000, 'x') + "> 1 Bytes", "", ""}},
         "The search stopped at rule 2 (folder \"C:\\a\\x00b\\x0D\\x0Ac\", files \"*.\\x90\\x7F\"): its File "
         "Size \"" +
             std::string(80, 'x') +
             "... (10009 characters)\" is not a criterion Kelvaro can read. Correct "
             "the rule in setup mode."},
    };
    for (const auto& c : cases) {
        try {
            DecodeRuleForRun(c.row, 2, scan_);
            ADD_FAILURE() << "no error";
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), c.message);
        }
    }
}

TEST_F(SearchRuleTest, OnlyExactYesIsTrueAndTextsPassUnchanged) {
    for (const char* flag : {"Yes", "yes", "YES", "yES", "Yes ", " Yes", "Y", " ", ""}) {
        SCOPED_TRACE(flag);
        const bool expected = std::string(flag) == "Yes";
        const RuleRow row{"", {"", "  ", "  ", flag, flag}};
        DecodeRuleForRun(row, 1, scan_);
        EXPECT_EQ(scan_.IncSubDir, expected);
        EXPECT_EQ(scan_.Directory, "");
        EXPECT_EQ(scan_.FileSpecs, "");
        EXPECT_EQ(RemovableDriveFlag(row), expected);
        DecodeRuleForEditing(row, edited_);
        EXPECT_EQ(edited_.IncludeSubfolders, expected);
        EXPECT_EQ(edited_.RemovableDrives, expected);
    }
}

TEST_F(SearchRuleTest, EncodeThenDecodeGivesBackTheEditorValues) {
    const std::int32_t numbers[] = {0, 1, 7, 2147483, 2147484, 999999999, 2147483646, 2147483647};
    int variant = 0;
    for (int position = 0; position <= 5; ++position) {
        for (std::int32_t number : numbers) {
            ++variant;
            const RuleValues values{.Location = "E:\\My Files\\",
                                    .FileSpecs = variant % 3 ? "*.bak;*.old" : "",
                                    .AgePosition = position,
                                    .AgeDays = number,
                                    .SizePosition = 5 - position,
                                    .SizeNumber = number,
                                    .SizeUnit = variant % 2 ? "KBytes" : "Bytes",
                                    .IncludeSubfolders = variant % 2 == 0,
                                    .RemovableDrives = variant % 4 < 2};
            RuleValues decoded;
            DecodeRuleForEditing(EncodeRule(values), decoded);
            SCOPED_TRACE(variant);
            EXPECT_EQ(decoded.Location, values.Location);
            EXPECT_EQ(decoded.FileSpecs, values.FileSpecs);
            EXPECT_EQ(decoded.AgePosition, position);
            EXPECT_EQ(decoded.AgeDays, position == 5 ? 0 : number);
            EXPECT_EQ(decoded.SizePosition, 5 - position);
            EXPECT_EQ(decoded.SizeNumber, position == 0 ? 0 : number);
            EXPECT_EQ(decoded.SizeUnit, position == 0 ? "Bytes" : values.SizeUnit);
            EXPECT_EQ(decoded.IncludeSubfolders, values.IncludeSubfolders);
            EXPECT_EQ(decoded.RemovableDrives, values.RemovableDrives);
        }
    }
}

}  // namespace
}  // namespace kelvaro
