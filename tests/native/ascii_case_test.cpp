#include "base/ascii_case.h"

#include <gtest/gtest.h>

namespace kelvaro {
namespace {

// The neighbours of both letter ranges and the code page's own letters stay as they are.
TEST(UpperAscii, ChangesOnlyTheLettersAToZ) {
    EXPECT_EQ(UpperAscii(std::string("az`{@[AZ.lnk")), "AZ`{@[AZ.LNK");
    EXPECT_EQ(UpperAscii(std::string("\xe9\xe0\xff")), "\xe9\xe0\xff");
    std::string text("a\0b", 3);
    UpperAsciiInPlace(text.data(), text.data() + 2);
    EXPECT_EQ(text, std::string("A\0b", 3));
}

}  // namespace
}  // namespace kelvaro
