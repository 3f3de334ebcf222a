#pragma once
// TFileScan walks a folder tree and collects the files that match a pattern and the size, age and
// content criteria, one line per file in FileList.
#include <cstdint>
#include <deque>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/date_time.h"
#include "platform/clock.h"
#include "platform/drive_types.h"
#include "platform/file_system.h"
#include "platform/locale_formats.h"
#include "platform/message_pump.h"
#include "search/file_compare.h"
#include "search/info_label.h"
#include "search/protected_items.h"
#include "search/unlisted_files.h"

namespace kelvaro {

enum class TFileAttr : std::uint8_t { ftReadOnly, ftHidden, ftSystem, ftVolumeID, ftArchive, ftNormal };

// A set of TFileAttr; bit n stands for ordinal n.
class TFileType {
public:
    constexpr TFileType() = default;
    constexpr TFileType(std::initializer_list<TFileAttr> members) {
        for (TFileAttr member : members) bits_ |= static_cast<std::uint8_t>(1u << static_cast<int>(member));
    }
    constexpr bool Contains(TFileAttr member) const { return bits_ & (1u << static_cast<int>(member)); }
    // The attribute mask of the file pass: which excluded kinds of entry this set lets through.
    std::uint32_t SearchMask() const;
    bool operator==(const TFileType&) const = default;

private:
    std::uint8_t bits_ = 0;
};

// The platform services one scan uses.
struct ScanPlatform {
    FileSystem& files;
    Clock& clock;
    MessagePump& pump;
    DriveTypes& drives;
    LocaleFormats& locale;
};

// What the directory search told of a listed file, kept beside its line in FileList.
struct FoundEntry {
    std::uint64_t size = 0;
    std::uint32_t dosDateTime = 0;
    std::uint32_t attributes = 0;
    bool isError = false;             // the line is a "*** Error Scanning: " line
    std::uint64_t lastWriteTime = 0;  // full precision, as DirectoryEntry keeps it
    // Whether it could be opened for reading and writing, both shared, when it was found; nullopt when
    // the platform did not tell.
    std::optional<bool> openableForWriting;
    // Which file it was, when the listing told it: a file of the same name made later is another file.
    std::optional<FileIdentity> identity;
};

class TFileScan {
public:
    TFileScan(const ScanPlatform& platform, InfoLabel* currInfoLabel = nullptr);
    TFileScan(const TFileScan&) = delete;
    TFileScan& operator=(const TFileScan&) = delete;

    std::string Directory = "C:\\";
    bool SearchAllDrives = false;
    std::string FileSpecs = "*.*";
    std::string SearchString;
    TFileType FileType{TFileAttr::ftNormal};
    bool IncSubDir = true;
    bool CaseSense = false;
    // In bytes. A rule gives at most 32 bits; the width lets a file's 64-bit size be compared as it is.
    std::int64_t FileSize = 0;
    TFileCompType FileSizeComp = fctNone;
    std::int32_t FileAge = 0;
    TFileCompType FileAgeComp = fctNone;
    bool ShowSize = false;
    bool ShowDate = false;
    bool ShowAttr = false;
    bool AppendItems = false;
    InfoLabel* CurrInfoLabel = nullptr;

    bool StopScan = false;
    std::vector<std::string> FileList;
    std::vector<FoundEntry> FoundEntries;  // one per line of FileList

    // True runs a whole scan and returns when it ends.
    void SetStartScan(bool value);
    // Files no scan lists, whatever its rule: the program's own record (full paths).
    void SetUnlistedFiles(const std::vector<std::string>& paths) { unlisted_ = UnlistedFiles(paths); }
    // What the user protected: left out before it is opened, its folders not entered.
    void SetProtectedItems(ProtectedItems items) { protected_ = std::move(items); }

    // 1: the file holds SearchString; 0: it does not; -1: it cannot be opened or read; -2: other failure.
    int FileContainsText(const std::string& path);

    // The message queue is pumped and the info label redrawn at most this often during a scan, not
    // at every step: each pump is a round trip to the window system. 0 pumps at every step.
    std::uint32_t PaceMilliseconds = 25;
    // How many files that passed the rule's tests are asked about together.
    static constexpr std::size_t kExamineBatch = 64;

private:
    void ScanTree(const std::string& root);
    // identity: the folder's, when known.
    void ScanFolder(std::string path, const std::optional<FolderIdentity>& identity,
                    const ProtectedFolder& protection);
    void ScanAllDrives();
    // The label, size and age tests of one listed file, pumping between them.
    bool PassesRuleTests(const std::string& folder, const DirectoryEntry& entry);
    // Files of one folder that passed, asked about together, listed once answered.
    struct PendingBatch {
        std::string folder;
        std::unique_ptr<FileSystem::Examination> examination;  // holds the files
    };
    // Starts asking the platform about the files that passed, and lists the batches answered beyond those
    // the platform asks about ahead.
    void Examine(const std::string& folder, std::vector<DirectoryEntry> entries);
    // Lists the batches started, oldest first, until keep are left.
    void ListPending(std::size_t keep);
    // Lists those of a batch's files that the platform keeps, in their order.
    void ListEntries(PendingBatch& batch);
    bool PassesAge(const DirectoryEntry& entry) const;
    std::string ResultLine(const std::string& path, const DirectoryEntry& entry);
    void AddLine(std::string line, const FoundEntry& found);
    bool IsOnWalkPath(const FolderIdentity& identity) const;
    void PumpMessages();
    void ShowInLabel(std::string text);
    void FlushLabel();
    bool PaceDue(std::uint32_t& lastTick, bool& never);

    ScanPlatform platform_;
    UnlistedFiles unlisted_;
    ProtectedItems protected_;
    TDateTime endOfToday_ = 0;
    std::deque<PendingBatch> pending_;  // started and not yet listed, oldest first
    bool stoppedWhileListing_ = false;
    std::vector<FolderIdentity> walkPath_;
    std::uint32_t lastPumpTick_ = 0;
    bool neverPumped_ = true;
    std::uint32_t lastLabelTick_ = 0;
    bool neverLabelled_ = true;
    std::string pendingLabelText_;
    bool labelPending_ = false;
};

}  // namespace kelvaro
