// Control texts read back whole.
#include "ui/window_text_win.h"

#include <gtest/gtest.h>

namespace kelvaro::testing {
namespace {

TEST(WindowText, ReadsLongAndEmptyTextsWhole) {
    HWND edit = CreateWindowA("EDIT", "", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(edit);
    EXPECT_EQ(WindowText(edit), "");
    const std::string path = "C:\\" + std::string(600, 'x') + "\\end.tmp";
    SetWindowTextA(edit, path.c_str());
    EXPECT_EQ(WindowText(edit), path);
    DestroyWindow(edit);
}

}  // namespace
}  // namespace kelvaro::testing
