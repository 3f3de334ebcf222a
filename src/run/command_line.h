#pragma once
// The program's command line, as the process received it in one text.
#include <string>

namespace kelvaro {

// The first argument after the program's name. Any character up to and including the blank separates
// arguments; double quotes group blanks into an argument and are dropped; an empty pair of quotes makes
// no argument of its own. "" when there is no argument.
std::string FirstArgument(const std::string& commandLine);

// Exactly "-a", "-A", "/a" or "/A".
bool IsAutomaticModeArgument(const std::string& argument);

}  // namespace kelvaro
