// The main window's undo of a clean-up: File > Restore Last Clean-up... brings back what the most recent
// delete sent to the Recycle Bin, after one question, and says in one box how it went.
#include <windows.h>

#include "app/main_window_win.h"
#include "run/record_files_win.h"
#include "run/recycle_bin_win.h"
#include "run/restore_cleanup.h"
#include "ui/message_box_win.h"

namespace kelvaro {

void TForm1::RestoreLastCleanup1Click() {
    // Not inside a run or a delete: a restore would put files back under the lists they walk.
    if (work_.Busy(Work::Run) || work_.Busy(Work::Delete) || !record_) return;
    const std::string thousands = services_.locale->ThousandSeparator();
    const std::optional<LastCleanup> cleanup = FindLastCleanup(record_->ReadAll());
    const std::unique_ptr<RecycleBin> bin = MakePlatformRecycleBin();
    HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    const RestorePlan plan = cleanup ? PlanRestore(*cleanup, *bin) : RestorePlan{};
    SetCursor(previous);
    if (const std::optional<std::string> nothing = NothingToRestore(cleanup, plan, thousands)) {
        ShowMessageBox(Handle(), *nothing, "Kelvaro", MB_OK | MB_ICONINFORMATION);
        return;
    }
    const std::string question =
        RestoreQuestion(*cleanup, plan, thousands, services_.locale->DecimalSeparator());
    if (ShowMessageBox(Handle(), question, "Kelvaro", MB_YESNO | MB_ICONQUESTION) != IDYES) return;
    previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    // Each file back gets its line at once, under the clean-up that deleted it: a clean-up's file is not
    // offered again once it came back.
    const RestoreResult result = RestoreFiles(plan, *bin, [&](const DeletedFileEntry& file) {
        DeletedFileEntry back = file;
        back.when = LocalTimeNow();
        record_->WriteRestored(back);
    });
    record_->Close();
    SetCursor(previous);
    ShowMessageBox(Handle(), RestoreResultText(result, thousands), "Kelvaro", MB_OK | MB_ICONINFORMATION);
}

}  // namespace kelvaro
