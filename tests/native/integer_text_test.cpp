#include "base/integer_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "base/errors.h"

namespace kelvaro {
namespace {

TEST(IntegerTextTest, ConvertsValidTexts) {
    const struct {
        const char* text;
        std::int32_t value;
    } cases[] = {
        {"0", 0},
        {"42", 42},
        {"  42", 42},
        {"+7", 7},
        {"-7", -7},
        {"007", 7},
        {"2147483647", 2147483647},
        {"-2147483648", INT32_MIN},
        {"00000000002147483647", 2147483647},
        {"$1f", 31},
        {"$1F", 31},
        {"-$10", -16},
        {"+$10", 16},
        {"$7FFFFFFF", 2147483647},
        {"-$80000000", INT32_MIN},
        {"-$7FFFFFFF", -2147483647},
        {"$000000001", 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(StrToInt(c.text), c.value) << '"' << c.text << '"';
    }
}

TEST(IntegerTextTest, RejectsInvalidTextsNamingTheWholeText) {
    const char* cases[] = {
        "",
        " ",
        "+",
        "-",
        "$",
        "-$",
        "42 ",
        "4 2",
        "- 5",
        "+-5",
        "1,000",
        "1.0",
        "12a",
        "abc",
        "0x10",
        "$G",
        "$1 ",
        "\t5",
        "2147483648",
        "-2147483649",
        "99999999999999999999999",
        "$100000000",
        "$FFFFFFFFF",
        "10 kbytes",
        // Hexadecimal numbers are values, not 32-bit patterns: these do not fit.
        "$80000000",
        "$FFFFFFFF",
        "-$FFFFFFFF",
        "-$80000001",
    };
    for (const char* text : cases) {
        try {
            StrToInt(text);
            ADD_FAILURE() << "no error for \"" << text << '"';
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), "'" + std::string(text) + "' is not a valid integer value");
        }
    }
}

}  // namespace
}  // namespace kelvaro
