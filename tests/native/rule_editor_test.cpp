// The rule editor's window-free decisions.
#include "rules/rule_editor.h"

#include <gtest/gtest.h>

namespace kelvaro {
namespace {

TEST(RuleEditorSpinField, TextsReadAsWholeNumbersOrZero) {
    const struct {
        const char* text;
        std::int32_t value;
    } cases[] = {
        {"30", 30},
        {"+7", 7},
        {"-5", -5},
        {"", 0},
        {"-", 0},
        {"1.5", 0},
        {"12 ", 0},
        {"abc", 0},
        {"$10", 16},
        {"2147483648", 0},
        {"-2147483648", INT32_MIN},
    };
    for (const auto& c : cases) EXPECT_EQ(SpinFieldValue(c.text), c.value) << '"' << c.text << '"';
}

TEST(RuleEditorSpinField, NegativesAreCorrectedAndStepsWrap) {
    EXPECT_EQ(SpinFieldCorrection("-5"), "0");
    EXPECT_EQ(SpinFieldCorrection("-"), "");  // not yet a number: left for the user to finish
    EXPECT_EQ(SpinFieldCorrection("5"), "");
    EXPECT_EQ(SpinFieldCorrection("x"), "");

    EXPECT_EQ(SpinFieldStep("0", -1), "-1");  // the change rule then turns it into 0
    EXPECT_EQ(SpinFieldStep("9", 1), "10");
    EXPECT_EQ(SpinFieldStep("junk", 1), "1");
    EXPECT_EQ(SpinFieldStep("2147483647", 1), "-2147483648");
}

TEST(RuleEditorSpinField, KeysKeptAndRefused) {
    for (char key : std::string("0123456789+-.\b\x01\r"))
        EXPECT_TRUE(SpinFieldAcceptsKey(key, '.')) << int(key);
    for (char key : std::string("aZ ,*/\x7f\xe9\xb2"))
        EXPECT_FALSE(SpinFieldAcceptsKey(key, '.')) << int(key);
    EXPECT_TRUE(SpinFieldAcceptsKey(',', ','));
    EXPECT_FALSE(SpinFieldAcceptsKey('.', ','));
}

TEST(RuleEditorShortcutBox, ShownOnlyForTheShortcutPatternInAnyCase) {
    for (const char* pattern : {"*.LNK", "*.lnk", "*.LnK"})
        EXPECT_TRUE(ShortcutBoxVisible(pattern)) << pattern;
    for (const char* pattern : {"*.LNK;*.TMP", "*.LNK ", " *.lnk", "*.LN", "a.LNK", "", "*.\xccNK"})
        EXPECT_FALSE(ShortcutBoxVisible(pattern)) << pattern;
}

TEST(RuleEditorChosenPath, SplitsIntoFolderAndName) {
    const struct {
        const char* path;
        const char* folder;
        const char* name;
    } cases[] = {
        {"C:\\TEMP\\A.TMP", "C:\\TEMP", "A.TMP"},
        {"C:\\A.TMP", "C:\\", "A.TMP"},
        {"C:\\TEMP\\SUB\\b c.txt", "C:\\TEMP\\SUB", "b c.txt"},
        {"\\\\server\\share\\a", "\\\\server\\share\\", "a"},
        {"\\\\server\\a", "\\\\server\\", "a"},
        {"\\\\server\\share\\dir\\a", "\\\\server\\share\\dir", "a"},
        {"\\A.TMP", "\\", "A.TMP"},
        {"C:A.TMP", "C:", "A.TMP"},
        {"A.TMP", "", "A.TMP"},
        {"C:\\TEMP\\", "C:\\TEMP", ""},
    };
    for (const auto& c : cases) {
        const FolderAndName parts = SplitChosenPath(c.path);
        EXPECT_EQ(parts.Folder, c.folder) << c.path;
        EXPECT_EQ(parts.Name, c.name) << c.path;
    }
}

TEST(RuleEditorLocation, EmptyLocationIsDriveCRoot) {
    EXPECT_EQ(LocationForSaving(""), "C:\\");
    EXPECT_EQ(LocationForSaving(" "), " ");
    EXPECT_EQ(LocationForSaving("D:\\X"), "D:\\X");
}

}  // namespace
}  // namespace kelvaro
