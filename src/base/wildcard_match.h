#pragma once
// Matching a name against a wildcard pattern as the platform's directory search does for long names: "*"
// any run of characters, "?" any one, "*.*" every name.
#include <string_view>

namespace kelvaro {

// same(patternCharacter, nameCharacter): whether two characters count as the same (letter case, say).
template <class Char, class Same>
bool WildcardMatch(std::basic_string_view<Char> pattern, std::basic_string_view<Char> name, Same same) {
    constexpr Char kStar = static_cast<Char>('*'), kAny = static_cast<Char>('?'),
                   kDot = static_cast<Char>('.');
    if (pattern.size() == 3 && pattern[0] == kStar && pattern[1] == kDot && pattern[2] == kStar) return true;
    std::size_t p = 0, n = 0;
    std::size_t starP = std::basic_string_view<Char>::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == kStar) {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() && (pattern[p] == kAny || same(pattern[p], name[n]))) {
            ++p;
            ++n;
        } else if (starP != std::basic_string_view<Char>::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == kStar) ++p;
    return p == pattern.size();
}

}  // namespace kelvaro
