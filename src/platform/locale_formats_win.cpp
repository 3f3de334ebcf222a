#include <windows.h>

#include "platform/locale_formats.h"

namespace kelvaro {
namespace {

class Win32LocaleFormats : public LocaleFormats {
public:
    std::string ThousandSeparator() override {
        char separator[8] = {};
        if (!GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, separator, sizeof separator)) return ",";
        return separator;
    }
};

}  // namespace

std::unique_ptr<LocaleFormats> MakePlatformLocaleFormats() { return std::make_unique<Win32LocaleFormats>(); }

}  // namespace kelvaro
