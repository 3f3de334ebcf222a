#pragma once
// The file system as the scanner sees it: directory searches, folder identities and read-only files.
// Paths use "\" between folders on every platform; the native build maps them to "/".
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_identity.h"

namespace kelvaro {

// Attribute bits of a directory entry, as the platform's directory search reports them.
namespace attr {
constexpr std::uint32_t ReadOnly = 0x01;
constexpr std::uint32_t Hidden = 0x02;
constexpr std::uint32_t System = 0x04;
constexpr std::uint32_t VolumeId = 0x08;
constexpr std::uint32_t Directory = 0x10;
constexpr std::uint32_t Archive = 0x20;
// Junctions, and symbolic links to folders as Wine shows them (0x410).
constexpr std::uint32_t ReparsePoint = 0x400;
}  // namespace attr

// Tells whether two paths reach the same folder.
using FolderIdentity = FileIdentity;

struct DirectoryEntry {
    std::string name;  // long name, without folder
    std::uint64_t size = 0;
    std::uint32_t attributes = 0;
    // Last write, local time, MS-DOS format: date in the high 16 bits, time in the low 16 bits.
    std::uint32_t dosDateTime = 0;
    // Which file or folder it is, when the search learnt it without a question for each entry.
    std::optional<FolderIdentity> identity;
    // Last write at the platform's full precision: 100-nanosecond steps since 1601, UTC. A rewrite
    // within the two seconds the MS-DOS form keeps still changes it.
    std::uint64_t lastWriteTime = 0;
};

// One open directory search; the search is ended when the object is destroyed.
class DirectoryListing {
public:
    virtual ~DirectoryListing() = default;
    // The next entry in the file system's own order; false at the end.
    virtual bool Next(DirectoryEntry& entry) = 0;
    // When the search read its whole folder to give its entries: the folder's entries from that same read,
    // as a folders-only search of the folder for "*.*" would give them, without a second read (under Wine
    // each read describes every entry of the folder again). nullptr when it did not; given once.
    virtual std::unique_ptr<DirectoryListing> TakeFolderListing() { return nullptr; }
};

// A listing that reads its first entry ahead, so that a search with nothing to give can fail at
// its start as the platform's own search does.
class ReadAheadListing : public DirectoryListing {
public:
    bool Next(DirectoryEntry& entry) final {
        if (!hasPending_) return Advance(entry);
        hasPending_ = false;
        entry = std::move(pending_);
        return true;
    }
    // False when there is no entry at all.
    bool Prime() {
        hasPending_ = Advance(pending_);
        return hasPending_;
    }

protected:
    virtual bool Advance(DirectoryEntry& entry) = 0;

private:
    DirectoryEntry pending_;
    bool hasPending_ = false;
};

class ReadOnlyFile {
public:
    virtual ~ReadOnlyFile() = default;
    // Bytes read, 0 at the end of the file, -1 when the read failed.
    virtual long Read(char* buffer, long count) = 0;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;
    // All entries that match pattern (folder + "\" + wildcard), whatever their attributes, with "."
    // and "..". nullptr when the folder is missing or unreadable or nothing matches.
    // Left out: entries whose name cannot be held exactly in the program's 8-bit code page, entries
    // whose name a Win32 path would change (see IsExactWin32Name), and entries whose full path is
    // beyond the platform's path length limit, since none of them can be opened or deleted safely
    // by that name. Also left out: every name that another entry of the folder matches when letter case
    // is ignored (see name_case.h), whatever else would leave that entry out.
    // With directoriesOnly the search may also leave out everything that is not a folder, and
    // save the cost of describing it.
    virtual std::unique_ptr<DirectoryListing> FindFirst(const std::string& pattern,
                                                        bool directoriesOnly = false) = 0;
    virtual std::optional<FolderIdentity> IdentifyFolder(const std::string& path) = 0;
    // nullptr when the file cannot be opened for reading.
    virtual std::unique_ptr<ReadOnlyFile> OpenRead(const std::string& path) = 0;
    // True when the file at path is a link to a file rather than a file of its own: opening or
    // deleting it by that path may reach its target, which can lie anywhere. Under Wine a Linux link
    // to a file is listed as a plain file, so listings cannot tell. Also true when it cannot be told.
    virtual bool IsFileLink(const std::string& path) = 0;
    // IsFileLink of a file a listing has just described with these attributes. One it marks as a
    // reparse point is a link without a question; for the others the platform may spare itself the
    // questions the listing has answered.
    virtual bool IsListedFileLink(const std::string& path, std::uint32_t listedAttributes) {
        return (listedAttributes & attr::ReparsePoint) || IsFileLink(path);
    }

    // IsListedFileLink, and where the platform can tell it with the same open, whether the file can be
    // opened for reading and writing with both shared, as a search run asks of every file it lists.
    struct ListedFileAnswers {
        bool link = true;
        std::optional<bool> openableForWriting;  // not asked: nullopt
    };
    virtual ListedFileAnswers ExamineListedFile(const std::string& path, std::uint32_t listedAttributes) {
        return {IsListedFileLink(path, listedAttributes), std::nullopt};
    }
    // ExamineListedFile of several entries that one listing of folder (ending in "\\") has described, one
    // answer each, in their order. A platform may ask about them side by side.
    virtual std::vector<ListedFileAnswers> ExamineListedFiles(const std::string& folder,
                                                              const std::vector<DirectoryEntry>& entries) {
        std::vector<ListedFileAnswers> answers;
        answers.reserve(entries.size());
        for (const DirectoryEntry& entry : entries)
            answers.push_back(ExamineListedFile(folder + entry.name, entry.attributes));
        return answers;
    }

    // ExamineListedFiles of a batch, which may go on while its caller reads the next one.
    class Examination {
    public:
        virtual ~Examination() = default;
        // Waits for them, the first time.
        virtual const std::vector<ListedFileAnswers>& Answers() = 0;
        // The entries asked about, in the order of their answers.
        virtual const std::vector<DirectoryEntry>& Entries() const = 0;
    };
    // Here the questions are asked when the answers are taken; a platform that asks side by side starts
    // asking at once.
    virtual std::unique_ptr<Examination> StartExamining(const std::string& folder,
                                                        std::vector<DirectoryEntry> entries) {
        return std::make_unique<LaterExamination>(*this, folder, std::move(entries));
    }
    // How many batches a caller may start before it takes the answers of the first: 0 for a platform that
    // only asks when they are taken.
    virtual std::size_t ExaminationsAhead() const { return 0; }

private:
    class LaterExamination : public Examination {
    public:
        LaterExamination(FileSystem& files, std::string folder, std::vector<DirectoryEntry> entries)
            : files_(files), folder_(std::move(folder)), entries_(std::move(entries)) {}
        const std::vector<ListedFileAnswers>& Answers() override {
            if (!asked_) answers_ = files_.ExamineListedFiles(folder_, entries_);
            asked_ = true;
            return answers_;
        }
        const std::vector<DirectoryEntry>& Entries() const override { return entries_; }

    private:
        FileSystem& files_;
        std::string folder_;
        std::vector<DirectoryEntry> entries_;
        std::vector<ListedFileAnswers> answers_;
        bool asked_ = false;
    };
};

std::unique_ptr<FileSystem> MakePlatformFileSystem();

}  // namespace kelvaro
