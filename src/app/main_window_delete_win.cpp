// The main window's delete: the selected rules in setup mode, the selected files in view mode, each file
// deleted going into the deletion record.
#include <windows.h>

#include "app/main_window_win.h"
#include "app/progress_dialog_win.h"
#include "app/status_panels.h"
#include "run/delete_progress.h"
#include "run/record_files_win.h"
#include "ui/message_box_win.h"

namespace kelvaro {
namespace {

// The delete's window as the pacer shows its progress there.
class DeleteWindow : public DeleteProgressView {
public:
    explicit DeleteWindow(TForm3& form) : form_(form) {}
    void Show() override { form_.Show(); }
    void Update(const std::string& text, const std::string& path, int tried, int total) override {
        form_.SetSearchText(text);
        form_.Status().SetFileName(path);
        form_.SetProgress(tried, total);
    }
    void Hide() override { form_.Hide(); }

private:
    TForm3& form_;
};

// The pacer the window's Stop reaches, for as long as the delete lasts.
class PacerScope {
public:
    PacerScope(DeletePacer*& current, DeletePacer& pacer) : current_(current) { current_ = &pacer; }
    ~PacerScope() { current_ = nullptr; }
    PacerScope(const PacerScope&) = delete;
    PacerScope& operator=(const PacerScope&) = delete;

private:
    DeletePacer*& current_;
};

}  // namespace

void TForm1::EBDeleteClick() {
    // The shell's boxes have no owner, so the window takes input while a delete waits in one: a second
    // delete, of either list, must not start inside the first.
    if (work_.Busy(Work::Delete)) return;
    if (setupList_->Visible()) {
        while (setupList_->SelectedCount() > 0) setupList_->DeleteRow(setupList_->SelectedRows().front());
        return;
    }
    if (!listView_->Visible()) return;
    if (confirmDelete_ && ShowMessageBox(Handle(), DeleteQuestion(useRecycleBin_), "Confirm",
                                         MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    // The option may be changed while the delete runs; what the files went by is what it was at the start.
    const bool recycled = useRecycleBin_;
    AfterWork after = AfterWork::Nothing;
    const DeletionResult result = DeleteSelectedFiles(false, after);
    // What it did stays in the hint panel until the next hint.
    if (result.deleted > 0)
        ShowInHintPanel(DeletedFilesText(result, recycled, services_.locale->ThousandSeparator(),
                                         services_.locale->DecimalSeparator()));
    // One box for every file kept, whatever kept it.
    const std::string kept = KeptFilesText(result);
    if (!kept.empty()) ShowMessageBox(Handle(), kept, "Kelvaro", MB_OK | MB_ICONINFORMATION);
    if (after == AfterWork::Close) SendMessageA(Handle(), WM_CLOSE, 0, 0);
}

DeletionResult TForm1::DeleteSelectedFiles(bool automatic, AfterWork& after, RunFigures* deleted) {
    WorkScope deleting(work_, Work::Delete);
    if (!deleting.Started()) return {};
    ResultRows rows(*listView_,
                    [this](const std::vector<std::uint64_t>& ids) { selection_->RemoveRows(ids); });
    // In a delete the user watches, the record never stands in the way: a line that cannot be written is
    // only noted. Nobody watches an automatic run: without its record it stops.
    bool recordFailed = false;
    auto record = [&](const ListedFile& file, bool recycled) {
        bool recorded = false;
        if (record_) {
            try {
                recorded = record_->Write(
                    {LocalTimeNow(), recycled, file.size, file.path, file.ruleNumber, automatic});
            } catch (const std::exception&) {
            }
            recordFailed = recordFailed || !recorded;
        }
        if (deleted) {
            ++deleted->files;
            deleted->bytes += static_cast<std::int64_t>(file.size);
        }
        return recorded || !automatic;
    };
    // The window's messages run between files, on a timer; a delete that lasts shows its own window, and
    // the rows of the files gone leave the list in batches as it goes.
    DeleteWindow window(*deleteForm_);
    DeletionResult result;
    {
        DeletePacer pacer(*services_.clock, *services_.pump, window, services_.locale->ThousandSeparator(),
                          [&rows](const std::vector<std::uint64_t>& ids) { rows.RemoveRows(ids); });
        PacerScope current(deletePacer_, pacer);
        result = DeleteSelectedRows(
            rows, *services_.deleter, *services_.fileStates, useRecycleBin_,
            [&](const ListedFile& file, bool recycled) {
                pacer.FileGone(file.rowId);
                return record(file, recycled);
            },
            [&pacer](int tried, int total, const ListedFile& last) {
                return pacer.Between(tried, total, last);
            });
    }
    if (record_) record_->Close();
    // Said once, after the loop, where nothing of the delete writes over it.
    if (recordFailed) SetStatusText(kStatePanel, "Deletion record not written");
    after = deleting.End();
    return result;
}

void TForm1::StopDelete() {
    if (deletePacer_) deletePacer_->RequestStop();
}

void TForm1::DeletionRecord1Click() {
    if (!record_ || services_.recordFiles->Size(services_.recordPath) == 0) {
        ShowMessageBox(Handle(), "Kelvaro has not deleted any file yet, so there is no deletion record.",
                       "Kelvaro", MB_OK | MB_ICONINFORMATION);
        return;
    }
    services_.openTextViewer(services_.recordPath);
}

}  // namespace kelvaro
