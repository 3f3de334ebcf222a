// Automatic mode: started with "-a", the window runs every rule, selects everything found, deletes it
// and closes; the guard and the deletion record keep such runs honest.
#include <windows.h>

#include "app/main_window_win.h"
#include "run/command_line.h"
#include "ui/message_box_win.h"

namespace kelvaro {

class TForm1::AutomaticRun {
public:
    explicit AutomaticRun(TForm1& form) : form_(form), window_(form.Handle()) {}
    void Run();

private:
    bool DeleteAll();
    void ShowRunWindow();
    bool Confirmed(const RunFigures& found);
    bool MayDelete(const RunFigures& found);
    std::vector<RunFigures> History();
    std::string HistoryKey() const { return form_.settingsKey_ + "\\History"; }

    TForm1& form_;
    HWND window_;
};

// Runs after the settings are loaded, when the window is first shown.
void TForm1::AutomaticMode() {
    if (IsAutomaticModeArgument(FirstArgument(CommandLine))) AutomaticRun(*this).Run();
}

void TForm1::AutomaticRun::Run() {
    form_.SpeedButton3Click();
    // Closed or quit during the run: the user chose to end it, not to delete what it had found.
    if (form_.work_.RunStoppingToClose() || form_.services_.pump->QuitRequested()) return;
    form_.selection_->SelectAll();
    const RunFigures found = form_.selection_->Selected();
    // With confirmation on the user is asked anyway, with what the guard knows; without it the guard
    // decides whether to ask.
    const bool go = form_.confirmDelete_ ? Confirmed(found) : MayDelete(found);
    // Started again by the user meanwhile, the window stays for them, as a window they opened would.
    if (go && DeleteAll() && !form_.startedAgain_) SendMessageA(window_, WM_CLOSE, 0, 0);
    if (form_.Handle() && IsIconic(form_.Handle())) ShowWindow(form_.Handle(), SW_RESTORE);
}

// Deletes what an automatic run selected; false when it had something to tell and the window stays.
bool TForm1::AutomaticRun::DeleteAll() {
    const std::string recordProblem = "Kelvaro cannot write its deletion record";
    const std::string where = form_.record_ ? " (" + form_.services_.recordPath + ")" : std::string();
    if (!form_.record_ || !form_.record_->Ready()) {
        if (form_.record_) form_.record_->Close();
        ShowRunWindow();
        ShowMessageBox(window_,
                       recordProblem + where +
                           ", so this automatic run deleted nothing. The files it found " +
                           "are listed; delete them from the list, or make the record writable.",
                       "Kelvaro", MB_OK | MB_ICONWARNING);
        return false;
    }
    // Files kept (changed, vanished, or not recyclable) are not reported: nobody is there to read it.
    // A close that comes during the delete changes nothing: the window closes when the delete succeeds,
    // and stays, to say why, when it does not.
    RunFigures deleted;
    AfterWork ignored = AfterWork::Nothing;
    const DeletionResult result = form_.DeleteSelectedFiles(true, ignored, &deleted);
    if (auto history = form_.services_.settings->OpenKey(HistoryKey(), true))
        WriteRunHistory(*history, deleted);
    // Stopped by the user: the files not yet tried stay listed and selected, in the window left open.
    if (result.stopRequested) {
        ShowRunWindow();
        return false;
    }
    if (!result.stopped) return true;
    ShowRunWindow();
    ShowMessageBox(window_,
                   recordProblem + where + " any more, so this automatic run stopped deleting. The files " +
                       "still listed were kept.",
                   "Kelvaro", MB_OK | MB_ICONWARNING);
    return false;
}

// The list is there for the user to look at before answering, and after a No. The window is being shown,
// not yet visible, while the first showing runs automatic mode; minimised, it is restored.
void TForm1::AutomaticRun::ShowRunWindow() {
    if (IsIconic(window_) || !IsWindowVisible(window_)) {
        ShowWindow(window_, IsIconic(window_) ? SW_RESTORE : SW_SHOW);
        UpdateWindow(window_);
    }
}

// What the last automatic runs deleted, newest first; empty when none is kept.
std::vector<RunFigures> TForm1::AutomaticRun::History() {
    if (auto key = form_.services_.settings->OpenKey(HistoryKey(), false)) return ReadRunHistory(*key);
    return {};
}

bool TForm1::AutomaticRun::Confirmed(const RunFigures& found) {
    const std::vector<RunFigures> history = History();
    ShowRunWindow();
    const UINT defaultButton = GuardStopsRun(found, history) ? MB_DEFBUTTON2 : MB_DEFBUTTON1;
    return ShowMessageBox(window_, ConfirmedRunQuestion(found, history, form_.useRecycleBin_), "Confirm",
                          MB_YESNO | MB_ICONQUESTION | defaultButton) == IDYES;
}

// Whether an automatic run may delete what it selected without asking; asks when the guard says so.
bool TForm1::AutomaticRun::MayDelete(const RunFigures& found) {
    const std::vector<RunFigures> history = History();
    if (!GuardStopsRun(found, history)) return true;
    ShowRunWindow();
    return ShowMessageBox(window_, GuardQuestion(found, history, form_.useRecycleBin_), "Kelvaro",
                          MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
}

}  // namespace kelvaro
