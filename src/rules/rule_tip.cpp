#include "rules/rule_tip.h"

namespace kelvaro {
namespace {

std::string Shown(const std::string& cell) {
    const auto first = cell.find_first_not_of(' ');
    if (first == std::string::npos) return "(none)";
    return cell.substr(first, cell.find_last_not_of(' ') - first + 1);
}

}  // namespace

std::string RuleTipText(int ruleNumber, const RuleRow& rule) {
    return "Listed by rule " + std::to_string(ruleNumber) + "\r\nLocation: " + Shown(rule.Caption) +
           "\r\nFile Specs: " + Shown(rule.SubItems[0]) + "\r\nFile Age: " + Shown(rule.SubItems[1]) +
           "\r\nFile Size: " + Shown(rule.SubItems[2]) + "\r\nSubDir: " + Shown(rule.SubItems[3]);
}

}  // namespace kelvaro
