// The deletion loop against a stand-in file system that behaves as Wine's does on a Linux folder, over
// thousands of generated worlds: a name whose exact entry is gone is looked up ignoring case and reaches a
// twin; the shell follows a link and destroys its target; files change, vanish, are swapped for links or
// get a twin while the shell works on other files; the shell fails for some files and the Recycle Bin
// refuses others. After each world: only selected, listed, unchanged files went, each with one record line,
// and the rows left are those of the files kept.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "base/ascii_case.h"
#include "platform/file_state.h"
#include "platform/name_case.h"
#include "run/deletion.h"

namespace kelvaro::testing {
namespace {

// A name as the platform compares it.
std::wstring Fold(const std::string& name) {
    return UpperCaseName(std::string_view(name));
}

struct Entry {
    enum Kind { File, Folder, Link } kind = File;
    std::uint64_t size = 0;
    std::uint64_t time = 0;
    std::uint64_t id = 0;  // the file's identity; a new file gets a new one
    std::string target;    // of a link: the full path it points to
};

// Paths are "folder\name" with one level of folders; a folder holds its entries by exact name.
class WineWorld : public FileStateProbe, public ShellDeleter {
public:
    std::map<std::string, std::map<std::string, Entry>> folders;
    std::function<void()> whileShellWorks;  // what other programs do meanwhile
    std::set<std::string> locked;           // exact paths the shell cannot delete
    std::set<std::string> unrecyclable;     // exact paths the Recycle Bin cannot take
    std::vector<Entry> destroyed;           // every entry the shell removed, with what it was
    std::uint64_t nextId = 1;

    Entry& Add(const std::string& folder, const std::string& name, Entry entry) {
        if (entry.id == 0) entry.id = nextId++;
        return folders[folder][name] = entry;
    }

    // Wine's look-up: the exact name first, then the first entry that matches ignoring case.
    std::map<std::string, std::map<std::string, Entry>>::iterator FindFolder(const std::string& path) {
        const std::wstring folder = Fold(path.substr(0, path.rfind('\\')));
        for (auto it = folders.begin(); it != folders.end(); ++it)
            if (Fold(it->first) == folder) return it;
        return folders.end();
    }

    std::pair<std::string, Entry*> Lookup(const std::string& path) {
        const auto slash = path.rfind('\\');
        auto folder = FindFolder(path);
        if (folder == folders.end()) return {{}, nullptr};
        const std::string name = path.substr(slash + 1);
        if (auto exact = folder->second.find(name); exact != folder->second.end())
            return {folder->first + "\\" + name, &exact->second};
        for (auto& [other, entry] : folder->second)
            if (Fold(other) == Fold(name)) return {folder->first + "\\" + other, &entry};
        return {{}, nullptr};
    }

    // As the platform probe answers: an open follows a link, and the name the system gives the open file
    // tells the listed entry from a twin and from a link's target.
    FileState Describe(const std::string& path) override {
        auto [found, entry] = Lookup(path);
        if (!entry) return {};
        if (found.substr(found.rfind('\\')) != path.substr(path.rfind('\\')))
            return {};  // only a twin answered
        if (entry->kind == Entry::Link) return {true, false};
        return {true, entry->kind == Entry::File, entry->size, entry->time, FileIdentity{1, entry->id}};
    }
    bool ExactEntryExists(const std::string& path) override {
        auto folder = FindFolder(path);
        return folder != folders.end() && folder->second.count(path.substr(path.rfind('\\') + 1));
    }

