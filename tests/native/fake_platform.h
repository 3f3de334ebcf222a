#pragma once
// In-memory stand-ins for the platform, so scans can be checked entry by entry and call by call.
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/wildcard_posix.h"
#include "search/file_scan.h"

namespace kelvaro::testing {

struct FakeEntry {
    std::string name;
    std::uint64_t size = 0;
    std::uint32_t attributes = attr::Archive;
    std::uint32_t dosDateTime = 0;
    std::string content;
    bool unreadable = false;
};

class FakeFileSystem : public FileSystem {
public:
    // folder: path with a trailing "\". Entries keep the order they were added in.
    FakeFileSystem& AddFile(const std::string& folder, FakeEntry entry);
    FakeFileSystem& AddFolder(const std::string& parent, const std::string& name,
                              std::uint32_t attributes = attr::Directory);
    // Makes folder report the identity of another, as a second path to one folder would.
    void ShareIdentity(const std::string& folder, const std::string& sameAs);

    std::unique_ptr<DirectoryListing> FindFirst(const std::string& pattern, bool directoriesOnly) override;
    std::optional<FolderIdentity> IdentifyFolder(const std::string& path) override;
    std::unique_ptr<ReadOnlyFile> OpenRead(const std::string& path) override;
    bool IsFileLink(const std::string& path) override {
        linkChecks.push_back(path);
        return links.count(path) != 0;
    }

    // Batches a scan may start before it lists the first; their questions are asked as they are listed.
    std::size_t ExaminationsAhead() const override { return examinationsAhead; }

    std::size_t examinationsAhead = 0;
    std::set<std::string> links;          // full paths of files that are links
    std::vector<std::string> linkChecks;  // every IsFileLink, in order
    // Folders come with their identity in the listing, as the real searches can give it.
    bool identitiesInListing = false;
    int openSearches = 0;
    int maxOpenSearches = 0;
    std::vector<std::string> patterns;  // every FindFirst, in order
    std::function<void(const std::string& pattern)> onFindFirst;

private:
    static std::string Key(std::string path);
    std::map<std::string, std::vector<FakeEntry>> folders_;
    std::map<std::string, std::uint64_t> identities_;
};

class FakeClock : public Clock {
public:
    LocalDate today{2026, 12, 7};
    std::uint32_t tick = 1000;
    std::uint32_t tickStep = 0;  // added at every TickCount
    LocalDate Today() override { return today; }
    std::uint32_t TickCount() override { return tick += tickStep; }
};

class CountingPump : public MessagePump {
public:
    int calls = 0;
    bool quit = false;
    std::function<void()> onPump;
    void ProcessMessages() override {
        ++calls;
        if (onPump) onPump();
    }
    bool QuitRequested() const override { return quit; }
};

class FakeDrives : public DriveTypes {
public:
    std::map<std::string, unsigned> types;  // missing: 0
    std::vector<std::string> asked;
    unsigned QueryDriveType(const std::string& root) override {
        asked.push_back(root);
        auto found = types.find(root);
        return found == types.end() ? 0 : found->second;
    }
};

class FixedLocale : public LocaleFormats {
public:
    std::string separator = ",";
    std::string decimal = ".";
    std::string datePattern = "M/d/yyyy";
    std::string ThousandSeparator() override { return separator; }
    std::string DecimalSeparator() override { return decimal; }
    std::string ShortDatePattern() override { return datePattern; }
};

class RecordingLabel : public InfoLabel {
public:
    std::vector<std::string> shown;  // text at each repaint
    std::string text;
    void SetFileName(const std::string& value) override { text = value; }
    void Repaint() override { shown.push_back(text); }
};

// Everything a scanner needs, with the pacing off so every step pumps.
struct FakePlatform {
    FakeFileSystem files;
    FakeClock clock;
    CountingPump pump;
    FakeDrives drives;
    FixedLocale locale;
    ScanPlatform Get() { return {files, clock, pump, drives, locale}; }
};

// Date in MS-DOS form at noon.
std::uint32_t DosNoon(int year, int month, int day);

}  // namespace kelvaro::testing
