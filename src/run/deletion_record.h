#pragma once
// The deletion record: one line of plain text per file the program deleted, appended to a file that is
// moved aside to a single older generation once it has grown past a bound. A record that cannot be
// written never stops a delete; the caller is told, so that it can say so once.
#include <cstdint>
#include <string>

namespace kelvaro {

struct LocalTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

struct DeletedFileEntry {
    LocalTime when;
    bool recycled = false;
    std::uint64_t size = 0;
    std::string path;
    int ruleNumber = 0;
    bool automatic = false;
};

// "2026-12-08 05:40:12<TAB>recycled<TAB>1234<TAB>C:\dir\file.tmp<TAB>rule 2<TAB>auto" and CR LF, so that
// the system's plain text viewer shows one file a line.
std::string RecordLine(const DeletedFileEntry& entry);

// The files the record lives in. Another instance of the program may write to the same files at the
// same time.
class RecordFiles {
public:
    virtual ~RecordFiles() = default;
    // Bytes in the file as it is now, 0 when there is none.
    virtual std::uint64_t Size(const std::string& path) = 0;
    // Appends text at the file's end in one piece, making the file (and its folder) when missing; false
    // when it could not.
    virtual bool Append(const std::string& path, const std::string& text) = 0;
    // Moves from over to, replacing what to held, provided from still holds more than largerThan bytes
    // (another writer may have moved it aside since it was measured); false when it was not moved.
    virtual bool Replace(const std::string& from, const std::string& to, std::uint64_t largerThan) = 0;
    // Appending may keep a file open from one line to the next; this lets it go.
    virtual void Close() {}
};

class DeletionRecord {
public:
    static constexpr std::uint64_t kLimit = 1024ULL * 1024;

    // path: the record.
    DeletionRecord(RecordFiles& files, std::string path) : files_(files), path_(std::move(path)) {}
    // The older generation of the record at path.
    static std::string OlderPath(const std::string& path) { return path + ".1"; }

    // Writes one line at once, so that a run cut short leaves a true record. A line that would take the
    // record past kLimit moves it to the older generation first. False when the line could not be written.
    bool Write(const DeletedFileEntry& entry);
    // Whether a line could be written now: the record's file opens for appending (made with its folder when
    // missing). A delete nobody watches must not start without it.
    bool Ready() { return files_.Append(path_, std::string()); }
    // The end of a delete: nothing of the record stays open until the next.
    void Close() { files_.Close(); }

private:
    RecordFiles& files_;
    std::string path_;
};

}  // namespace kelvaro
