#include <clocale>

#include "platform/locale_formats.h"

namespace kelvaro {
namespace {

class PosixLocaleFormats : public LocaleFormats {
public:
    std::string ThousandSeparator() override {
        const std::lconv* conventions = std::localeconv();
        // The "C" locale has none; "," is what an English-language Windows uses.
        if (!conventions || !conventions->thousands_sep || !*conventions->thousands_sep) return ",";
        return conventions->thousands_sep;
    }
    std::string DecimalSeparator() override {
        const std::lconv* conventions = std::localeconv();
        if (!conventions || !conventions->decimal_point || !*conventions->decimal_point) return ".";
        return conventions->decimal_point;
    }
    // The C library has no date picture in the Windows form; this is the English-language one.
    std::string ShortDatePattern() override { return "M/d/yy"; }
};

}  // namespace

std::unique_ptr<LocaleFormats> MakePlatformLocaleFormats() {
    return std::make_unique<PosixLocaleFormats>();
}

}  // namespace kelvaro
