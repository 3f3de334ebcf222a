// The whole-number conversion of registry texts and rule cells: a number it accepts prints back as itself.
#include <cstdlib>
#include <string>

#include "base/errors.h"
#include "base/integer_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    try {
        const std::int32_t value = kelvaro::StrToInt(text);
        // Accepted again from its own decimal form, to the same value.
        if (kelvaro::StrToInt(std::to_string(value)) != value) std::abort();
    } catch (const kelvaro::Exception&) {
    }
    return 0;
}
