#include "run/deletion_record.h"

#include <cstdio>
#include <set>

namespace kelvaro {
namespace {

const char* KindText(RecordedKind kind) {
    switch (kind) {
        case RecordedKind::Recycled:
            return "recycled";
        case RecordedKind::Deleted:
            return "deleted";
        case RecordedKind::Restored:
            return "restored";
    }
    return "";
}

std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> fields;
    for (std::size_t start = 0;;) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(
            line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start));
        if (tab == std::string_view::npos) return fields;
        start = tab + 1;
    }
}

// Digits only, no more than `most` of them: no sign, no blank, no hexadecimal.
std::optional<std::uint64_t> Digits(std::string_view text, std::size_t most = 20) {
    if (text.empty() || text.size() > most) return std::nullopt;
    std::uint64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        const std::uint64_t digit = static_cast<std::uint64_t>(c - '0');
        if (value > (UINT64_MAX - digit) / 10) return std::nullopt;
        value = value * 10 + digit;
    }
    return value;
}

std::optional<LocalTime> ParseWhen(std::string_view text) {
    // "2026-12-08 05:40:12"
    if (text.size() != 19 || text[4] != '-' || text[7] != '-' || text[10] != ' ' || text[13] != ':' ||
        text[16] != ':')
        return std::nullopt;
    int parts[6];
    const std::size_t at[6] = {0, 5, 8, 11, 14, 17}, length[6] = {4, 2, 2, 2, 2, 2};
    for (int i = 0; i < 6; ++i) {
        const auto value = Digits(text.substr(at[i], length[i]));
        if (!value) return std::nullopt;
        parts[i] = static_cast<int>(*value);
    }
    return LocalTime{parts[0], parts[1], parts[2], parts[3], parts[4], parts[5]};
}

std::string NewCleanupId(const LocalTime& t, const std::string& writer, int sequence) {
    char id[32];
    std::snprintf(id, sizeof id, "%04d%02d%02d-%02d%02d%02d", t.year, t.month, t.day, t.hour, t.minute,
                  t.second);
    return std::string(id) + (writer.empty() ? "" : "-" + writer) + "-" + std::to_string(sequence);
}

}  // namespace

std::string RecordLine(const DeletedFileEntry& entry, RecordedKind kind) {
    const LocalTime& t = entry.when;
    char when[32];
    std::snprintf(when, sizeof when, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour,
                  t.minute, t.second);
    std::string line = std::string(when) + '\t' + KindText(kind) + '\t' + std::to_string(entry.size) + '\t' +
                       entry.path + "\trule " + std::to_string(entry.ruleNumber) + '\t' +
                       (entry.automatic ? "auto" : "manual");
    if (!entry.cleanup.empty()) line += "\tcleanup " + entry.cleanup;
    return line + "\r\n";
}

std::optional<RecordedLine> ParseRecordLine(std::string_view line) {
    if (line.size() >= 2 && line.substr(line.size() - 2) == "\r\n")
        line.remove_suffix(2);
    else if (!line.empty() && line.back() == '\n')
        line.remove_suffix(1);
    const std::vector<std::string_view> fields = Fields(line);
    if (fields.size() != 6 && fields.size() != 7) return std::nullopt;
    RecordedLine parsed;
    DeletedFileEntry& file = parsed.file;
    const auto when = ParseWhen(fields[0]);
    const auto size = Digits(fields[2]);
    const auto rule = fields[4].substr(0, 5) == "rule " ? Digits(fields[4].substr(5), 9) : std::nullopt;
    if (!when || !size || !rule || fields[3].empty()) return std::nullopt;
    if (fields[1] == "recycled")
        parsed.kind = RecordedKind::Recycled;
    else if (fields[1] == "deleted")
        parsed.kind = RecordedKind::Deleted;
    else if (fields[1] == "restored")
        parsed.kind = RecordedKind::Restored;
    else
        return std::nullopt;
    if (fields[5] != "auto" && fields[5] != "manual") return std::nullopt;
    file.when = *when;
    file.recycled = parsed.kind != RecordedKind::Deleted;
    file.size = *size;
    file.path = std::string(fields[3]);
    file.ruleNumber = static_cast<int>(*rule);
    file.automatic = fields[5] == "auto";
    if (fields.size() == 7) {
        if (fields[6].substr(0, 8) != "cleanup " || fields[6].size() == 8) return std::nullopt;
        file.cleanup = std::string(fields[6].substr(8));
    }
    return parsed;
}

std::vector<RecordedLine> ParseRecord(std::string_view text) {
    std::vector<RecordedLine> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end == std::string_view::npos ? text.size() : end + 1);
        if (auto parsed = ParseRecordLine(line)) lines.push_back(std::move(*parsed));
        text.remove_prefix(line.size());
    }
    return lines;
}

void DeletionRecord::StartCleanup(const LocalTime& when) {
    cleanup_ = NewCleanupId(when, files_.WriterId(), ++cleanups_);
    // Moved aside only between clean-ups, and only once it holds enough that the older generation alone
    // keeps the last clean-ups whole.
    const std::string text = files_.Read(path_);
    const std::vector<RecordedLine> lines = ParseRecord(text);
    if (lines.size() < kKeptLines) return;
    std::set<std::string> cleanups;
    for (const RecordedLine& line : lines)
        if (line.kind != RecordedKind::Restored && !line.file.cleanup.empty())
            cleanups.insert(line.file.cleanup);
    if (cleanups.size() < kKeptCleanups) return;
    // Not moved while another instance writes to it: the record goes on growing rather than losing lines.
    files_.Replace(path_, OlderPath(path_), text.empty() ? 0 : text.size() - 1);
}

bool DeletionRecord::Write(DeletedFileEntry entry) {
    if (cleanup_.empty()) StartCleanup(entry.when);
    entry.cleanup = cleanup_;
    return files_.Append(path_, RecordLine(entry));
}

bool DeletionRecord::WriteRestored(const DeletedFileEntry& entry) {
    return files_.Append(path_, RecordLine(entry, RecordedKind::Restored));
}

void DeletionRecord::Close() {
    files_.Close();
    cleanup_.clear();
}

std::vector<RecordedLine> DeletionRecord::ReadAll() {
    std::vector<RecordedLine> lines = ParseRecord(files_.Read(OlderPath(path_)));
    std::vector<RecordedLine> current = ParseRecord(files_.Read(path_));
    lines.insert(lines.end(), std::make_move_iterator(current.begin()),
                 std::make_move_iterator(current.end()));
    return lines;
}

}  // namespace kelvaro
