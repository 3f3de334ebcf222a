// The main window's side of the search run: the run's loop (run/search_run.h) works through RunHost,
// which sets the scan up for each rule and turns what it found into rows of the results list.
#include <windows.h>

#include "app/command_ids.h"
#include "app/main_window_win.h"
#include "app/progress_dialog_win.h"
#include "app/status_panels.h"
#include "base/ascii_case.h"
#include "rules/protected_store.h"
#include "rules/rule_tip.h"
#include "run/broken_shortcut.h"
#include "run/listable_file_win.h"
#include "run/result_row.h"
#include "run/run_folder.h"
#include "run/search_run.h"
#include "shell/icon_cache.h"
#include "widgets/speed_button_win.h"

namespace kelvaro {
namespace {

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

// The scan's label as a run hands it over: the progress dialog's status line counts the files found so far
// each time the scan shows an entry, which it does at its own pace rather than per file.
class CountingLabel : public InfoLabel {
public:
    CountingLabel(InfoLabel* shown, TForm3& dialog, const TFileScan& scan, std::string wildcard,
                  std::int64_t foundBefore, std::string thousandSeparator)
        : shown_(shown),
          dialog_(dialog),
          scan_(scan),
          wildcard_(std::move(wildcard)),
          found_(foundBefore),
          thousandSeparator_(std::move(thousandSeparator)),
          text_(dialog.SearchText()) {}
    void SetFileName(const std::string& text) override {
        // Only the lines added since the last look are counted: a count of the whole list would cost more
        // the more is found.
        for (; counted_ < scan_.FoundEntries.size(); ++counted_)
            if (!scan_.FoundEntries[counted_].isError) ++found_;
        std::string searching = SearchingText(wildcard_, found_, thousandSeparator_);
        if (searching != text_) dialog_.SetSearchText(text_ = std::move(searching));
        if (shown_) shown_->SetFileName(text);
    }
    void Repaint() override {
        if (shown_) shown_->Repaint();
    }

private:
    InfoLabel* shown_;
    TForm3& dialog_;
    const TFileScan& scan_;
    std::string wildcard_;
    std::int64_t found_;
    std::string thousandSeparator_;
    std::string text_;
    std::size_t counted_ = 0;
};

// The scan shows its entries through the counting label for as long as it runs, however it ends.
class LabelScope {
public:
    LabelScope(InfoLabel*& current, InfoLabel& label) : current_(current), previous_(current) {
        current_ = &label;
    }
    ~LabelScope() { current_ = previous_; }
    LabelScope(const LabelScope&) = delete;
    LabelScope& operator=(const LabelScope&) = delete;

private:
    InfoLabel*& current_;
    InfoLabel* previous_;
};

}  // namespace

class TForm1::RunHost : public SearchRunHost {
public:
    explicit RunHost(TForm1& form) : form_(form), scan_(*form.fileScan_) {}

    int BeginRun() override {
        form_.SetStatusText(kStatePanel, "Searching!!");
        form_.SetStatusText(kHintPanel, " ");
        form_.form3_->Show();
        form_.listView_->Clear();
        form_.runRules_.clear();
        form_.selection_->Reset();
        form_.icons_->Clear();
        scan_.StopScan = false;
        // The rules as they stand when the run starts, their folders made absolute once, now: the rows
        // hold full paths, which a later change of the current folder cannot send elsewhere.
        for (int index = 0; index < form_.setupList_->RowCount(); ++index)
            form_.runRules_.push_back(form_.Rule(index));
        for (const RuleRow& rule : form_.runRules_)
            folders_.push_back(
                RunFolder(rule.Caption, static_cast<int>(folders_.size()) + 1, *form_.services_.fullPaths));
        // Read anew for every run, so a change in the Protected Folders dialog holds from the next run on.
        scan_.SetProtectedItems(ProtectedItems(
            RunProtectedItems(LoadProtectedItemsForRun(*form_.services_.settings, form_.settingsKey_),
                              *form_.services_.fullPaths)));
        return static_cast<int>(form_.runRules_.size());
    }
    void PrepareRule(int index) override {
        form_.currentRule_ = index;
        const RuleRow& rule = form_.runRules_[static_cast<std::size_t>(index)];
        DecodeRuleForRun(rule, index + 1, scan_);
        scan_.Directory = folders_[static_cast<std::size_t>(index)];
        form_.form3_->SetSearchText(
            SearchingText(rule.SubItems[0], form_.listView_->RowCount(), ThousandSeparator()));
        form_.form3_->Status().SetFileName("");
        form_.form3_->RepaintNow();
    }
    void SetStartEnabled(bool enabled) override {
        TSpeedButton& start = form_.Button(command::EBStart);
        start.SetEnabled(enabled);
        start.RepaintNow();
    }
    bool StopRequested() override { return scan_.StopScan; }
    void Scan() override {
        CountingLabel counting(scan_.CurrInfoLabel, *form_.form3_, scan_,
                               form_.runRules_[static_cast<std::size_t>(form_.currentRule_)].SubItems[0],
                               form_.listView_->RowCount(), ThousandSeparator());
        LabelScope scope(scan_.CurrInfoLabel, counting);
        scan_.SetStartScan(true);
    }
    void AddFoundFiles(int index) override;
    void ClearStop() override { scan_.StopScan = false; }
    void EndRun(bool close) override {
        if (form_.StatusText(kStatePanel) == "Searching!!")
            form_.SetStatusText(kStatePanel, "Search Finished!!");
        // Also after a stop or an error: what the list holds is what was found up to there.
        const RunFigures found = form_.selection_->Listed();
        form_.ShowInHintPanel(FoundFilesText(found.files, static_cast<std::uint64_t>(found.bytes),
                                             ThousandSeparator(),
                                             form_.services_.locale->DecimalSeparator()));
        form_.form3_->Hide();
        if (close) PostMessageA(form_.Handle(), WM_CLOSE, 0, 0);
    }

private:
    std::string ThousandSeparator() const { return form_.services_.locale->ThousandSeparator(); }
    NewFileRow ResultListRow(std::string path, const FoundEntry& found, int imageIndex) const;
    void AddResultRows(std::vector<NewFileRow>& rows) {
        form_.selection_->RowsAdded(rows);
        form_.listView_->AddFileRows(rows);
        rows.clear();
    }

