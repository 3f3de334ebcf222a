#pragma once
// The folder a run searches for a rule.
#include <string>

#include "platform/full_path.h"

namespace kelvaro {

// A relative location ("Temp", ".\Temp", "\Temp", "C:Temp") made absolute now, when the run starts: its
// rows then hold full paths, and a later change of the current folder cannot send their deletes
// elsewhere. An absolute location, and one of nothing but blanks (which names no folder to the scanner),
// stay as they are; the rule's own text is not changed. Throws Exception, naming the rule (counted
// from 1), when the platform cannot make the path absolute.
std::string RunFolder(const std::string& location, int ruleNumber, FullPaths& paths);

}  // namespace kelvaro
