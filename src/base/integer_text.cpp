#include "base/integer_text.h"

#include "base/errors.h"

namespace kelvaro {

namespace {

// -1 when c is not a digit of the base.
int DigitValue(char c, bool hex) {
    if (c >= '0' && c <= '9') return c - '0';
    if (hex && c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (hex && c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::int32_t StrToInt(const std::string& text) {
    auto fail = [&text]() { return EConvertError("'" + text + "' is not a valid integer value"); };

    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    const bool hex = i < text.size() && text[i] == '$';
    if (hex) ++i;
    if (i == text.size()) throw fail();

    // Stop accumulating as soon as the value is out of reach, so that any number of digits is safe. A
    // hexadecimal number is a value like any other, not a bit pattern: "$FFFFFFFF" read as -1 would turn
    // "> $FFFFFFFF Bytes" into a rule that matches every file.
    const std::uint64_t limit = negative ? 2147483648u : 2147483647u;
    std::uint64_t value = 0;
    for (; i < text.size(); ++i) {
        const int digit = DigitValue(text[i], hex);
        if (digit < 0) throw fail();
        value = value * (hex ? 16 : 10) + static_cast<std::uint64_t>(digit);
        if (value > limit) throw fail();
    }
    // Unsigned arithmetic reaches -2147483648 without undefined behaviour.
    std::uint32_t bits = static_cast<std::uint32_t>(value);
    if (negative) bits = 0u - bits;
    return static_cast<std::int32_t>(bits);
}

}  // namespace kelvaro
