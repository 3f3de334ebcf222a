#pragma once
#include <string>

namespace kelvaro {

inline const std::string kApplicationTitle = "Kelvaro";
inline const std::string kHelpFileName = "Kelvaro.hlp";

// The text of the box that shows an exception no handler caught: the message, with a "." added
// when its last character sorts after "." (so "... value'" or "Stop!" get none).
std::string ExceptionDisplayText(const std::string& message);

}  // namespace kelvaro
