#include "run/automatic_guard.h"

#include <algorithm>
#include <charconv>
#include <cstdint>

#include "base/digit_groups.h"
#include "run/deletion.h"

namespace kelvaro {
namespace {

RunFigures Largest(const std::vector<RunFigures>& history) {
    RunFigures largest;
    for (const RunFigures& run : history) {
        largest.files = std::max(largest.files, run.files);
        largest.bytes = std::max(largest.bytes, run.bytes);
    }
    return largest;
}

bool Outgrows(std::int64_t now, std::int64_t before) {
    // A figure too large to multiply is one no run can outgrow.
    if (before > INT64_MAX / kGuardGrowth) return false;
    return now > before * kGuardGrowth;
}

std::string Figures(const RunFigures& run) {
    return GroupThousands(std::to_string(run.files), ",") + (run.files == 1 ? " file, " : " files, ") +
           GroupThousands(std::to_string(run.bytes), ",") + " bytes";
}

bool ReadNumber(RegistryKey& key, const std::string& name, std::int64_t& number) {
    RegistryValue value = key.ReadValue(name);
    if (value.type != RegistryValueType::String) return false;
    std::string text = value.data;
    if (!text.empty() && text.back() == '\0') text.pop_back();
    const char* end = text.data() + text.size();
    auto [stop, error] = std::from_chars(text.data(), end, number);
    return error == std::errc() && stop == end && number >= 0;
}

}  // namespace

bool GuardStopsRun(const RunFigures& run, const std::vector<RunFigures>& history) {
    const RunFigures largest = Largest(history);
    // Either figure may give the run away: a rule that now reaches a folder of a few huge files grows in
    // bytes only, one that reaches a folder of many small ones in files only.
    const bool grown = Outgrows(run.files, largest.files) || Outgrows(run.bytes, largest.bytes);
    const bool large = run.files > kGuardFileFloor || run.bytes > kGuardByteFloor;
    return grown && large;
}

std::string GuardQuestion(const RunFigures& run, const std::vector<RunFigures>& history, bool useRecycleBin) {
    const std::string found = "This automatic run found " + Figures(run) + " to delete";
    const std::string before = history.empty()
                                   ? ", and there is no earlier automatic run to compare it with."
                                   : ", more than ten times what the last automatic runs deleted (at most " +
                                         Figures(Largest(history)) + ").";
    return found + before + "\n\nNothing has been deleted yet. Delete these files now?" +
           ForGoodNote(useRecycleBin);
}

std::string ConfirmedRunQuestion(const RunFigures& run, const std::vector<RunFigures>& history,
                                 bool useRecycleBin) {
    std::string text = "Delete files found for Kelvaro?" + ForGoodNote(useRecycleBin) +
                       "\n\nThis automatic run found " + Figures(run) + ".";
    if (GuardStopsRun(run, history))
        text += history.empty()
                    ? " There is no earlier automatic run to compare it with."
                    : " That is more than ten times what the last automatic runs deleted (at most " +
                          Figures(Largest(history)) + ").";
    return text;
}

std::vector<RunFigures> ReadRunHistory(RegistryKey& key) {
    std::vector<RunFigures> history;
    for (std::size_t i = 1; i <= kHistoryRuns; ++i) {
        RunFigures run;
        if (!ReadNumber(key, "Files" + std::to_string(i), run.files) ||
            !ReadNumber(key, "Bytes" + std::to_string(i), run.bytes))
            break;
        history.push_back(run);
    }
    return history;
}

bool WriteRunHistory(RegistryKey& key, const RunFigures& run) {
    std::vector<RunFigures> runs = ReadRunHistory(key);
    runs.insert(runs.begin(), run);
    if (runs.size() > kHistoryRuns) runs.resize(kHistoryRuns);
    bool written = true;
    for (std::size_t i = 0; i < runs.size(); ++i) {
        written &= key.WriteString("Files" + std::to_string(i + 1), std::to_string(runs[i].files));
        written &= key.WriteString("Bytes" + std::to_string(i + 1), std::to_string(runs[i].bytes));
    }
    return written;
}

}  // namespace kelvaro
