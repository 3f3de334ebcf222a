#include "run/restore_cleanup.h"

#include <cstdio>
#include <map>
#include <set>

#include "base/digit_groups.h"
#include "platform/name_case.h"

namespace kelvaro {
namespace {

std::string Count(int n, const std::string& thousandSeparator) {
    return GroupThousands(std::to_string(n), thousandSeparator);
}

std::string Files(int n, const std::string& thousandSeparator) {
    return Count(n, thousandSeparator) + (n == 1 ? " file" : " files");
}

std::string DayAndMinute(const LocalTime& t) {
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d at %02d:%02d", t.year, t.month, t.day, t.hour, t.minute);
    return text;
}

// A clean-up deletes a path once at most: its restored lines are told from its files by path.
std::wstring Key(const std::string& path) {
    return UpperCaseName(std::string_view(path));
}

}  // namespace

std::optional<LastCleanup> FindLastCleanup(const std::vector<RecordedLine>& lines) {
    std::string id;
    for (const RecordedLine& line : lines)
        if (line.kind != RecordedKind::Restored && !line.file.cleanup.empty()) id = line.file.cleanup;
    if (id.empty()) return std::nullopt;
    LastCleanup cleanup;
    cleanup.id = id;
    std::set<std::wstring> restored;
    for (const RecordedLine& line : lines)
        if (line.file.cleanup == id && line.kind == RecordedKind::Restored)
            restored.insert(Key(line.file.path));
    bool first = true;
    for (const RecordedLine& line : lines) {
        if (line.file.cleanup != id || line.kind == RecordedKind::Restored) continue;
        if (first) {
            cleanup.when = line.file.when;
            cleanup.automatic = line.file.automatic;
            first = false;
        }
        if (line.kind == RecordedKind::Deleted)
            ++cleanup.deletedForGood;
        else if (restored.count(Key(line.file.path)))
            ++cleanup.restoredAlready;
        else
            cleanup.recycled.push_back(line.file);
    }
    return cleanup;
}

RestorePlan PlanRestore(const LastCleanup& cleanup, RecycleBin& bin) {
    RestorePlan plan;
    if (cleanup.recycled.empty()) return plan;
    const std::vector<BinItem> items = bin.Items();
    // Items by original path as the platform compares names; a file deleted from the same path several
    // times is told by its time of deletion.
    std::multimap<std::wstring, std::size_t> byPath;
    for (std::size_t i = 0; i < items.size(); ++i)
        byPath.emplace(UpperCaseName(std::string_view(items[i].originalPath)), i);
    std::vector<bool> taken(items.size(), false);
    for (const DeletedFileEntry& file : cleanup.recycled) {
        const std::vector<std::string> times = bin.DeletedAtTexts(file.when);
        std::optional<std::size_t> match;
        const auto [begin, end] = byPath.equal_range(UpperCaseName(std::string_view(file.path)));
        for (auto it = begin; it != end && !match; ++it)
            for (const std::string& time : times)
                if (!taken[it->second] && items[it->second].deletedAt == time) match = it->second;
        if (!match) {
            ++plan.notInBin;
            continue;
        }
        taken[*match] = true;
        plan.found.emplace_back(file, *match);
        plan.bytes += file.size;
    }
    return plan;
}

std::optional<std::string> NothingToRestore(const std::optional<LastCleanup>& cleanup,
                                            const RestorePlan& plan, const std::string& thousandSeparator) {
    if (!cleanup) return "The deletion record holds no clean-up to restore.";
    if (!plan.found.empty()) return std::nullopt;
    const std::string last = "The last clean-up, on " + DayAndMinute(cleanup->when) + ", ";
    if (plan.notInBin > 0)
        return last + "sent " + Files(plan.notInBin, thousandSeparator) +
               " to the Recycle Bin that are no longer there: nothing can be restored.";
    if (cleanup->restoredAlready > 0) return last + "has been restored already.";
    return last + "deleted " + Files(cleanup->deletedForGood, thousandSeparator) +
           " for good: nothing can be restored.";
}

std::string RestoreQuestion(const LastCleanup& cleanup, const RestorePlan& plan,
                            const std::string& thousandSeparator, const std::string& decimalSeparator) {
    std::string text = "Restore " + Files(static_cast<int>(plan.found.size()), thousandSeparator) + " (" +
                       ByteSizeText(plan.bytes, thousandSeparator, decimalSeparator) + ") deleted on " +
                       DayAndMinute(cleanup.when) +
                       (cleanup.automatic ? " by an automatic run?" : " from the results list?");
    std::string cannot;
    auto line = [&](int n, const char* why) {
        if (n > 0) cannot += "\n" + Files(n, thousandSeparator) + why;
    };
    line(cleanup.deletedForGood, " deleted for good cannot be restored.");
    line(plan.notInBin, " are no longer in the Recycle Bin.");
    return cannot.empty() ? text : text + "\n" + cannot;
}

RestoreResult RestoreFiles(const RestorePlan& plan, RecycleBin& bin,
                           const std::function<void(const DeletedFileEntry&)>& onRestored) {
    RestoreResult result;
    result.notInBin = plan.notInBin;
    for (const auto& [file, item] : plan.found) {
        switch (bin.Restore(item, file.size)) {
            case RestoreOutcome::Restored:
                ++result.restored;
                if (onRestored) onRestored(file);
                break;
            case RestoreOutcome::Occupied:
                ++result.occupied;
                break;
            case RestoreOutcome::Failed:
                ++result.failed;
                break;
        }
    }
    return result;
}

std::string RestoreResultText(const RestoreResult& result, const std::string& thousandSeparator) {
    std::string text = Files(result.restored, thousandSeparator) + " came back.";
    auto line = [&](int n, const char* one, const char* many) {
        if (n > 0) text += "\n" + Files(n, thousandSeparator) + (n == 1 ? one : many);
    };
    line(result.occupied, " stayed in the Recycle Bin: another file is at its place now.",
         " stayed in the Recycle Bin: other files are at their places now.");
    line(result.failed, " could not be restored and stayed in the Recycle Bin.",
         " could not be restored and stayed in the Recycle Bin.");
    line(result.notInBin, " was no longer in the Recycle Bin.", " were no longer in the Recycle Bin.");
    return text;
}

}  // namespace kelvaro
