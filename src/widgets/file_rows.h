#pragma once
// The rows of a results list, kept compactly: of each found file only what cannot be made again from the
// rest — its name, its folder (one string shared by every file in it), size, times, identity, rule and
// icon, about a hundred bytes a row with the name. The texts the list shows (the size in the locale's
// digits, the date in its picture...) are made when the list draws them, by the list's FileColumns.
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kelvaro {

struct NewFileRow {
    std::string Path;  // the folder, up to and including the last "\" or ":", then the name
    std::uint64_t Size = 0;
    std::uint64_t LastWriteTime = 0;
    std::uint32_t DosDateTime = 0;        // local
    std::uint64_t Volume = 0, Index = 0;  // the file's identity; zeros: not known
    int Rule = 0;
    int ImageIndex = -1;  // negative: no icon
};

// One kept file as the columns see it.
struct FileRowView {
    std::string_view Name;
    const std::string& Folder;
    std::uint64_t Size;
    std::uint64_t LastWriteTime;
    std::uint32_t DosDateTime;
};

// What the columns after the name show of a file, and what a header click sorts them by.
class FileColumns {
public:
    virtual ~FileColumns() = default;
    // How many columns the list has, the name's included.
    virtual int Count() const = 0;
    // column >= 1; "" for a column the list does not have.
    virtual std::string Text(const FileRowView& file, int column) const = 0;
    // The value a sort by this column compares instead of its text; nullopt: the text.
    virtual std::optional<std::int64_t> Value(const FileRowView& file, int column) const = 0;
};

// Texts stored one after another in blocks of a megabyte, named by where they start: a million names or
// keys cost their bytes and a few dozen blocks, and growing never copies what is stored (a single string
// that doubles would need three times its size for a moment).
class TextBlocks {
public:
    // Where the text now starts; Get with this and its length gives it back.
    std::uint64_t Add(std::string_view text);
    std::string_view Get(std::uint64_t at, std::size_t length) const;
    void Clear();

private:
    static constexpr std::size_t kBlock = std::size_t{1} << 20;
    std::vector<std::string> blocks_;
};

class FileRows {
public:
    struct Record {
        std::uint64_t NameAt = 0;
        std::uint64_t Size = 0;
        std::uint64_t LastWriteTime = 0;
        std::uint64_t Volume = 0, Index = 0;
        std::uint64_t KeyAt = 0;  // the name's collation key, kept by the list in its own store
        std::uint32_t NameLength = 0;
        std::uint32_t Folder = 0;
        std::uint32_t DosDateTime = 0;
        std::uint32_t KeyLength = 0;
        int Rule = 0;
        int ImageIndex = -1;
    };

    // Returns the new file's item number; numbers are not reused until Clear.
    std::uint32_t Add(const NewFileRow& row);
    Record& At(std::uint32_t item) { return records_[item]; }
    const Record& At(std::uint32_t item) const { return records_[item]; }
    std::string_view Name(std::uint32_t item) const;
    FileRowView View(std::uint32_t item) const;
    std::size_t Size() const { return records_.size(); }
    void Clear();

private:
    std::deque<Record> records_;  // grows without moving what it holds
    TextBlocks names_;
    std::vector<std::string> folders_;
    std::unordered_map<std::string, std::uint32_t> folderNumbers_;
    std::uint32_t lastFolder_ = 0;
};

}  // namespace kelvaro
