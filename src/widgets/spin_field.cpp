#include "widgets/spin_field.h"

#include "base/errors.h"
#include "base/integer_text.h"

namespace kelvaro {

std::int32_t SpinFieldValue(const std::string& text) {
    try {
        return StrToInt(text);
    } catch (const EConvertError&) {
        return 0;
    }
}

std::string SpinFieldStep(const std::string& text, int steps) {
    // Unsigned arithmetic: the wrap at the range's ends is defined, and a wrapped negative is then
    // corrected to 0 by the change rule like any other negative.
    const auto value = static_cast<std::uint32_t>(SpinFieldValue(text)) + static_cast<std::uint32_t>(steps);
    return std::to_string(static_cast<std::int32_t>(value));
}

std::string SpinFieldCorrection(const std::string& text) {
    return SpinFieldValue(text) < 0 ? "0" : "";
}

bool SpinFieldAcceptsKey(char key, char decimalSeparator) {
    const auto code = static_cast<unsigned char>(key);
    if (code < 32) return true;
    return (key >= '0' && key <= '9') || key == '+' || key == '-' || key == decimalSeparator;
}

}  // namespace kelvaro
