#pragma once
// TForm1, the program's main window: toolbar, the results and setup lists, status bar and menu,
// the two modes, the option toggles and keys. The handlers named after their controls are the
// places where the program's work is wired together.
#include <windows.h>
#include <commctrl.h>

#include <map>
#include <memory>
#include <string>

#include "app/main_menu_win.h"
#include "app/main_window_services.h"
#include "platform/registry.h"
#include "rules/settings_window.h"
#include "run/automatic_guard.h"
#include "run/deletion.h"
#include "run/deletion_record.h"
#include "run/result_sums.h"
#include "run/work_state.h"
#include "search/file_scan.h"
#include "shell/shell_link.h"
#include "ui/font_win.h"
#include "ui/window_win.h"
#include "widgets/cool_list_view_win.h"

namespace kelvaro {

class IconCache;
class TForm3;
class TSpeedButton;
class TToolbarPanel;

class TForm1 : public Window, public SettingsWindow {
public:
    static constexpr const char* kClassName = "TForm1";
    static constexpr const char* kCaption = "Kelvaro for Windows 95";

    // settingsKey: where under the settings registry the settings live (tests give a private key).
    explicit TForm1(MainWindowServices services, std::string settingsKey = "");
    ~TForm1() override;

    // Components, named as the rest of the program knows them.
    TToolbarPanel& Panel1() { return *panel_; }
    TSpeedButton& Button(int commandId);
    TCoolListView& ListView() { return *listView_; }
    TCoolListView& LVSetup() { return *setupList_; }
    HWND StatusBar() const { return statusBar_; }
    MainMenu& Menu() { return *menu_; }
    TForm3& Form3() { return *form3_; }
    TFileScan& FileScan() { return *fileScan_; }
    std::string StatusText(int panel) const;
    void SetStatusText(int panel, const std::string& text);

    bool AddingRule = true;
    // The setup-list row whose turn it is in a run.
    int CurrentRuleIndex = 0;
    // Looked at when the window is first shown; tests set their own.
    std::string CommandLine = GetCommandLineA();
    // The shell delete used for files; tests may hand in their own.
    void SetShellDeleter(std::unique_ptr<ShellDeleter> deleter) { services_.deleter = std::move(deleter); }

    // Handlers.
    void FormShow();
    // False when the window must stay open (the settings could not be saved).
    bool FormClose();
    void FormKeyDown(WPARAM key);
    void FormKeyPress(char key);
    void Setup2Click(int sender);
    void EBSetupClick();
    void ConfirmDelete1Click();
    void EBConfirmClick();
    void UseRecycleBin1Click();
    void EBRecycleClick();
    void RunduringWin95Boot1Click();
    void SaveSettingsatExit1Click();
    void Office97ButtonsClick();
    void EBLargeIconsClick();
    void EBSmallIconsClick();
    void EBListClick();
    void EBDetailsClick();
    void SpeedButton3Click();
    void EBAddClick();
    void EBDeleteClick();
    void Exit1Click();
    void DeletionRecord1Click();
    void Contents1Click();
    void About1Click();
    void LVSetupDblClick();
    void ListViewChange(int row);
    bool ListViewChanging(int row);
    void EBAbortClick();

    void DisplayHint(const std::string& hint);
    // Index of the path's icon in the shell's system image lists (0 when the shell does not know it).
    int GetShellFileInfo(const std::string& path) const;

