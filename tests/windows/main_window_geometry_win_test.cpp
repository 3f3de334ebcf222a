// What the window stores of its own shape: the bounds it has when restored and the report columns'
// widths, whatever state and view style it is in when it closes.
#include <gtest/gtest.h>
#include <windows.h>

#include "windows/main_window_fixture.h"

namespace kelvaro::testing {
namespace {

TEST_F(MainWindowTest, ColumnWidthsSurviveAStartAndCloseInEveryViewStyle) {
    for (const char* style : {"List", "Small", "Large"}) {
        SetString("Settings", "Style", style);
        SetString("Settings", "ColumnA0", "111");
        SetString("Settings", "ColumnA4", "77");
        SetString("Settings", "ColumnB0", "123");
        TForm1& f = Open();
        EXPECT_NE(f.ListView().GetViewStyle(), ViewStyle::Report) << style;
        ASSERT_TRUE(Closes()) << style;
        EXPECT_EQ(GetString("Settings", "ColumnA0"), "111") << style;
        EXPECT_EQ(GetString("Settings", "ColumnA4"), "77") << style;
        EXPECT_EQ(GetString("Settings", "ColumnA5"), "40") << style;
        EXPECT_EQ(GetString("Settings", "ColumnB0"), "123") << style;
        // The report view shows the widths the store holds.
        TForm1& again = Open();
        Click(cmd::EBDetails);
        EXPECT_EQ(again.ListView().ColumnWidth(0), 111) << style;
        EXPECT_EQ(again.ListView().ColumnWidth(5), 77) << style;
    }
}

}  // namespace
}  // namespace kelvaro::testing
