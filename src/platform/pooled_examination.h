#pragma once
// A batch of listed files asked about on a pool's threads while the caller goes on.
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "base/work_pool.h"
#include "platform/file_system.h"

namespace kelvaro {

class PooledExamination : public FileSystem::Examination {
public:
    // ask(path, entry): one file's answers; it runs on the pool's threads, several at once. One that throws
    // told nothing: its file is taken for a link, and not listed.
    using Ask =
        std::function<FileSystem::ListedFileAnswers(const std::string& path, const DirectoryEntry& entry)>;

    PooledExamination(WorkPool& pool, std::string folder, std::vector<DirectoryEntry> entries, Ask ask)
        : pool_(pool),
          folder_(std::move(folder)),
          entries_(std::move(entries)),
          ask_(std::move(ask)),
          answers_(entries_.size()) {
        job_ = pool_.Start(entries_.size(), [this](std::size_t i) {
            try {
                answers_[i] = ask_(folder_ + entries_[i].name, entries_[i]);
            } catch (...) {
                answers_[i] = {};
            }
        });
    }
    // Its questions write into it: all are answered before it goes.
    ~PooledExamination() override { pool_.Wait(job_); }
    PooledExamination(const PooledExamination&) = delete;
    PooledExamination& operator=(const PooledExamination&) = delete;

    const std::vector<FileSystem::ListedFileAnswers>& Answers() override {
        pool_.Wait(job_);
        return answers_;
    }
    const std::vector<DirectoryEntry>& Entries() const override { return entries_; }

private:
    WorkPool& pool_;
    const std::string folder_;
    const std::vector<DirectoryEntry> entries_;
    const Ask ask_;
    std::vector<FileSystem::ListedFileAnswers> answers_;
    WorkPool::Ticket job_;
};

}  // namespace kelvaro
