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
    // Asked once: after that the record grows only through here.
    if (!sizeKnown_) {
        size_ = files_.Size(path_);
        sizeKnown_ = true;
    }
    if (size_ > 0 && size_ + line.size() > kLimit) {
        if (files_.Replace(path_, path_ + ".1")) size_ = 0;
        // Not moved: the record goes on growing rather than losing lines.
    }
    if (!files_.Append(path_, line)) {
        sizeKnown_ = false;
        return false;
    }
    size_ += line.size();
    return true;
}

}  // namespace kelvaro
