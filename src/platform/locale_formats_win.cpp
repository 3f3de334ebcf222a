#include <windows.h>

#include "platform/locale_formats.h"

namespace kelvaro {
namespace {

// The locale's text for item, or fallback when the locale has none.
std::string LocaleText(LCTYPE item, const char* fallback) {
    char text[128] = {};  // a date picture may reach 80 characters
    if (!GetLocaleInfoA(LOCALE_USER_DEFAULT, item, text, sizeof text) || !*text) return fallback;
    return text;
}

class Win32LocaleFormats : public LocaleFormats {
public:
    std::string ThousandSeparator() override {
        char separator[8] = {};
        if (!GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, separator, sizeof separator)) return ",";
        return separator;  // may be empty: a locale that does not group digits
    }
    std::string DecimalSeparator() override { return LocaleText(LOCALE_SDECIMAL, "."); }
    // The legacy picture, where "m" is the month.
    std::string ShortDatePattern() override { return LocaleText(LOCALE_SSHORTDATE, "m/d/yy"); }
};

}  // namespace

std::unique_ptr<LocaleFormats> MakePlatformLocaleFormats() {
    return std::make_unique<Win32LocaleFormats>();
}

}  // namespace kelvaro
