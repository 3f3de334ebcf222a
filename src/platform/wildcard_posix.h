#pragma once
#include <string_view>

namespace kelvaro {

// The directory search's wildcards: "*" any run of characters, "?" any one character, letters
// compared without regard to case, and "*.*" matching every name (with or without a dot).
bool WildcardMatches(std::string_view pattern, std::string_view name);

}  // namespace kelvaro
