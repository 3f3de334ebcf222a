#include "run/deletion_record.h"

#include <cstdio>

namespace kelvaro {

std::string RecordLine(const DeletedFileEntry& entry) {
    const LocalTime& t = entry.when;
    char when[32];
    std::snprintf(when, sizeof when, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour,
                  t.minute, t.second);
    return std::string(when) + '\t' + (entry.recycled ? "recycled" : "deleted") + '\t' +
           std::to_string(entry.size) + '\t' + entry.path + "\trule " + std::to_string(entry.ruleNumber) +
           '\t' + (entry.automatic ? "auto" : "manual") + "\r\n";
}

bool DeletionRecord::Write(const DeletedFileEntry& entry) {
    const std::string line = RecordLine(entry);
    // The most the record may hold with this line still to come.
    const std::uint64_t room = line.size() < kLimit ? kLimit - line.size() : 0;
    // Measured at every line, as it is now: another instance may have written to the record, or moved it
    // aside, since this one last wrote. Not moved: the record goes on growing rather than losing lines.
    if (files_.Size(path_) > room) files_.Replace(path_, OlderPath(path_), room);
    return files_.Append(path_, line);
}

}  // namespace kelvaro
