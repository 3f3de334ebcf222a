#pragma once
// TForm1, the program's main window: toolbar, the results and setup lists, status bar and menu. The
// window owns its controls and the parts it is given, turns messages into its handlers and leaves each
// concern to its own file: the commands (main_window_commands_win.cpp), keys and hints (_keys), the
// settings (_settings), the search run (_run, over run/search_run.h), the selection (_selection), the
// delete (_delete), automatic mode (_automatic) and the rule editor (_editor).
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "app/main_menu_win.h"
#include "app/main_window_parts.h"
#include "app/main_window_selection_win.h"
#include "app/main_window_services.h"
#include "rules/search_rule.h"
#include "rules/settings_window.h"
#include "run/automatic_guard.h"
#include "run/deletion.h"
#include "run/result_row.h"
#include "run/work_state.h"
#include "ui/font_win.h"
#include "ui/window_win.h"
#include "widgets/cool_list_view_win.h"

namespace kelvaro {

class DeletePacer;
class TForm3;
class TSpeedButton;
class TToolbarPanel;

class TForm1 : public Window {
public:
    static constexpr const char* kClassName = "TForm1";
    static constexpr const char* kCaption = "Kelvaro for Windows 95";
    // Closing a window whose rules and options another copy's window owns, after changing them here.
    static constexpr const char* kUnsavedChangesText =
        "Another Kelvaro window is open and keeps the rules and options, so the changes made in this window "
        "were not saved. Make them in that window.";

    // settingsKey: where under the settings registry the settings live (tests give a private key).
    TForm1(MainWindowServices services, MainWindowParts parts, std::string settingsKey = "");
    ~TForm1() override;

    // Components, named as the rest of the program knows them.
    TToolbarPanel& Panel1() { return *panel_; }
    TSpeedButton& Button(int commandId) { return *buttons_.at(commandId); }
    TCoolListView& ListView() { return *listView_; }
    TCoolListView& LVSetup() { return *setupList_; }
    HWND StatusBar() const { return statusBar_; }
    MainMenu& Menu() { return *menu_; }
    TForm3& Form3() { return *form3_; }
    // The window of a delete that lasts.
    TForm3& DeleteForm() { return *deleteForm_; }
    TFileScan& FileScan() { return *fileScan_; }
    std::string StatusText(int panel) const;
    void SetStatusText(int panel, const std::string& text);

    bool AddingRule = true;
    // The setup-list row whose turn it is (or was last) in a run.
    int CurrentRuleIndex() const { return currentRule_; }
    // Looked at when the window is first shown; tests set their own.
    std::string CommandLine = GetCommandLineA();
    // Whether closing saves the rules and options; not when another copy's window owns them.
    bool SavesSettings = true;
    // The shell delete used for files; tests may hand in their own.
    void SetShellDeleter(std::unique_ptr<ShellDeleter> deleter) { services_.deleter = std::move(deleter); }

    bool ConfirmDelete() const { return confirmDelete_; }
    bool UseRecycleBin() const { return useRecycleBin_; }
    WindowBounds Bounds() const;
    RuleRow Rule(int index) const;
    void AppendRule(const RuleRow& row);
    void DisplayHint(const std::string& hint);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    class Settings;      // the settings store's view of the window
    class RunHost;       // the search run's view of the window
    class AutomaticRun;  // a run started with "-a": its delete and its questions

    // Building, showing and closing (main_window_win.cpp).
    void CreateToolbar();
    void CreateLists();
    void CreateStatusBar();
    void InitSystemImageLists();
    void LayOut();
    void FormShow();
    // False when the window must stay open (the settings could not be saved).
    bool FormClose();
    void OnClose();