    TForm1& form_;
    TFileScan& scan_;
    std::vector<std::string> folders_;
};

void TForm1::RunHost::AddFoundFiles(int index) {
    const RuleRow& rule = form_.runRules_[static_cast<std::size_t>(index)];
    DialogProgress progress(*form_.form3_);
    // Nothing reads the window while a rule's rows are made, so they join the list in large batches
    // rather than one by one; the rows made before an error still join it.
    constexpr std::size_t kBatch = 65536;
    std::vector<NewFileRow> rows;
    try {
        for (std::size_t i = 0; i < scan_.FileList.size(); ++i) {
            const std::string& path = scan_.FileList[i];
            const FoundEntry& found = scan_.FoundEntries[i];
            // Size, date and attributes as the directory search gave them moments ago; the scan may have
            // tried the open already.
            bool opened = found.openableForWriting ? *found.openableForWriting
                                                   : CanOpenForReadWrite(path, found.attributes);
            const std::string ext = UpperAscii(SplitExt(path));
            bool valid = ext == ".LNK" &&
                         ShortcutIsValid(path, rule.SubItems[4], *form_.shellLink_,
                                         *form_.services_.targetProbe, *form_.services_.drives, progress);
            if (!opened || valid) continue;
            const int image = form_.icons_->IndexOf(path, ext);
            // The path moves into the row: the scan's copy goes as the rows are made, not after all of them.
            rows.push_back(ResultListRow(std::move(scan_.FileList[i]), found, image));
            rows.back().Rule = index + 1;
            if (rows.size() == kBatch) AddResultRows(rows);
        }
    } catch (...) {
        AddResultRows(rows);
        throw;
    }
    AddResultRows(rows);
    // The rows keep what they need of the files: the scan's own list would double a large run's memory.
    std::vector<std::string>().swap(scan_.FileList);
    std::vector<FoundEntry>().swap(scan_.FoundEntries);
}

NewFileRow TForm1::RunHost::ResultListRow(std::string path, const FoundEntry& found, int imageIndex) const {
    // What the delete compares the file with just before it goes: its time, and which file it was.
    const FileIdentity identity = found.identity.value_or(FileIdentity{});
    return {std::move(path), found.size, found.lastWriteTime, found.dosDateTime, identity.volume,
            identity.index,  0,          imageIndex};
}

void TForm1::SpeedButton3Click() {
    RunHost host(*this);
    SearchRun(host, work_, *services_.pump).Run();
}

void TForm1::EBAbortClick() {
    // Esc during a delete stops the delete, not a run it may have started in.
    if (work_.Busy(Work::Delete)) return StopDelete();
    fileScan_->StopScan = true;
    TSpeedButton& start = Button(command::EBStart);
    start.SetEnabled(true);
    start.RepaintNow();
    SetStatusText(kStatePanel, "Search Aborted!!");
}

std::string TForm1::RowRuleTip(int row) const {
    const int rule = listView_->RowRule(row);
    if (rule < 1 || static_cast<std::size_t>(rule) > runRules_.size()) return {};
    return RuleTipText(rule, runRules_[static_cast<std::size_t>(rule) - 1]);
}

}  // namespace kelvaro
