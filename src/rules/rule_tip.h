#pragma once
// The info tip of a results row: the rule that listed the file, as the setup list shows it.
#include <string>

#include "rules/search_rule.h"

namespace kelvaro {

// One line per setup-list column that says what the rule looks for (the removable-drive option, which
// only says which shortcuts count as working, is left out); a blank cell reads "(none)".
std::string RuleTipText(int ruleNumber, const RuleRow& rule);

}  // namespace kelvaro