    // Commands, modes and options (main_window_commands_win.cpp).
    struct KeyBinding {
        WPARAM virtualKey = 0;  // the key, whatever the shift state
        char ctrlLetter = 0;    // the key that types this letter, with Ctrl alone held
        char character = 0;     // the character the key types
    };
    struct Command {
        int ids[3];  // the menu item and the toolbar buttons that give it; 0 for none
        KeyBinding key;
        void (*handler)(TForm1&);
    };
    static std::span<const Command> Commands();
    void OnCommand(int id);
    void Setup2Click(int sender);
    void SetDeleteFlags(bool confirmDelete, bool useRecycleBin);
    void RunduringWin95Boot1Click();
    void ToggleTick(int menuId);
    void Office97ButtonsClick();
    void ApplyButtonStyle();
    void ApplyResultsViewStyle(ViewStyle style);
    void Exit1Click();
    void About1Click();
    void Contents1Click();

    // Keys and hints (main_window_keys_win.cpp).
    void FormKeyDown(WPARAM key);
    void FormKeyPress(char key);
    bool PreviewKey(MSG& message);
    void OnMenuSelect(WPARAM wParam, LPARAM lParam);
    void OnSetCursor(HWND over);
    // What a run or a delete did, in the hint panel: it stays until the mouse brings a hint, rather than
    // go as soon as the mouse leaves the button that started the work.
    void ShowInHintPanel(const std::string& text);

    // The search run (main_window_run_win.cpp).
    void SpeedButton3Click();
    void EBAbortClick();
    // The text of a results row's info tip: the rule that listed it, as it was when the run used it.
    std::string RowRuleTip(int row) const;

    // The delete (main_window_delete_win.cpp).
    void EBDeleteClick();
    // The deletion loop over the selected results rows, with everything that would change a list held off.
    // Each file deleted goes into the deletion record; deleted, when given, sums what went. after says
    // whether a close came during the delete and the window must close now.
    DeletionResult DeleteSelectedFiles(bool automatic, AfterWork& after, RunFigures* deleted = nullptr);
    // Stop, Esc or the close box of the delete's window: the delete ends after the file under way.
    void StopDelete();
    void DeletionRecord1Click();
    void RestoreLastCleanup1Click();

    // The results list as a file a spreadsheet opens (main_window_save_list_win.cpp).
    void SaveListAs1Click();

    // Automatic mode (main_window_automatic_win.cpp).
    void AutomaticMode();

    // The rule editor (main_window_editor_win.cpp).
    void EBAddClick();
    void LVSetupDblClick();

    // First, so that everything built on the services goes before them.
    MainWindowServices services_;
    std::unique_ptr<TFileScan> fileScan_;
    std::unique_ptr<TQSShellLink> shellLink_;
    std::unique_ptr<IconCache> icons_;
    std::unique_ptr<DeletionRecord> record_;
    std::string settingsKey_;
    // The rules and options as loaded, to tell at a close that cannot save them whether anything is lost.
    std::string loadedSettings_;
    std::string RulesAndOptions() const;
    FontOwner font_;      // Arial, for the window and its bars
    FontOwner listFont_;  // MS Sans Serif, for the lists
    std::unique_ptr<MainMenu> menu_;
    std::unique_ptr<TToolbarPanel> panel_;
    std::map<int, TSpeedButton*> buttons_;          // owned by the panel
    std::unique_ptr<ResultColumns> resultColumns_;  // the results list's texts, made as it draws them
    std::unique_ptr<TCoolListView> listView_;
    std::unique_ptr<TCoolListView> setupList_;
    std::unique_ptr<ResultSelection> selection_;
    HWND statusBar_ = nullptr;
    std::unique_ptr<TForm3> form3_;
    std::unique_ptr<TForm3> deleteForm_;
    DeletePacer* deletePacer_ = nullptr;  // the delete's, while one is under way
    std::vector<RuleRow> runRules_;       // the rules of the last run, for the rows' info tips
    int currentRule_ = 0;
    WorkState work_;
    bool confirmDelete_ = true;
    bool useRecycleBin_ = true;
    bool shownOnce_ = false;
    bool startedAgain_ = false;  // the program was started again while this window was open
    std::string hint_;
};

}  // namespace kelvaro
