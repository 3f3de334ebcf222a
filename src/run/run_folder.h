#pragma once
// The folder a run searches for a rule.
#include <string>
#include <vector>

#include "platform/full_path.h"

namespace kelvaro {

// A relative location ("Temp", ".\Temp", "\Temp", "C:Temp") made absolute now, when the run starts: its
// rows then hold full paths, and a later change of the current folder cannot send their deletes
// elsewhere. An absolute location, and one of nothing but blanks (which names no folder to the scanner),
// stay as they are; the rule's own text is not changed. Throws Exception, naming the rule (counted
// from 1), when the platform cannot make the path absolute.
std::string RunFolder(const std::string& location, int ruleNumber, FullPaths& paths);

// The protected items of a run with their folder parts made absolute now, as a rule's location is; a bare
// file specification stays as it is. Throws Exception, naming the item, when the platform cannot make one
// absolute: searching on without it could list what it protects.
std::vector<std::string> RunProtectedItems(const std::vector<std::string>& items, FullPaths& paths);

}  // namespace kelvaro
