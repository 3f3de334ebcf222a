#include "widgets/platform_collation_win.h"

#include <windows.h>

namespace kelvaro {
namespace {

class LstrcmpCollation final : public KeyedCollation {
public:
    int Compare(const std::string& a, const std::string& b) const override {
        return lstrcmpA(a.c_str(), b.c_str());
    }

    // The sort keys of LCMapStringA are made to compare as CompareStringA (and so lstrcmpA, which is
    // CompareStringA in the thread's locale with no flags) compares their texts: pair for pair, ties
    // included. So a sort of a million names asks for a million keys, not twenty million comparisons.
    bool KeysAreExact() const override { return true; }

    // A text's collation key in the user's locale.
    std::string Key(const std::string& text) const override {
        const LCID locale = GetThreadLocale();
        // Most keys fit a small buffer, so most texts are mapped once rather than measured first.
        char small[256];
        int length = LCMapStringA(locale, LCMAP_SORTKEY, text.c_str(), -1, small, sizeof small);
        if (length > 0) return std::string(small, static_cast<std::size_t>(length));
        length = LCMapStringA(locale, LCMAP_SORTKEY, text.c_str(), -1, nullptr, 0);
        if (length <= 0) return text;
        std::string key(static_cast<std::size_t>(length), '\0');
        LCMapStringA(locale, LCMAP_SORTKEY, text.c_str(), -1, key.data(), length);
        return key;
    }
};

}  // namespace

const KeyedCollation& PlatformCollation() {
    static const LstrcmpCollation collation;
    return collation;
}

}  // namespace kelvaro
