// The about box's figures and placement.
#include "app/about_box.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace kelvaro::testing {
namespace {

TEST(AboutBoxFigures, MemoryHasOneCommaBeforeTheLastThreeDigits) {
    constexpr std::uint64_t KB = 1024, MB = 1024 * KB, GB = 1024 * MB;
    const std::vector<std::pair<std::uint64_t, std::string>> cases = {
        {16 * MB, "16,384 KB"},
        {32 * MB, "32,768 KB"},
        {1 * GB, "1048,576 KB"},  // no second comma
        {2 * GB - 1, "2097,151 KB"},
        {2 * GB, "2,048 MB"},                // beyond signed 32-bit bytes, kilobytes would not fit the box
        {24 * GB + 1023 * KB, "24,576 MB"},  // the rest of a megabyte is dropped
        {1000 * KB, "1,000 KB"},
        {999 * KB + 1023, ",999 KB"},  // three digits still get the comma
        {12 * KB, ",12 KB"},
        {1023, ",0 KB"},
        {UINT64_MAX, "17592186044,415 MB"},
    };
    for (const auto& [bytes, text] : cases) {
        EXPECT_EQ(MemoryFigureText(bytes), text) << bytes;
        EXPECT_EQ(std::count(text.begin(), text.end(), ','), 1);
    }
}

TEST(AboutBoxFigures, ResourceShare) {
    EXPECT_EQ(ResourceFigureText(42), "42% Free");
    EXPECT_EQ(ResourceFigureText(0), "0% Free");
    EXPECT_EQ(PercentFree(0, 10000), 100u);
    EXPECT_EQ(PercentFree(1, 10000), 99u);  // rounded down, never overstated
    EXPECT_EQ(PercentFree(5800, 10000), 42u);
    EXPECT_EQ(PercentFree(10000, 10000), 0u);
    EXPECT_EQ(PercentFree(20000, 10000), 0u);
    EXPECT_EQ(PercentFree(5, 0), 0u);
}

}  // namespace
}  // namespace kelvaro::testing
