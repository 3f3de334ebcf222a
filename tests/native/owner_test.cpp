#include "base/owner.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace kelvaro {
namespace {

// Handles are small integers, 0 is none; every close is written down.
std::vector<int> closed;

struct FakeKind {
    using Handle = int;
    static Handle None() { return 0; }
    static bool IsNone(Handle handle) { return handle == 0; }
    static void Close(Handle handle) { closed.push_back(handle); }
};
using FakeOwner = Owner<FakeKind>;

TEST(OwnerTest, EveryHandleIsClosedOnceByItsLastOwner) {
    closed.clear();
    {
        FakeOwner first(1);
        FakeOwner second(std::move(first));
        EXPECT_FALSE(first);
        FakeOwner third(3);
        third = std::move(second);  // 3 goes now, 1 moves on
        EXPECT_EQ(closed, std::vector<int>{3});
        EXPECT_EQ(third.Get(), 1);
        FakeOwner given(4);
        EXPECT_EQ(given.Release(), 4);  // given away: not closed
        third.Reset(5);
        EXPECT_EQ(closed, (std::vector<int>{3, 1}));
    }
    EXPECT_EQ(closed, (std::vector<int>{3, 1, 5}));
}

}  // namespace
}  // namespace kelvaro
