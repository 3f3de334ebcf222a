// The number field's reading and filtering of what is typed.
#include "widgets/spin_field.h"

#include <gtest/gtest.h>

namespace kelvaro {
namespace {

TEST(SpinField, TextsReadAsWholeNumbersOrZero) {
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

TEST(SpinField, NegativesAreCorrectedAndStepsWrap) {
    EXPECT_EQ(SpinFieldCorrection("-5"), "0");
    EXPECT_EQ(SpinFieldCorrection("-"), "");  // not yet a number: left for the user to finish
    EXPECT_EQ(SpinFieldCorrection("5"), "");
    EXPECT_EQ(SpinFieldCorrection("x"), "");

    EXPECT_EQ(SpinFieldStep("0", -1), "-1");  // the change rule then turns it into 0
    EXPECT_EQ(SpinFieldStep("9", 1), "10");
    EXPECT_EQ(SpinFieldStep("junk", 1), "1");
    EXPECT_EQ(SpinFieldStep("2147483647", 1), "-2147483648");
}

TEST(SpinField, KeysKeptAndRefused) {
    for (char key : std::string("0123456789+-.\b\x01\r"))
        EXPECT_TRUE(SpinFieldAcceptsKey(key, '.')) << int(key);
    for (char key : std::string("aZ ,*/\x7f\xe9\xb2"))
        EXPECT_FALSE(SpinFieldAcceptsKey(key, '.')) << int(key);
    EXPECT_TRUE(SpinFieldAcceptsKey(',', ','));
    EXPECT_FALSE(SpinFieldAcceptsKey('.', ','));
}

}  // namespace
}  // namespace kelvaro