    // SettingsWindow
    bool ConfirmDelete() const override { return confirmDelete_; }
    bool UseRecycleBin() const override { return useRecycleBin_; }
    void SetConfirmDelete(bool value) override { confirmDelete_ = value; }
    void SetUseRecycleBin(bool value) override { useRecycleBin_ = value; }
    void ShowFlagState() override;
    bool RunAtBootTick() const override;
    bool SaveOnExitTick() const override;
    bool Office97Tick() const override;
    void SetRunAtBootTick(bool ticked) override;
    void SetSaveOnExitTick(bool ticked) override;
    void SetOffice97Tick(bool ticked) override;
    WindowBounds Bounds() const override;
    void SetWidth(int width) override;
    void SetTop(int top) override;
    void SetLeft(int left) override;
    void SetHeight(int height) override;
    ViewStyle ResultsViewStyle() const override;
    void ApplyResultsViewStyle(ViewStyle style) override;
    int ResultsColumnWidth(int column) const override;
    int SetupColumnWidth(int column) const override;
    void SetResultsColumnWidth(int column, int width) override;
    void SetSetupColumnWidth(int column, int width) override;
    int RuleCount() const override;
    RuleRow Rule(int index) const override;
    void AppendRule(const RuleRow& row) override;
    void ApplyButtonStyle() override;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void FormCreate();
    void FormDestroy();
    void CreateToolbar();
    void CreateLists();
    void CreateStatusBar();
    void InitSystemImageLists();
    void LayOut();
    void OnCommand(int id);
    void OnMenuSelect(WPARAM wParam, LPARAM lParam);
    bool PreviewKey(MSG& message);
    void SetWindowEdge(int left, int top, int width, int height);
    void AddFoundFiles(const RuleRow& rule);
    TCoolListView::NewRow ResultListRow(const std::string& path, const FoundEntry& found,
                                        int imageIndex) const;
    void AddResultRows(std::vector<TCoolListView::NewRow> rows);
    int IconIndexOf(const std::string& path);
    void ShowSelectionSummary();
    // Every results row selected, and the summary shown once for all of them rather than once per row.
    void SelectAllResults();
    void TrackResultsList(const NMHDR& header);
    void AutomaticMode();
    // The deletion loop over the selected results rows, with everything that would change a list held off.
    // Each file deleted goes into the deletion record; deleted, when given, sums what went.
    // after says whether a close came during the delete and the window must close now.
    DeletionResult DeleteSelectedFiles(bool automatic, AfterWork& after, RunFigures* deleted = nullptr);
    bool RecordDeletedFile(const ListedFile& file, bool recycled, bool automatic);
    bool DeleteAutomatically();
    // An automatic run asks with the window and its list in view, restored when minimised.
    void ShowRunWindow();
    bool AutomaticRunConfirmed(const RunFigures& found);
    // What the last automatic runs deleted, newest first; empty when none is kept.
    std::vector<RunFigures> AutomaticRunHistory();
    // The text of a results row's info tip: the rule that listed it, as it was when the run used it.
    std::string RowRuleTip(int row) const;
    // Whether an automatic run may delete what it selected without asking; asks when the guard says so.
    bool AutomaticRunMayDelete(const RunFigures& found);
    std::string HistoryKey() const { return settingsKey_ + "\\History"; }
    // Takes the rows of deleted files out of the results list together and shows the summary once, for
    // the list as it ends.
    void RemoveResultRows(const std::vector<std::uint64_t>& rowIds);
    // True when the run must end without going on: the window is to close or the program to quit.
    bool Ending() const;

    // First, so that everything built on the services goes before them.
    MainWindowServices services_;
    std::string settingsKey_;
    FontOwner font_;      // Arial, for the window and its bars
    FontOwner listFont_;  // MS Sans Serif, for the lists
    std::unique_ptr<MainMenu> menu_;
    std::unique_ptr<TToolbarPanel> panel_;
    std::map<int, TSpeedButton*> buttons_;  // owned by the panel
    std::unique_ptr<TCoolListView> listView_;
    std::unique_ptr<TCoolListView> setupList_;
    HWND statusBar_ = nullptr;
    HIMAGELIST largeImages_ = nullptr;  // borrowed from the shell, never destroyed
    HIMAGELIST smallImages_ = nullptr;
    std::unique_ptr<TForm3> form3_;
    std::unique_ptr<TFileScan> fileScan_;
    std::unique_ptr<TQSShellLink> shellLink_;
    std::unique_ptr<IconCache> icons_;
    ResultSums sums_;
    std::vector<RuleRow> runRules_;  // the rules of the last run, for the rows' info tips
    std::unique_ptr<DeletionRecord> record_;
    bool recordFailed_ = false;            // in the delete under way
    bool changeTouchesSelection_ = false;  // of the change the results list reports now
    bool selectingAll_ = false;            // the rows' own selection changes show no summary
    bool removingRows_ = false;            // the summary waits until the last of them is gone
    WorkState work_;
    bool confirmDelete_ = true;
    bool useRecycleBin_ = true;
    bool shownOnce_ = false;
    std::string hint_;
};

}  // namespace kelvaro
