#include "rules/rule_tip.h"

#include <gtest/gtest.h>

namespace kelvaro::testing {
namespace {

TEST(RuleTipText, TheRuleAsTheSetupListShowsItBlankCellsNamed) {
    RuleRow rule{"C:\\Temp", {"*.tmp", "> 30 Days", "  ", "Yes", " "}, 3};
    EXPECT_EQ(RuleTipText(2, rule),
              "Listed by rule 2\r\nLocation: C:\\Temp\r\nFile Specs: *.tmp\r\nFile Age: > 30 Days\r\n"
              "File Size: (none)\r\nSubDir: Yes");
}

}  // namespace
}  // namespace kelvaro::testing
