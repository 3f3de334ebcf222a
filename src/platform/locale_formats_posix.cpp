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
};

}  // namespace

std::unique_ptr<LocaleFormats> MakePlatformLocaleFormats() { return std::make_unique<PosixLocaleFormats>(); }

}  // namespace kelvaro
