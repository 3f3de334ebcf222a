// The main window's work: the search run, deletion, the selection summary and automatic mode.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <functional>

#include "app/command_ids.h"
#include "app/main_window_win.h"
#include "app/progress_dialog_win.h"
#include "app/status_panels.h"
#include "base/ascii_case.h"
#include "base/busy_flag.h"
#include "rules/protected_store.h"
#include "rules/rule_tip.h"
#include "run/broken_shortcut.h"
#include "run/command_line.h"
#include "run/deletion.h"
#include "run/listable_file_win.h"
#include "run/record_files_win.h"
#include "run/result_row.h"
#include "run/run_folder.h"
#include "shell/icon_cache.h"
#include "ui/message_box_win.h"
#include "widgets/cool_list_view_win.h"
#include "widgets/speed_button_win.h"

namespace kelvaro {
namespace {

// The results list as the deletion loop and the summary see it.
class ResultRows : public DeletionRows {
public:
    using Remover = std::function<void(const std::vector<std::uint64_t>&)>;
    explicit ResultRows(TCoolListView& list, Remover remove = {}) : list_(list), remove_(std::move(remove)) {}
    int RowCount() const override { return list_.RowCount(); }
    bool IsSelected(int row) const override { return list_.IsSelected(row); }
    std::int64_t ByteCount(int row) const override { return list_.RowData(row); }
    ListedFile Listed(int row) const override {
        const RowTags tags = list_.RowTagsOf(row);
        return {list_.Text(row, 2) + list_.Text(row, 0),
                static_cast<std::uint64_t>(list_.RowData(row)),
                tags[0],
                list_.RowId(row),
                list_.RowRule(row),
                tags[2] != 0 ? std::optional<FileIdentity>(FileIdentity{tags[1], tags[2]}) : std::nullopt};
    }
    void RemoveRows(const std::vector<std::uint64_t>& rowIds) override {
        if (remove_) remove_(rowIds);
    }

private:
    TCoolListView& list_;
    Remover remove_;
};

// The progress dialog as the broken-shortcut test shows its progress there.
class DialogProgress : public ShortcutTestProgress {
public:
    explicit DialogProgress(TForm3& dialog) : dialog_(dialog) {}
    std::string StatusLine() override { return dialog_.SearchText(); }
    void SetStatusLine(const std::string& text) override { dialog_.SetSearchText(text); }
    void SetPathLabel(const std::string& text) override { dialog_.Status().SetFileName(text); }
    void Repaint() override { dialog_.RepaintNow(); }

private:
    TForm3& dialog_;
};

}  // namespace

void TForm1::SpeedButton3Click() {
    // The scan pumps messages, so Start can arrive again while a run goes on: it is ignored. So is a Start
    // while a delete waits in one of the shell's boxes: it would empty the list the delete works on.
    if (running_ || deleting_) return;
    BusyFlag running(running_);

    SetStatusText(kStatePanel, "Searching!!");
    SetStatusText(kHintPanel, " ");
    form3_->Show();
    listView_->Clear();
    runRules_.clear();
    sums_.Reset();
    icons_->Clear();
    fileScan_->StopScan = false;
    // Also when an error ends the run early.
    struct Finish {
        TForm1& form;
        ~Finish() {
            if (form.StatusText(kStatePanel) == "Searching!!")
                form.SetStatusText(kStatePanel, "Search Finished!!");
            form.Form3().Hide();
            // The close that came during the run, now that nothing of the run is left on the stack.
            if (form.closeAfterRun_) PostMessageA(form.Handle(), WM_CLOSE, 0, 0);
        }
    } finish{*this};

    // The rules as they stand when the run starts, their folders made absolute once, now: the rows hold
    // full paths, which a later change of the current folder cannot send elsewhere.
    for (int index = 0; index < setupList_->RowCount(); ++index) runRules_.push_back(Rule(index));
    std::vector<std::string> folders;
    for (const RuleRow& rule : runRules_)
        folders.push_back(
            RunFolder(rule.Caption, static_cast<int>(folders.size()) + 1, *services_.fullPaths));
    // Read anew for every run, so a change in the Protected Folders dialog holds from the next run on.
    fileScan_->SetProtectedItems(ProtectedItems(RunProtectedItems(
        LoadProtectedItemsForRun(*services_.settings, settingsKey_), *services_.fullPaths)));

    TSpeedButton& start = Button(command::EBStart);
    for (std::size_t index = 0; index < runRules_.size(); ++index) {
        CurrentRuleIndex = static_cast<int>(index);
        if (fileScan_->StopScan || Ending()) break;
        const RuleRow& rule = runRules_[index];
        DecodeRuleForRun(rule, CurrentRuleIndex + 1, *fileScan_);
        fileScan_->Directory = folders[index];
        form3_->SetSearchText(UpperAscii(rule.SubItems[0]).find(".LNK") != std::string::npos
                                  ? "Searching for broken shortcuts"
                                  : "Searching for " + rule.SubItems[0]);
        form3_->Status().SetFileName("");
        form3_->RepaintNow();
        start.SetEnabled(false);
        start.RepaintNow();
        services_.pump->ProcessMessages();
        // A new scan clears the stop flag, so a close that came just now must keep it from starting.
        if (!Ending()) fileScan_->SetStartScan(true);
        start.SetEnabled(true);
        start.RepaintNow();
        // Nobody will see the rows of a run the program is ending on.
        if (Ending()) break;
        AddFoundFiles(rule);
    }
    fileScan_->StopScan = false;
}

bool TForm1::Ending() const {
    return closeAfterRun_ || services_.pump->QuitRequested();
}

// A close during a run stops it as Stop does; the window closes when the run has unwound, so that the
// run never goes on with a window, lists and settings that are gone.
void TForm1::StopRunToClose() {
    closeAfterRun_ = true;
    EBAbortClick();
}

void TForm1::AddFoundFiles(const RuleRow& rule) {
    DialogProgress progress(*form3_);
    // Nothing reads the window while a rule's rows are made, so they join the list together; the rows
    // made before an error still join it.
    std::vector<TCoolListView::NewRow> rows;
    try {
        for (std::size_t i = 0; i < fileScan_->FileList.size(); ++i) {
            const std::string& path = fileScan_->FileList[i];
            const FoundEntry& found = fileScan_->FoundEntries[i];
            // Size, date and attributes as the directory search gave them moments ago; the scan may have
            // tried the open already.
            bool opened = found.openableForWriting ? *found.openableForWriting
                                                   : CanOpenForReadWrite(path, found.attributes);
            bool valid = UpperAscii(SplitExt(path)) == ".LNK" &&
                         ShortcutIsValid(path, rule.SubItems[4], *shellLink_, *services_.targetProbe,
                                         *services_.drives, progress);
            if (!opened || valid) continue;
            rows.push_back(ResultListRow(path, found, IconIndexOf(path)));
            rows.back().Rule = CurrentRuleIndex + 1;
        }
    } catch (...) {
        AddResultRows(std::move(rows));
        throw;
    }
    AddResultRows(std::move(rows));
}

TCoolListView::NewRow TForm1::ResultListRow(const std::string& path, const FoundEntry& found,
                                            int imageIndex) const {
    ResultRowTexts texts = MakeResultRow(path, found.size, found.dosDateTime, *services_.locale);
    // What the delete compares the file with just before it goes: its time, and which file it was.
    const FileIdentity identity = found.identity.value_or(FileIdentity{});
    return {std::move(texts.Name),
            {std::move(texts.Ext), std::move(texts.Location), std::move(texts.Size), std::move(texts.Date),
             std::move(texts.Time)},
            imageIndex,
            static_cast<std::int64_t>(found.size),
            {found.lastWriteTime, identity.volume, identity.index}};
}

void TForm1::AddResultRows(std::vector<TCoolListView::NewRow> rows) {
    for (const TCoolListView::NewRow& row : rows) sums_.Added(row.Data);
    listView_->AddRows(std::move(rows));
}

int TForm1::IconIndexOf(const std::string& path) {
    return icons_->IndexOf(path, UpperAscii(SplitExt(path)));
}

void TForm1::EBDeleteClick() {
    // The shell's boxes have no owner, so the window takes input while a delete waits in one: a second
    // delete, of either list, must not start inside the first.
    if (deleting_) return;
    if (setupList_->Visible()) {
        while (setupList_->SelectedCount() > 0) setupList_->DeleteRow(setupList_->SelectedRows().front());
        return;
    }
    if (!listView_->Visible()) return;
    if (confirmDelete_ &&
        ShowMessageBox(Handle(), "Delete selected files?", "Confirm", MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    const DeletionResult result = DeleteSelectedFiles(false);
    // One box for every file kept, whatever kept it.
    const std::string kept = KeptFilesText(result);
    if (!kept.empty()) ShowMessageBox(Handle(), kept, "Kelvaro", MB_OK | MB_ICONINFORMATION);
    CloseIfAskedDuringDelete();
}

DeletionResult TForm1::DeleteSelectedFiles(bool automatic, RunFigures* deleted) {
    BusyFlag deleting(deleting_);
    ResultRows rows(*listView_, [this](const std::vector<std::uint64_t>& ids) { RemoveResultRows(ids); });
    recordFailed_ = false;
    const DeletionResult result =
        DeleteSelectedRows(rows, *services_.deleter, *services_.fileStates, useRecycleBin_,
                           [&](const ListedFile& file, bool recycled) {
                               const bool recorded = RecordDeletedFile(file, recycled, automatic);
                               if (deleted) {
                                   ++deleted->files;
                                   deleted->bytes += static_cast<std::int64_t>(file.size);
                               }
                               // Nobody watches an automatic run: without its record it stops here.
                               return recorded || !automatic;
                           });
    if (record_) record_->Close();
    // Said once, after the loop, where nothing of the delete writes over it.
    if (recordFailed_) SetStatusText(kStatePanel, "Deletion record not written");
    return result;
}

// In a delete the user watches, the record never stands in the way: a line that cannot be written is only
// noted. False when the line was not written.
bool TForm1::RecordDeletedFile(const ListedFile& file, bool recycled, bool automatic) {
    if (!record_) return false;
    try {
        if (record_->Write({LocalTimeNow(), recycled, file.size, file.path, file.ruleNumber, automatic}))
            return true;
    } catch (const std::exception&) {
    }
    recordFailed_ = true;
    return false;
}

std::string TForm1::RowRuleTip(int row) const {
    const int rule = listView_->RowRule(row);
    if (rule < 1 || static_cast<std::size_t>(rule) > runRules_.size()) return {};
    return RuleTipText(rule, runRules_[static_cast<std::size_t>(rule) - 1]);
}

void TForm1::RemoveResultRows(const std::vector<std::uint64_t>& rowIds) {
    if (rowIds.empty()) return;
    {
        BusyFlag removing(removingRows_);
        listView_->DeleteRows(rowIds);
    }
    ShowSelectionSummary();
}

void TForm1::CloseIfAskedDuringDelete() {
    if (!closeAfterDelete_) return;
    closeAfterDelete_ = false;
    SendMessageA(Handle(), WM_CLOSE, 0, 0);
}

void TForm1::ShowSelectionSummary() {
    if (removingRows_) return;
    int selected = listView_->SelectedCount();
    // The list may report a selected row while a selection change is under way, before its count says
    // so. Only then is it asked: the question walks the whole list, and rows being added change texts.
    bool reportsSelected = selected == 0 && changeTouchesSelection_ &&
                           ListView_GetNextItem(listView_->Handle(), -1, LVNI_SELECTED) != -1;
    if (selected == 0 && !reportsSelected) return;
    sums_.RecountIfNeeded(ResultRows(*listView_));
    if (auto summary = SelectionSummaryFromSums(
            selected, listView_->RowCount(), reportsSelected, sums_.SelectedBytes(), sums_.TotalBytes(),
            services_.locale->ThousandSeparator(), services_.locale->DecimalSeparator()))
        SetStatusText(kStatePanel, *summary);
}

// Keeps the byte sums in step with the list, so that selecting or deleting many rows does not sum the
// whole list again at every change.
void TForm1::TrackResultsList(const NMHDR& header) {
    // Rows that move take their selection along: the sums stay as they are.
    if (listView_->MovingRows()) return;
    const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
    if (header.code == LVN_ITEMCHANGING || header.code == LVN_ITEMCHANGED)
        changeTouchesSelection_ = (change.uChanged & LVIF_STATE) != 0;
    switch (header.code) {
        case LVN_ITEMCHANGED:
            if (!(change.uChanged & LVIF_STATE) || !((change.uOldState ^ change.uNewState) & LVIS_SELECTED))
                break;
            if (change.iItem < 0)
                sums_.Invalidate();
            else if (sums_.Valid())
                sums_.SelectionChanged(listView_->RowData(change.iItem), change.uNewState & LVIS_SELECTED);
            break;
        case LVN_DELETEITEM:
            if (sums_.Valid())
                sums_.Deleted(listView_->RowData(change.iItem), listView_->IsSelected(change.iItem));
            break;
        case LVN_DELETEALLITEMS:
        case LVN_ODSTATECHANGED:  // a range of rows selected or unselected at once
            sums_.Invalidate();
            break;
    }
}

void TForm1::SelectAllResults() {
    const int selectedBefore = listView_->SelectedCount();
    {
        BusyFlag quiet(selectingAll_);
        listView_->SelectAll();
    }
    // Unchanged, the selection says nothing new: the panel keeps what it shows.
    if (listView_->SelectedCount() != selectedBefore) ShowSelectionSummary();
}

void TForm1::ListViewChange(int) {
    if (!selectingAll_) ShowSelectionSummary();
}

bool TForm1::ListViewChanging(int) {
    if (!selectingAll_) ShowSelectionSummary();
    return true;
}

// Runs after the settings are loaded, when the window is first shown.
void TForm1::AutomaticMode() {
    if (!IsAutomaticModeArgument(FirstArgument(CommandLine))) return;
    SpeedButton3Click();
    // Closed or quit during the run: the user chose to end it, not to delete what it had found.
    if (Ending()) return;
    SelectAllResults();
    sums_.RecountIfNeeded(ResultRows(*listView_));
    const RunFigures found{listView_->SelectedCount(), sums_.SelectedBytes()};
    // With confirmation on the user is asked anyway, with what the guard knows; without it the guard
    // decides whether to ask.
    const bool go = confirmDelete_ ? AutomaticRunConfirmed(found) : AutomaticRunMayDelete(found);
    if (go && DeleteAutomatically()) {
        closeAfterDelete_ = false;
        SendMessageA(Handle(), WM_CLOSE, 0, 0);
    }
    if (Handle() && IsIconic(Handle())) ShowWindow(Handle(), SW_RESTORE);
}

// Deletes what an automatic run selected; false when it has something to tell, and the window stays.
bool TForm1::DeleteAutomatically() {
    const std::string recordProblem = "Kelvaro cannot write its deletion record";
    const std::string where = record_ ? " (" + services_.recordPath + ")" : std::string();
    if (!record_ || !record_->Ready()) {
        if (record_) record_->Close();
        ShowRunWindow();
        ShowMessageBox(Handle(),
                       recordProblem + where +
                           ", so this automatic run deleted nothing. The files it found " +
                           "are listed; delete them from the list, or make the record writable.",
                       "Kelvaro", MB_OK | MB_ICONWARNING);
        return false;
    }
    // Files kept (changed, vanished, or not recyclable) are not reported: nobody is there to read it.
    RunFigures deleted;
    const DeletionResult result = DeleteSelectedFiles(true, &deleted);
    if (auto history = services_.settings->OpenKey(HistoryKey(), true)) WriteRunHistory(*history, deleted);
    if (!result.stopped) return true;
    ShowRunWindow();
    ShowMessageBox(Handle(),
                   recordProblem + where + " any more, so this automatic run stopped deleting. The files " +
                       "still listed were kept.",
                   "Kelvaro", MB_OK | MB_ICONWARNING);
    return false;
}

// The list is there for the user to look at before answering, and after a No. The window is being shown,
// not yet visible, while the first showing runs automatic mode; minimised, it is restored.
void TForm1::ShowRunWindow() {
    if (IsIconic(Handle()) || !IsWindowVisible(Handle())) {
        ShowWindow(Handle(), IsIconic(Handle()) ? SW_RESTORE : SW_SHOW);
        UpdateWindow(Handle());
    }
}

std::vector<RunFigures> TForm1::AutomaticRunHistory() {
    if (auto key = services_.settings->OpenKey(HistoryKey(), false)) return ReadRunHistory(*key);
    return {};
}

bool TForm1::AutomaticRunConfirmed(const RunFigures& found) {
    const std::vector<RunFigures> history = AutomaticRunHistory();
    ShowRunWindow();
    const UINT defaultButton = GuardStopsRun(found, history) ? MB_DEFBUTTON2 : MB_DEFBUTTON1;
    return ShowMessageBox(Handle(), ConfirmedRunQuestion(found, history), "Confirm",
                          MB_YESNO | MB_ICONQUESTION | defaultButton) == IDYES;
}

bool TForm1::AutomaticRunMayDelete(const RunFigures& found) {
    const std::vector<RunFigures> history = AutomaticRunHistory();
    if (!GuardStopsRun(found, history)) return true;
    ShowRunWindow();
    return ShowMessageBox(Handle(), GuardQuestion(found, history), "Kelvaro",
                          MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
}

}  // namespace kelvaro
