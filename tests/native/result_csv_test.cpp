#include "run/result_csv.h"

#include <gtest/gtest.h>

namespace kelvaro {
namespace {

const std::string kHeader = "Name,Ext,Location,Size,Last Written,Rule Location,Rule File Specs\r\n";

CsvListRow Row(std::string name, std::string ext, std::string location, std::uint64_t size,
               std::string ruleLocation = "C:\\Temp", std::string ruleSpecs = "*.tmp") {
    return {std::move(name),       std::move(ext),          std::move(location), size,
            {2026, 1, 2, 3, 4, 5}, std::move(ruleLocation), std::move(ruleSpecs)};
}

// Each case is the list's rows, which of them are selected, and the lines the text holds after the header.
TEST(ResultCsvTest, QuotesWhatSplitsAFieldAndKeepsEverythingElseAsItIs) {
    const struct {
        const char* what;
        std::vector<CsvListRow> rows;
        std::vector<int> selected;
        std::string lines;
    } cases[] = {
        {"plain fields are not quoted; sizes are bare digits, 0 and past 4 GiB",
         {Row("a.tmp", ".tmp", "C:\\Temp\\", 0), Row("big.iso", ".iso", "D:\\", 4294967297u)},
         {},
         "a.tmp,.tmp,C:\\Temp\\,0,2026-01-02 03:04:05,C:\\Temp,*.tmp\r\n"
         "big.iso,.iso,D:\\,4294967297,2026-01-02 03:04:05,C:\\Temp,*.tmp\r\n"},
        {"a comma quotes the field",
         {Row("a,b.tmp", ".tmp", "C:\\x,y\\", 1)},
         {},
         "\"a,b.tmp\",.tmp,\"C:\\x,y\\\",1,2026-01-02 03:04:05,C:\\Temp,*.tmp\r\n"},
        {"a quote is doubled inside quotes; a quote alone is a field of its own",
         {Row("say \"hi\".txt", ".txt", "C:\\\"\\", 2, "C:\\Temp", "\"")},
         {},
         "\"say \"\"hi\"\".txt\",.txt,\"C:\\\"\"\\\",2,2026-01-02 03:04:05,C:\\Temp,\"\"\"\"\r\n"},
        {"line breaks are quoted as they are",
         {Row("two\r\nlines", "", "C:\\", 3, "C:\\a\nb")},
         {},
         "\"two\r\nlines\",,C:\\,3,2026-01-02 03:04:05,\"C:\\a\nb\",*.tmp\r\n"},
        {"code-page letters and other bytes above 0x7F pass unchanged; semicolons are not separators",
         {Row("caf\xe9 \x80.tmp", ".tmp",
              "C:\\D\xfc"
              "r\\",
              4,
              "C:\\D\xfc"
              "r",
              "*.tmp;*.bak")},
         {},
         "caf\xe9 \x80.tmp,.tmp,C:\\D\xfcr\\,4,2026-01-02 03:04:05,C:\\D\xfcr,*.tmp;*.bak\r\n"},
        {"the rule's cells lose the blanks around them; a blank cell is empty",
         {Row("a.tmp", ".tmp", "C:\\", 5, "  C:\\Temp ", "   ")},
         {},
         "a.tmp,.tmp,C:\\,5,2026-01-02 03:04:05,C:\\Temp,\r\n"},
        {"only the selected rows, in the order given",
         {Row("r0", "", "C:\\", 0), Row("r1", "", "C:\\", 1), Row("r2", "", "C:\\", 2)},
         {2, 0},
         "r2,,C:\\,2,2026-01-02 03:04:05,C:\\Temp,*.tmp\r\n"
         "r0,,C:\\,0,2026-01-02 03:04:05,C:\\Temp,*.tmp\r\n"},
        {"no rows: the header alone", {}, {}, ""},
    };
    for (const auto& c : cases) {
        const std::string csv = ResultListCsv(static_cast<int>(c.rows.size()), c.selected, [&](int row) {
            return c.rows.at(static_cast<std::size_t>(row));
        });
        EXPECT_EQ(csv, kHeader + c.lines) << c.what;
    }
}

}  // namespace
}  // namespace kelvaro
