#pragma once
// The deletion record: one line of plain text per file the program deleted (and per file a restore
// brought back), appended to a file. Each delete is one clean-up with an identity of its own on each of
// its lines. At the start of a clean-up the record moves aside to a single older generation once it holds
// at least kKeptCleanups clean-ups and kKeptLines lines, so that the two generations always hold the
// last clean-ups whole. A record that cannot be written never stops a delete from the window; the caller
// is told, so that it can say so once.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvaro {

struct LocalTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    bool operator==(const LocalTime&) const = default;
};

enum class RecordedKind { Recycled, Deleted, Restored };

struct DeletedFileEntry {
    LocalTime when;
    bool recycled = false;
    std::uint64_t size = 0;
    std::string path;
    int ruleNumber = 0;
    bool automatic = false;
    // The clean-up the line belongs to; the record gives each delete its own. Empty in lines of records
    // written before clean-ups had one.
    std::string cleanup;
    RecordedKind kind() const { return recycled ? RecordedKind::Recycled : RecordedKind::Deleted; }
};

// A line as the record holds it.
struct RecordedLine {
    DeletedFileEntry file;
    RecordedKind kind = RecordedKind::Deleted;
};

// "2026-12-08 05:40:12<TAB>recycled<TAB>1234<TAB>C:\dir\file.tmp<TAB>rule 2<TAB>auto<TAB>cleanup ID" and
// CR LF, so that the system's plain text viewer shows one file a line.
std::string RecordLine(const DeletedFileEntry& entry, RecordedKind kind);
inline std::string RecordLine(const DeletedFileEntry& entry) {
    return RecordLine(entry, entry.kind());
}

// The line's parts, with or without a clean-up (older records have none); nothing for a line that is not
// one the record writes.
std::optional<RecordedLine> ParseRecordLine(std::string_view line);
// Every line of a record's text that reads as one, in order.
std::vector<RecordedLine> ParseRecord(std::string_view text);

// The files the record lives in. Another instance of the program may write to the same files at the
// same time.
class RecordFiles {
public:
    virtual ~RecordFiles() = default;
    // Bytes in the file as it is now, 0 when there is none.
    virtual std::uint64_t Size(const std::string& path) = 0;
    // The whole file as it is now; empty when there is none.
    virtual std::string Read(const std::string& path) = 0;
    // Appends text at the file's end in one piece, making the file (and its folder) when missing; false
    // when it could not.
    virtual bool Append(const std::string& path, const std::string& text) = 0;
    // Moves from over to, replacing what to held, provided from still holds more than largerThan bytes
    // (another writer may have moved it aside since it was read); false when it was not moved.
    virtual bool Replace(const std::string& from, const std::string& to, std::uint64_t largerThan) = 0;
    // Appending may keep a file open from one line to the next; this lets it go.
    virtual void Close() {}
    // Tells this writer's clean-ups from another instance's started in the same second.
    virtual std::string WriterId() { return {}; }
};

class DeletionRecord {
public:
    static constexpr std::size_t kKeptCleanups = 5;
    static constexpr std::size_t kKeptLines = 100000;

    // path: the record.
    DeletionRecord(RecordFiles& files, std::string path) : files_(files), path_(std::move(path)) {}
    // The older generation of the record at path.
    static std::string OlderPath(const std::string& path) { return path + ".1"; }

    // Writes one line at once, so that a run cut short leaves a true record. The first line after Close
    // starts a new clean-up (the record moves aside first when it is due). False when the line could not be
    // written.
    bool Write(DeletedFileEntry entry);
    // A file a restore brought back, under the clean-up that deleted it.
    bool WriteRestored(const DeletedFileEntry& entry);
    // Whether a line could be written now: the record's file opens for appending (made with its folder when
    // missing). A delete nobody watches must not start without it.
    bool Ready() { return files_.Append(path_, std::string()); }
    // The end of a delete: nothing of the record stays open until the next, which is another clean-up.
    void Close();
    // Both generations' lines, the older first.
    std::vector<RecordedLine> ReadAll();

private:
    void StartCleanup(const LocalTime& when);

    RecordFiles& files_;
    std::string path_;
    std::string cleanup_;  // the clean-up under way, empty between deletes
    int cleanups_ = 0;     // started by this writer: two in one second are still two
};

}  // namespace kelvaro
