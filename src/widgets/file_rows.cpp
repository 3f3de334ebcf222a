#include "widgets/file_rows.h"

#include <algorithm>

namespace kelvaro {

std::uint64_t TextBlocks::Add(std::string_view text) {
    if (blocks_.empty() || blocks_.back().size() + text.size() > blocks_.back().capacity()) {
        blocks_.emplace_back();
        blocks_.back().reserve(std::max(kBlock, text.size()));
    }
    std::string& block = blocks_.back();
    const std::uint64_t at = (static_cast<std::uint64_t>(blocks_.size() - 1) << 32) | block.size();
    block.append(text);
    return at;
}

std::string_view TextBlocks::Get(std::uint64_t at, std::size_t length) const {
    return std::string_view(blocks_[at >> 32]).substr(at & 0xFFFFFFFFu, length);
}

void TextBlocks::Clear() {
    std::vector<std::string>().swap(blocks_);
}

std::uint32_t FileRows::Add(const NewFileRow& row) {
    const std::size_t split = row.Path.find_last_of("\\:");
    const std::size_t nameAt = split == std::string::npos ? 0 : split + 1;
    // The files of one folder come one after another: most rows find their folder without a lookup.
    const std::string_view folder(row.Path.data(), nameAt);
    std::uint32_t number;
    if (lastFolder_ < folders_.size() && folders_[lastFolder_] == folder) {
        number = lastFolder_;
    } else {
        const auto [place, added] =
            folderNumbers_.try_emplace(std::string(folder), static_cast<std::uint32_t>(folders_.size()));
        if (added) folders_.emplace_back(folder);
        number = lastFolder_ = place->second;
    }
    Record record;
    record.NameLength = static_cast<std::uint32_t>(row.Path.size() - nameAt);
    record.NameAt = names_.Add(std::string_view(row.Path).substr(nameAt));
    record.Folder = number;
    record.Size = row.Size;
    record.LastWriteTime = row.LastWriteTime;
    record.DosDateTime = row.DosDateTime;
    record.Volume = row.Volume;
    record.Index = row.Index;
    record.Rule = row.Rule;
    record.ImageIndex = row.ImageIndex < 0 ? -1 : row.ImageIndex;
    records_.push_back(record);
    return static_cast<std::uint32_t>(records_.size() - 1);
}

std::string_view FileRows::Name(std::uint32_t item) const {
    const Record& record = records_[item];
    return names_.Get(record.NameAt, record.NameLength);
}

FileRowView FileRows::View(std::uint32_t item) const {
    const Record& record = records_[item];
    return {Name(item), folders_[record.Folder], record.Size, record.LastWriteTime, record.DosDateTime};
}

void FileRows::Clear() {
    // Swapped out rather than cleared: a list of a million rows gives its memory back.
    std::deque<Record>().swap(records_);
    names_.Clear();
    std::vector<std::string>().swap(folders_);
    std::unordered_map<std::string, std::uint32_t>().swap(folderNumbers_);
    lastFolder_ = 0;
}

}  // namespace kelvaro