    // Wine's shell: the path is looked up as above, a link is followed and its target destroyed.
    DeleteOutcome ShellDeleteFile(const std::string& path, bool useRecycleBin) override {
        NoteShellCall();
        DeleteOutcome outcome = Remove(path, useRecycleBin, 0);
        if (whileShellWorks) whileShellWorks();
        return outcome;
    }

private:
    DeleteOutcome Remove(const std::string& path, bool useRecycleBin, int depth) {
        auto [found, entry] = Lookup(path);
        if (entry && entry->kind == Entry::Link && depth == 0) {
            const std::string target = entry->target;
            if (folders.count(target)) {  // a link to a folder: the folder goes, with everything in it
                for (auto& [name, inside] : folders[target]) destroyed.push_back(inside);
                folders.erase(target);
                return DeleteOutcome::Deleted;
            }
            return Remove(target, useRecycleBin, 1);
        }
        if (!entry || entry->kind == Entry::Folder || locked.count(found)) return DeleteOutcome::Failed;
        if (useRecycleBin && unrecyclable.count(found)) return DeleteOutcome::NotRecyclable;
        destroyed.push_back(*entry);
        const auto slash = found.rfind('\\');
        folders[found.substr(0, slash)].erase(found.substr(slash + 1));
        return DeleteOutcome::Deleted;
    }
};

struct Row {
    ListedFile file;
    bool selected = false;
};

class Rows : public DeletionRows {
public:
    std::vector<Row> rows;
    int RowCount() const override { return static_cast<int>(rows.size()); }
    bool IsSelected(int row) const override { return rows[row].selected; }
    std::int64_t ByteCount(int row) const override { return static_cast<std::int64_t>(rows[row].file.size); }
    ListedFile Listed(int row) const override { return rows[row].file; }
    void RemoveRows(const std::vector<std::uint64_t>& ids) override {
        for (std::uint64_t id : ids)
            std::erase_if(rows, [id](const Row& row) { return row.file.rowId == id; });
    }
};

const char* const kNames[] = {
    "a.tmp", "A.tmp", "b.tmp", "B.TMP", "c.tmp", "\u00E9t\u00E9.tmp", "\u00C9T\u00C9.tmp",
    "d.tmp", "e.tmp", "f.tmp"};

// One generated world: its files, what a run listed of them, what is selected, and what happens while the
// shell works. Returns a description of the first broken promise, or nothing.
std::optional<std::string> RunWorld(std::mt19937& random, bool useRecycleBin) {
    auto chance = [&](int percent) { return static_cast<int>(random() % 100) < percent; };
    WineWorld world;
    const std::string folder = "C:\\r";
    world.folders["C:\\out"];
    std::vector<std::string> victims;
    for (int i = 0; i < 3; ++i) {
        world.Add("C:\\out", "v" + std::to_string(i), {Entry::File, 5, 5});
        victims.push_back("C:\\out\\v" + std::to_string(i));
    }
    world.Add("C:\\vf", "inside", {Entry::File, 6, 6});
    victims.push_back("C:\\vf");
    for (const char* name : kNames)
        if (chance(60)) world.Add(folder, name, {Entry::File, random() % 3, random() % 3});

    // The run lists plain files, leaving out case twins; a file may be listed twice (two rules), the second
    // time perhaps through another spelling of its folder.
    Rows rows;
    std::uint64_t rowId = 1;
    for (const auto& [name, entry] : world.folders[folder]) {
        int twins = 0;
        for (const auto& [other, unused] : world.folders[folder]) twins += Fold(other) == Fold(name);
        if (twins > 1) continue;
        for (int copy = 0; copy < (chance(15) ? 2 : 1); ++copy) {
            const std::string path = (copy && chance(50) ? "C:\\R" : folder) + "\\" + name;
            rows.rows.push_back(
                {{path, entry.size, entry.time, rowId++, 1, FileIdentity{1, entry.id}}, chance(80)});
        }
    }
    for (const auto& [name, entry] : world.folders[folder]) {
        if (chance(10)) world.locked.insert(folder + "\\" + name);
        if (chance(10)) world.unrecyclable.insert(folder + "\\" + name);
    }

    // Other programs at work, between one shell call and the next.
    world.whileShellWorks = [&] {
        auto& files = world.folders[folder];
        if (files.empty() || !chance(40)) return;
        auto it = files.begin();
        std::advance(it, random() % files.size());
        const std::string name = it->first;
        Entry& entry = it->second;
        switch (random() % 7) {
            case 0:  // swapped for a link to a file or folder outside
                entry = {Entry::Link, entry.size, entry.time, entry.id, victims[random() % victims.size()]};
                break;
            case 1:  // a twin appears, sometimes the very same size and time
                world.Add(folder, UpperAscii(name) == name ? "x" + name : UpperAscii(name),
                          {Entry::File, entry.size, entry.time});
                break;
            case 2:
                ++entry.size;
                break;
            case 3:
                entry = {Entry::Folder};
                break;
            case 4:
                files.erase(it);
                break;
            case 5:  // the folder renamed away and made again: a new file of the same name, size and time
                entry.id = world.nextId++;
                break;
            case 6:  // removed, and the twin takes its place
                world.Add(folder, name == UpperAscii(name) ? "z" + name : UpperAscii(name),
                          {Entry::File, entry.size, entry.time, entry.id + 1000});
                files.erase(name);
                break;
        }
    };

    const std::vector<Row> before = rows.rows;
    std::map<std::uint64_t, int> lines;  // record lines by file identity
    std::string lineFault;
    const DeletionResult result =
        DeleteSelectedRows(rows, world, world, useRecycleBin, [&](const ListedFile& file, bool recycled) {
            if (recycled != useRecycleBin) lineFault = "a line with the wrong kind of delete";
            ++lines[file.identity->index];
            return true;
        });
    if (!lineFault.empty()) return lineFault;

    std::set<std::uint64_t> selectedIds;
    std::map<std::uint64_t, const ListedFile*> listed;
    for (const Row& row : before) {
        listed[row.file.identity->index] = &row.file;
        if (row.selected) selectedIds.insert(row.file.identity->index);
    }
    for (const Entry& gone : world.destroyed) {
        auto was = listed.find(gone.id);
        if (was == listed.end())
            return "the shell destroyed a file nobody listed (id " + std::to_string(gone.id) + ")";
        if (!selectedIds.count(gone.id)) return "an unselected file went: " + was->second->path;
        if (gone.size != was->second->size || gone.time != was->second->lastWriteTime)
            return "a file that changed since it was listed went: " + was->second->path;
        if (lines[gone.id] != 1)
            return "a file that went has " + std::to_string(lines[gone.id]) +
                   " record lines: " + was->second->path;
    }
    for (const auto& [id, count] : lines) {
        bool went = false;
        for (const Entry& gone : world.destroyed) went |= gone.id == id;
        if (!went) return "a record line for a file the shell did not delete";
    }
    if (result.deleted != static_cast<int>(world.destroyed.size()))
        return "the count of deleted files is wrong";
    if (rows.rows.size() != before.size() - world.destroyed.size()) return "rows left are not the files kept";
    return std::nullopt;
}

TEST(DeletionModel, OnlySelectedListedUnchangedFilesGoEachWithOneLine) {
    std::mt19937 random(20261208);
    for (int world = 0; world < 4000; ++world) {
        const bool recycle = world % 2 == 0;
        const std::optional<std::string> fault = RunWorld(random, recycle);
        ASSERT_FALSE(fault) << "world " << world << (recycle ? " (recycling): " : ": ") << *fault;
    }
}

}  // namespace
}  // namespace kelvaro::testing
