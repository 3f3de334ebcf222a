// The rule editor's window-free decisions.
#include "rules/rule_editor.h"

#include <gtest/gtest.h>

namespace kelvaro {
namespace {

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
