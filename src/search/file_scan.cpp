#include "search/file_scan.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string_view>

#include "base/ascii_case.h"
#include "platform/name_case.h"
#include "search/directory_search.h"
#include "search/result_line.h"

namespace kelvaro {
namespace {

constexpr std::uint32_t kMaskBits[] = {attr::ReadOnly, attr::Hidden,  attr::System,
                                       attr::VolumeId, attr::Archive, 0};

// Spaces after the path in the info label: they widen its last piece, so the label's fitting keeps
// room after the file name.
const std::string kLabelPadding(78, ' ');

constexpr long kContentChunk = 30000;
constexpr std::size_t kMaxSearchText = 255;

// Searches each run of non-zero bytes of the chunk on its own: text across a zero byte is not found.
bool ChunkContains(std::string_view chunk, std::string_view pattern) {
    std::size_t start = 0;
    while (start < chunk.size()) {
        std::size_t end = chunk.find('\0', start);
        if (end == std::string_view::npos) end = chunk.size();
        if (end > start && chunk.substr(start, end - start).find(pattern) != std::string_view::npos)
            return true;
        start = end + 1;
    }
    return false;
}

// Blanks and control characters cannot make up a folder's name.
bool NamesNoFolder(const std::string& folder) {
    return std::all_of(folder.begin(), folder.end(),
                       [](char c) { return static_cast<unsigned char>(c) <= ' '; });
}

// Restores a value when the scope ends, also when an exception passes.
template <typename T>
class RestoreOnExit {
public:
    RestoreOnExit(T& target) : target_(target), saved_(target) {}
    ~RestoreOnExit() { target_ = saved_; }

private:
    T& target_;
    T saved_;
};

}  // namespace

std::uint32_t TFileType::SearchMask() const {
    std::uint32_t mask = 0;
    for (int ordinal = 0; ordinal < 6; ++ordinal)
        if (bits_ & (1u << ordinal)) mask |= kMaskBits[ordinal];
    return mask;
}

TFileScan::TFileScan(const ScanPlatform& platform, InfoLabel* currInfoLabel)
    : CurrInfoLabel(currInfoLabel), platform_(platform) {}

void TFileScan::SetStartScan(bool value) {
    if (!value) return;
    StopScan = false;
    if (!AppendItems) {
        FileList.clear();
        FoundEntries.clear();
    }
    neverPumped_ = true;
    neverLabelled_ = true;
    labelPending_ = false;
    struct LabelFlush {
        TFileScan& scan;
        ~LabelFlush() { scan.FlushLabel(); }
    } flushAtEnd{*this};
    unlisted_.IdentifyFolders(platform_.files);
    protected_.IdentifyFolders(platform_.files);
    pending_.clear();
    stoppedWhileListing_ = false;
    try {
        if (SearchAllDrives)
            ScanAllDrives();
        else
            ScanTree(Directory);
    } catch (...) {
        // What was read before the failure is listed, as it was before the next folder was read.
        ListPending(0);
        throw;
    }
    ListPending(0);
}

void TFileScan::ScanTree(const std::string& root) {
    // A folder text of nothing or blanks names no folder: made into a path it would become "\", the
    // root of the current drive, and a rule left without its location would search and clear that.
    if (NamesNoFolder(root)) return;
    walkPath_.clear();
    std::optional<FolderIdentity> identity;
    if (IncSubDir || !unlisted_.Empty() || !protected_.Empty())
        identity = platform_.files.IdentifyFolder(root);
    const ProtectedFolder protection = protected_.EnterRoot(root, identity, platform_.files);
    if (protection.covered) return;
    if (IncSubDir && identity) walkPath_.push_back(*identity);
    ScanFolder(root, identity, protection);
}

void TFileScan::ScanAllDrives() {
    RestoreOnExit<bool> restoreAppend(AppendItems);
    AppendItems = true;
    for (char letter = 'a'; letter <= 'z' && !StopScan; ++letter) {
        std::string root = std::string(1, letter) + ":\\";
        if (platform_.drives.QueryDriveType(root) == DriveUnknown) continue;
        ScanTree(root);
    }
}

void TFileScan::ScanFolder(std::string path, const std::optional<FolderIdentity>& identity,
                           const ProtectedFolder& protection) {
    LocalDate today = platform_.clock.Today();
    endOfToday_ = EncodeDate(today.year, today.month, today.day) + 0.99999;
    if (path.empty() || path.back() != '\\') path += '\\';

    // The file search stays open while the subfolders are walked.
    DirectorySearch files(platform_.files, path + FileSpecs, FileType.SearchMask());
    const std::vector<std::wstring>* unlisted = unlisted_.NamesIn(path, identity);
    DirectoryEntry entry;
    // The files the rule's own tests keep are asked about by the platform a batch at a time, which lets it
    // ask side by side; they are then listed in the order the listing gave them. A stop lists the batch
    // read so far, as one after each file did before.
    std::vector<DirectoryEntry> kept;
    for (bool more = true; more && !StopScan;) {
        kept.clear();
        try {
            while (kept.size() < kExamineBatch && !StopScan && (more = files.Next(entry))) {
                if (unlisted && std::find(unlisted->begin(), unlisted->end(), UpperCaseName(entry.name)) !=
                                    unlisted->end())
                    continue;
                if (ProtectedItems::Protects(protection, entry.name)) continue;
                if (PassesRuleTests(path, entry)) kept.push_back(entry);
                PumpMessages();
            }
        } catch (...) {
            Examine(path, std::move(kept));
            ListPending(0);
            throw;
        }
        Examine(path, std::move(kept));
    }
    if (StopScan) return;
    if (!IncSubDir) return;

    PumpMessages();
    DirectorySearch folders = files.Subfolders(platform_.files, path, attr::Directory);
    while (!StopScan && folders.Next(entry)) {
        // A dot in the name skips "." and "..", and every folder whose name holds a dot.
        if (!(entry.attributes & attr::Directory) || entry.name.find('.') != std::string::npos) continue;
        // A junction or a link to a folder may lead out of the tree or back into it.
        if (entry.attributes & attr::ReparsePoint) continue;
        std::string subfolder = path + entry.name;
        std::optional<FolderIdentity> subfolderIdentity =
            entry.identity ? entry.identity : platform_.files.IdentifyFolder(subfolder);
        if (subfolderIdentity && IsOnWalkPath(*subfolderIdentity)) continue;
        const ProtectedFolder subfolderProtection =
            protected_.Enter(subfolder, subfolderIdentity, protection);
        if (subfolderProtection.covered) continue;
        if (subfolderIdentity) walkPath_.push_back(*subfolderIdentity);
        ScanFolder(subfolder, subfolderIdentity, subfolderProtection);
        if (subfolderIdentity) walkPath_.pop_back();
    }
}

bool TFileScan::IsOnWalkPath(const FolderIdentity& identity) const {
    return std::find(walkPath_.begin(), walkPath_.end(), identity) != walkPath_.end();
}

bool TFileScan::PassesRuleTests(const std::string& folder, const DirectoryEntry& entry) {
    PumpMessages();
    if (CurrInfoLabel) ShowInLabel(folder + entry.name + kLabelPadding);

    PumpMessages();
    if (FileSizeComp != fctNone &&
        !PassesComparison(static_cast<std::int64_t>(entry.size), FileSizeComp, FileSize))
        return false;

    PumpMessages();
    return FileAgeComp == fctNone || PassesAge(entry);
}

void TFileScan::Examine(const std::string& folder, std::vector<DirectoryEntry> entries) {
    if (entries.empty()) return;
    // Asked only of files the rule's other tests keep: it costs trips to the file system.
    // Listed, a link would have its target searched, shown and deleted in its place.
    pending_.push_back({folder, platform_.files.StartExamining(folder, std::move(entries))});
    ListPending(platform_.files.ExaminationsAhead());
}

void TFileScan::ListPending(std::size_t keep) {
    while (pending_.size() > keep) {
        PendingBatch batch = std::move(pending_.front());
        pending_.pop_front();
        try {
            ListEntries(batch);
        } catch (...) {
            // Nothing read after a failure is listed, as nothing after it was read before.
            pending_.clear();
            throw;
        }
    }
}

void TFileScan::ListEntries(PendingBatch& batch) {
    // Files read before a stop are listed, as each was before the next one was read; a stop that comes
    // while they are listed keeps the rest of them out, and the batches read after them, as it kept their
    // reading from starting.
    if (stoppedWhileListing_) return;
    const std::vector<FileSystem::ListedFileAnswers>& answers = batch.examination->Answers();
    const std::vector<DirectoryEntry>& entries = batch.examination->Entries();
    const bool stoppedWhileReading = StopScan;
    for (std::size_t i = 0; i < entries.size() && i < answers.size(); ++i) {
        if (answers[i].link) continue;
        const DirectoryEntry& entry = entries[i];
        const std::string path = batch.folder + entry.name;
        PumpMessages();
        if (StopScan && !stoppedWhileReading) {
            stoppedWhileListing_ = true;
            return;
        }
        if (!SearchString.empty()) {
            int found = FileContainsText(path);
            if (found < 0) AddLine("*** Error Scanning: " + path, FoundEntry{0, 0, 0, true});
            if (found != 1) continue;
        }

        PumpMessages();
        AddLine(ResultLine(path, entry),
                FoundEntry{entry.size, entry.dosDateTime, entry.attributes, false, entry.lastWriteTime,
                           answers[i].openableForWriting, entry.identity});
    }
}

bool TFileScan::PassesAge(const DirectoryEntry& entry) const {
    double days = std::trunc(endOfToday_ - DosDateTimeToDateTime(entry.dosDateTime));
    return PassesComparison(static_cast<std::int64_t>(days), FileAgeComp, FileAge);
}

std::string TFileScan::ResultLine(const std::string& path, const DirectoryEntry& entry) {
    std::string line = path;
    if (ShowSize) line += "  " + SizeColumn(entry.size, platform_.locale.ThousandSeparator());
    if (ShowDate) {
        PumpMessages();
        DosDateTimeToDateTime(entry.dosDateTime);  // an impossible date or time fails here
        DosDateTimeParts parts = SplitDosDateTime(entry.dosDateTime);
        line += "  " + DateColumn(parts) + "  " + TimeColumn(parts);
    }
    if (ShowAttr) {
        PumpMessages();
        line += "  " + AttributeColumn(entry.attributes);
    }
    return line;
}

void TFileScan::AddLine(std::string line, const FoundEntry& found) {
    FileList.push_back(std::move(line));
    FoundEntries.push_back(found);
}

int TFileScan::FileContainsText(const std::string& path) {
    std::string pattern = SearchString.substr(0, kMaxSearchText);
    if (!CaseSense) UpperAsciiInPlace(pattern.data(), pattern.data() + pattern.size());
    std::unique_ptr<ReadOnlyFile> file = platform_.files.OpenRead(path);
    if (!file) return -1;
    try {
        std::string buffer(kContentChunk, '\0');
        for (;;) {
            long count = file->Read(buffer.data(), kContentChunk);
            if (count < 0) return -1;
            if (count == 0) return 0;
            std::string_view chunk(buffer.data(), static_cast<std::size_t>(count));
            if (!CaseSense) UpperAsciiInPlace(buffer.data(), buffer.data() + count);
            if (ChunkContains(chunk, pattern)) return 1;
        }
    } catch (...) {
        return -2;
    }
}

bool TFileScan::PaceDue(std::uint32_t& lastTick, bool& never) {
    if (PaceMilliseconds == 0) return true;
    std::uint32_t now = platform_.clock.TickCount();
    if (!never && now - lastTick < PaceMilliseconds) return false;
    never = false;
    lastTick = now;
    return true;
}

void TFileScan::PumpMessages() {
    if (!PaceDue(lastPumpTick_, neverPumped_)) return;
    platform_.pump.ProcessMessages();
    // The program is ending: nobody is left to see what the rest of the walk would find.
    if (platform_.pump.QuitRequested()) StopScan = true;
}

void TFileScan::ShowInLabel(std::string text) {
    if (PaceDue(lastLabelTick_, neverLabelled_)) {
        labelPending_ = false;
        CurrInfoLabel->SetFileName(text);
        CurrInfoLabel->Repaint();
    } else {
        pendingLabelText_ = std::move(text);
        labelPending_ = true;
    }
}

// The label must end showing the last entry examined, even when that entry's update was skipped.
void TFileScan::FlushLabel() {
    if (!labelPending_ || !CurrInfoLabel) return;
    labelPending_ = false;
    try {
        CurrInfoLabel->SetFileName(pendingLabelText_);
        CurrInfoLabel->Repaint();
    } catch (...) {
        // Runs while the scan unwinds: the scan's own outcome is what the caller must see.
    }
}

}  // namespace kelvaro
