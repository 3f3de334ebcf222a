#pragma once
#include <memory>
#include <string>

namespace kelvaro {

// The user's number and date conventions.
class LocaleFormats {
public:
    virtual ~LocaleFormats() = default;
    virtual std::string ThousandSeparator() = 0;
    virtual std::string DecimalSeparator() = 0;
    // A date picture such as "M/d/yyyy" or "dd.MM.yyyy" (see FormatShortDate).
    virtual std::string ShortDatePattern() = 0;
};

std::unique_ptr<LocaleFormats> MakePlatformLocaleFormats();

}  // namespace kelvaro
