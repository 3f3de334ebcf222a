// The file system of the native build, showing Linux files the way Wine's directory search shows
// them: names starting with "." hidden, no write permission read-only, folders 0x10, other files
// archive 0x20, links to folders 0x410, dangling links not listed. Like the Windows build's listing, it
// leaves out names that differ only in case.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <ctime>
#include <vector>

#include "base/date_time.h"
#include "base/work_pool.h"
#include "platform/exact_win32_name.h"
#include "platform/file_system.h"
#include "platform/file_time_posix.h"
#include "platform/name_case.h"
#include "platform/pooled_examination.h"
#include "platform/unix_path_posix.h"
#include "platform/wildcard_posix.h"

namespace kelvaro {
namespace {

std::uint32_t LocalDosDateTime(std::time_t time) {
    std::tm local{};
    if (!localtime_r(&time, &local)) return ClampedDosDateTime({1980, 1, 1, 0, 0, 0});
    return ClampedDosDateTime(
        {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec});
}

std::uint32_t Attributes(const std::string& name, const struct stat& target, bool isLink) {
    std::uint32_t attributes = S_ISDIR(target.st_mode) ? attr::Directory : attr::Archive;
    if (isLink && S_ISDIR(target.st_mode)) attributes |= attr::ReparsePoint;
    if (name.size() > 1 && name[0] == '.' && name != "..") attributes |= attr::Hidden;
    if (!(target.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH))) attributes |= attr::ReadOnly;
    return attributes;
}

// Reads the whole folder before it hands out an entry, and leaves out the names that another entry
// matches when letter case is ignored, whatever the wildcard and the other tests make of that entry.
class PosixListing : public ReadAheadListing {
public:
    PosixListing(DIR* dir, std::string folder, std::string wildcard, bool directoriesOnly)
        : dir_(dir),
          folder_(std::move(folder)),
          wildcard_(std::move(wildcard)),
          directoriesOnly_(directoriesOnly) {
        while (dirent* item = readdir(dir_)) names_.push_back({item->d_name, item->d_type});
        twins_ =
            FindCaseTwins(names_.size(), [this](std::size_t i) { return UpperCaseName(names_[i].name); });
    }
    ~PosixListing() override { closedir(dir_); }

    bool Advance(DirectoryEntry& entry) override {
        while (next_ < names_.size()) {
            const std::size_t i = next_++;
            const unsigned char type = names_[i].type;
            // A link may lead to a folder, and an unknown type may be one: only those are looked at.
            if (twins_[i] || (directoriesOnly_ && type != DT_DIR && type != DT_LNK && type != DT_UNKNOWN))
                continue;
            if (Describe(names_[i].name, entry)) return true;
        }
        return false;
    }

private:
    bool Describe(const std::string& name, DirectoryEntry& entry) {
        if (!WildcardMatches(wildcard_, name) || !IsExactWin32Name(std::string_view(name))) return false;
        if (folder_.size() + name.size() >= PATH_MAX) return false;
        struct stat linkStat {};
        if (fstatat(dirfd(dir_), name.c_str(), &linkStat, AT_SYMLINK_NOFOLLOW) != 0) return false;
        struct stat target = linkStat;
        bool isLink = S_ISLNK(linkStat.st_mode);
        if (isLink && fstatat(dirfd(dir_), name.c_str(), &target, 0) != 0) return false;
        entry.name = name;
        entry.size = S_ISDIR(target.st_mode) ? 0 : static_cast<std::uint64_t>(target.st_size);
        entry.attributes = Attributes(name, target, isLink);
        entry.dosDateTime = LocalDosDateTime(target.st_mtime);
        entry.lastWriteTime = FileTimeOf(target.st_mtim);
        entry.identity.reset();
        if (S_ISDIR(target.st_mode))
            entry.identity = FolderIdentity{static_cast<std::uint64_t>(target.st_dev),
                                            static_cast<std::uint64_t>(target.st_ino)};
        return true;
    }

    struct Name {
        std::string name;
        unsigned char type;
    };

    DIR* dir_;
    std::string folder_;
    std::string wildcard_;
    bool directoriesOnly_;
    std::vector<Name> names_;
    std::vector<bool> twins_;
    std::size_t next_ = 0;
};

class PosixReadOnlyFile : public ReadOnlyFile {
public:
    explicit PosixReadOnlyFile(int fd) : fd_(fd) {}
    ~PosixReadOnlyFile() override { close(fd_); }
    long Read(char* buffer, long count) override {
        return static_cast<long>(read(fd_, buffer, static_cast<std::size_t>(count)));
    }

private:
    int fd_;
};

class PosixFileSystem : public FileSystem {
public:
    std::unique_ptr<DirectoryListing> FindFirst(const std::string& pattern, bool directoriesOnly) override {
        std::string unixPattern = ToUnixPath(pattern);
        std::size_t slash = unixPattern.rfind('/');
        std::string folder = slash == std::string::npos ? std::string() : unixPattern.substr(0, slash + 1);
        std::string wildcard = unixPattern.substr(folder.size());
        if (wildcard.empty() || unixPattern.size() >= PATH_MAX) return nullptr;
        DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
        if (!dir) return nullptr;
        auto listing = std::make_unique<PosixListing>(dir, folder, wildcard, directoriesOnly);
        if (!listing->Prime()) return nullptr;
        return listing;
    }

    std::optional<FolderIdentity> IdentifyFolder(const std::string& path) override {
        struct stat info {};
        if (stat(ToUnixPath(path).c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return std::nullopt;
        return FolderIdentity{static_cast<std::uint64_t>(info.st_dev),
                              static_cast<std::uint64_t>(info.st_ino)};
    }

    std::unique_ptr<ReadOnlyFile> OpenRead(const std::string& path) override {
        // Non-blocking, and regular files only: opening a named pipe must not hang the scan.
        int fd = open(ToUnixPath(path).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) return nullptr;
        struct stat info {};
        if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
            close(fd);
            return nullptr;
        }
        return std::make_unique<PosixReadOnlyFile>(fd);
    }

    bool IsFileLink(const std::string& path) override {
        struct stat info {};
        return lstat(ToUnixPath(path).c_str(), &info) != 0 || S_ISLNK(info.st_mode);
    }

    // Side by side and ahead of the caller, as the Windows build asks: the scan's batches meet threads here
    // too, where the tests run under the thread checker.
    std::vector<ListedFileAnswers> ExamineListedFiles(const std::string& folder,
                                                      const std::vector<DirectoryEntry>& entries) override {
        return StartExamining(folder, entries)->Answers();
    }
    std::unique_ptr<Examination> StartExamining(const std::string& folder,
                                                std::vector<DirectoryEntry> entries) override {
        return std::make_unique<PooledExamination>(
            examiners_, folder, std::move(entries),
            [this](const std::string& path, const DirectoryEntry& entry) {
                return ListedFileAnswers{IsListedFileLink(path, entry.attributes), std::nullopt};
            });
    }
    std::size_t ExaminationsAhead() const override { return 4; }

private:
    WorkPool examiners_{3};
};

}  // namespace

std::unique_ptr<FileSystem> MakePlatformFileSystem() {
    return std::make_unique<PosixFileSystem>();
}

}  // namespace kelvaro
