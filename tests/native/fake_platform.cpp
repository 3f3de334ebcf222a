#include "fake_platform.h"

#include <algorithm>

namespace kelvaro::testing {
namespace {

class FakeListing : public DirectoryListing {
public:
    FakeListing(std::vector<DirectoryEntry> entries, int& openSearches)
        : entries_(std::move(entries)), openSearches_(openSearches) {}
    ~FakeListing() override { --openSearches_; }
    bool Next(DirectoryEntry& entry) override {
        if (next_ >= entries_.size()) return false;
        entry = entries_[next_++];
        return true;
    }

private:
    std::vector<DirectoryEntry> entries_;
    std::size_t next_ = 0;
    int& openSearches_;
};

class FakeReadFile : public ReadOnlyFile {
public:
    explicit FakeReadFile(std::string content) : content_(std::move(content)) {}
    long Read(char* buffer, long count) override {
        long n = std::min<long>(count, static_cast<long>(content_.size() - position_));
        std::copy_n(content_.data() + position_, n, buffer);
        position_ += static_cast<std::size_t>(n);
        return n;
    }

private:
    std::string content_;
    std::size_t position_ = 0;
};

}  // namespace

std::string FakeFileSystem::Key(std::string path) {
    if (path.empty() || path.back() != '\\') path += '\\';
    std::transform(path.begin(), path.end(), path.begin(), [](char c) { return std::tolower(c); });
    return path;
}

FakeFileSystem& FakeFileSystem::AddFile(const std::string& folder, FakeEntry entry) {
    folders_[Key(folder)].push_back(std::move(entry));
    return *this;
}

FakeFileSystem& FakeFileSystem::AddFolder(const std::string& parent, const std::string& name,
                                          std::uint32_t attributes) {
    std::string key = Key(parent);
    if (!identities_.count(key)) identities_[key] = identities_.size() + 1;
    folders_[key].push_back(FakeEntry{name, 0, attributes, 0, {}, false});
    std::string child = Key(key + name);
    folders_[child];
    identities_[child] = identities_.size() + 1;
    return *this;
}

void FakeFileSystem::ShareIdentity(const std::string& folder, const std::string& sameAs) {
    identities_[Key(folder)] = identities_[Key(sameAs)];
}

// Ignores directoriesOnly: the scanner must not depend on non-folders being left out.
std::unique_ptr<DirectoryListing> FakeFileSystem::FindFirst(const std::string& pattern, bool) {
    patterns.push_back(pattern);
    if (onFindFirst) onFindFirst(pattern);
    std::size_t slash = pattern.rfind('\\');
    auto folder = folders_.find(Key(pattern.substr(0, slash + 1)));
    std::string wildcard = pattern.substr(slash + 1);
    if (folder == folders_.end() || wildcard.empty()) return nullptr;
    std::vector<DirectoryEntry> entries;
    for (const FakeEntry& e : folder->second) {
        if (!WildcardMatches(wildcard, e.name)) continue;
        entries.push_back({e.name, e.size, e.attributes, e.dosDateTime, std::nullopt});
        if (identitiesInListing && (e.attributes & attr::Directory))
            entries.back().identity = IdentifyFolder(folder->first + e.name);
    }
    if (entries.empty()) return nullptr;
    maxOpenSearches = std::max(maxOpenSearches, ++openSearches);
    return std::make_unique<FakeListing>(std::move(entries), openSearches);
}

std::optional<FolderIdentity> FakeFileSystem::IdentifyFolder(const std::string& path) {
    auto found = identities_.find(Key(path));
    if (found == identities_.end()) return std::nullopt;
    return FolderIdentity{7, found->second};
}

std::unique_ptr<ReadOnlyFile> FakeFileSystem::OpenRead(const std::string& path) {
    std::size_t slash = path.rfind('\\');
    auto folder = folders_.find(Key(path.substr(0, slash + 1)));
    if (folder == folders_.end()) return nullptr;
    for (const FakeEntry& e : folder->second)
        if (e.name == path.substr(slash + 1))
            return e.unreadable ? nullptr : std::make_unique<FakeReadFile>(e.content);
    return nullptr;
}

std::uint32_t DosNoon(int year, int month, int day) {
    return MakeDosDateTime({year, month, day, 12, 0, 0});
}

}  // namespace kelvaro::testing
