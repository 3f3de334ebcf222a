// A window centred over another, with the odd pixel and the wider window.
#include "ui/centring.h"

#include <gtest/gtest.h>

namespace kelvaro::testing {
namespace {

TEST(Centring, HalvesTruncateTowardZero) {
    EXPECT_EQ(CentredOrigin(50, 549, 346), 151);
    // A window 5 pixels wider stands out by 2 on the left, not 3.
    EXPECT_EQ(CentredOrigin(50, 341, 346), 48);
    EXPECT_EQ(CentredOrigin(0, 200, 391), -95);  // -191 / 2 is -95, not -96
    EXPECT_EQ(CentredOrigin(-20, 100, 346), -143);
}

}  // namespace
}  // namespace kelvaro::testing
