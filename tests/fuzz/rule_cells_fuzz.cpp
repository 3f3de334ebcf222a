// A rule's cells as the registry may hold them: a run either refuses the rule or takes exactly what the
// editor writes, and the editor writes the same cells again from what it reads.
#include <cstdlib>

#include "base/errors.h"
#include "fuzz/fuzz_input.h"
#include "native/fake_platform.h"
#include "rules/search_rule.h"
#include "search/file_scan.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto fields = kelvaro::fuzzing::Fields(data, size, 6);
    kelvaro::RuleRow row{fields[0], {fields[1], fields[2], fields[3], fields[4], fields[5]}};
    static kelvaro::testing::FakePlatform platform;
    kelvaro::TFileScan scan(platform.Get());
    bool runnable = true;
    try {
        kelvaro::DecodeRuleForRun(row, 1, scan);
    } catch (const kelvaro::Exception&) {
        runnable = false;
    }
    kelvaro::RuleValues values;
    try {
        kelvaro::DecodeRuleForEditing(row, values);
    } catch (const kelvaro::Exception&) {
        if (runnable && (!row.SubItems[1].empty() || !row.SubItems[2].empty())) return 0;
    }
    // A rule a run accepts has age and size cells the editor itself would write (or none).
    if (runnable) {
        const kelvaro::RuleRow again = kelvaro::EncodeRule(values);
        for (int cell : {1, 2}) {
            const std::string& text = row.SubItems[static_cast<std::size_t>(cell)];
            const bool none = text.empty() || text == " " || text == "  ";
            if (!none && again.SubItems[static_cast<std::size_t>(cell)] != text) std::abort();
        }
    }
    return 0;
}
