#include "platform/wildcard_posix.h"

#include "base/wildcard_match.h"

namespace kelvaro {
namespace {

char FoldCase(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

bool WildcardMatches(std::string_view pattern, std::string_view name) {
    return WildcardMatch(pattern, name, [](char a, char b) { return FoldCase(a) == FoldCase(b); });
}

}  // namespace kelvaro
