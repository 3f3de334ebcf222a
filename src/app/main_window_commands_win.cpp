// The main window's commands: menu items, toolbar buttons and keys in one table, and the handlers of
// the modes and options.
#include <windows.h>

#include "app/about_box_win.h"
#include "app/command_ids.h"
#include "app/main_window_win.h"
#include "rules/protected_folders_win.h"
#include "shell/run_at_startup.h"
#include "ui/help_win.h"
#include "ui/message_box_win.h"
#include "widgets/speed_button_win.h"

namespace kelvaro {

// Every command with what gives it: menu items, toolbar buttons and keys.
std::span<const TForm1::Command> TForm1::Commands() {
    namespace cmd = command;
    static const Command table[] = {
        {{cmd::EBSetup}, {}, [](TForm1& f) { f.Setup2Click(0); }},
        {{cmd::Setup2}, {}, [](TForm1& f) { f.Setup2Click(cmd::Setup2); }},
        {{cmd::EBConfirm, cmd::EBNotConfirm, cmd::ConfirmDelete1},
         {},
         [](TForm1& f) { f.SetDeleteFlags(!f.confirmDelete_, f.useRecycleBin_); }},
        {{cmd::EBRecycle, cmd::EBNotRecycle, cmd::UseRecycleBin1},
         {},
         [](TForm1& f) { f.SetDeleteFlags(f.confirmDelete_, !f.useRecycleBin_); }},
        {{cmd::RunduringWin95Boot1}, {}, [](TForm1& f) { f.RunduringWin95Boot1Click(); }},
        {{cmd::SaveSettingsatExit1}, {}, [](TForm1& f) { f.ToggleTick(cmd::SaveSettingsatExit1); }},
        {{cmd::Office97Buttons}, {}, [](TForm1& f) { f.Office97ButtonsClick(); }},
        {{cmd::ProtectedFolders1},
         {},
         [](TForm1& f) { ShowProtectedFolders(f.Handle(), *f.services_.settings, f.settingsKey_); }},
        {{cmd::EBLargeIcons}, {}, [](TForm1& f) { f.listView_->SetViewStyle(ViewStyle::LargeIcons); }},
        {{cmd::EBSmallIcons}, {}, [](TForm1& f) { f.listView_->SetViewStyle(ViewStyle::SmallIcons); }},
        {{cmd::EBList}, {}, [](TForm1& f) { f.listView_->SetViewStyle(ViewStyle::List); }},
        {{cmd::EBDetails}, {}, [](TForm1& f) { f.listView_->SetViewStyle(ViewStyle::Report); }},
        {{cmd::EBStart, cmd::StartKelvaro1}, {}, [](TForm1& f) { f.SpeedButton3Click(); }},
        {{cmd::EBAdd, cmd::Add1}, {}, [](TForm1& f) { f.EBAddClick(); }},
        {{cmd::EBDelete, cmd::Delete1}, {.virtualKey = VK_DELETE}, [](TForm1& f) { f.EBDeleteClick(); }},
        {{}, {.ctrlLetter = 'a'}, [](TForm1& f) { f.selection_->SelectAll(); }},
        {{}, {.character = 27}, [](TForm1& f) { f.EBAbortClick(); }},  // Esc, as Stop
        {{cmd::EBExit, cmd::Exit1}, {}, [](TForm1& f) { f.Exit1Click(); }},
        {{cmd::DeletionRecord1}, {}, [](TForm1& f) { f.DeletionRecord1Click(); }},
        {{cmd::RestoreLastCleanup1}, {}, [](TForm1& f) { f.RestoreLastCleanup1Click(); }},
        {{cmd::SaveListAs1}, {}, [](TForm1& f) { f.SaveListAs1Click(); }},
        {{cmd::Contents1}, {}, [](TForm1& f) { f.Contents1Click(); }},
        {{cmd::About1}, {}, [](TForm1& f) { f.About1Click(); }},
    };
    return table;
}

void TForm1::OnCommand(int id) {
    for (const Command& command : Commands())
        for (int commandId : command.ids)
            if (commandId != 0 && commandId == id) return command.handler(*this);
}

// --- Modes and options -----------------------------------------------------------------------

void TForm1::Setup2Click(int sender) {
    // What the new mode shows appears before what the old one showed goes.
    const bool setup = !setupList_->Visible();
    (setup ? *setupList_ : *listView_).SetVisible(true);
    (setup ? *listView_ : *setupList_).SetVisible(false);
    menu_->SetChecked(command::Setup2, setup);
    Button(setup ? command::EBAdd : command::EBStart).SetVisible(true);
    Button(setup ? command::EBStart : command::EBAdd).SetVisible(false);
    menu_->SetEnabled(command::StartKelvaro1, !setup);
    for (int id : {command::Add1, command::Delete1, command::N1}) menu_->SetVisible(id, setup);
    // A press of the button has latched it already by its own group behaviour.
    if (sender == command::Setup2) Button(command::EBSetup).SetDown(setupList_->Visible());
}

// Each flag shows as one of two twin buttons and as its menu tick.
void TForm1::SetDeleteFlags(bool confirmDelete, bool useRecycleBin) {
    confirmDelete_ = confirmDelete;
    useRecycleBin_ = useRecycleBin;
    Button(command::EBConfirm).SetVisible(confirmDelete_);
    Button(command::EBNotConfirm).SetVisible(!confirmDelete_);
    Button(command::EBRecycle).SetVisible(useRecycleBin_);
    Button(command::EBNotRecycle).SetVisible(!useRecycleBin_);
    menu_->SetChecked(command::ConfirmDelete1, confirmDelete_);
    menu_->SetChecked(command::UseRecycleBin1, useRecycleBin_);
}

void TForm1::RunduringWin95Boot1Click() {
    char program[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    const bool on = ToggleRunAtStartup(menu_->Checked(command::RunduringWin95Boot1), *shellLink_,
                                       *services_.fileDeleter, program);
    menu_->SetChecked(command::RunduringWin95Boot1, on);
    // Switched on, it deletes at every logon with nobody watching: said once, plainly.
    if (on) ShowMessageBox(Handle(), kRunAtStartupNotice, "Kelvaro", MB_OK | MB_ICONINFORMATION);
}

void TForm1::ToggleTick(int menuId) {
    menu_->SetChecked(menuId, !menu_->Checked(menuId));
}

void TForm1::Office97ButtonsClick() {
    ToggleTick(command::Office97Buttons);
    ApplyButtonStyle();
}

void TForm1::ApplyButtonStyle() {
    panel_->SetFlatLook(menu_->Checked(command::Office97Buttons));
}

void TForm1::ApplyResultsViewStyle(ViewStyle style) {
    listView_->SetViewStyle(style);
    int button = style == ViewStyle::Report       ? command::EBDetails
                 : style == ViewStyle::List       ? command::EBList
                 : style == ViewStyle::SmallIcons ? command::EBSmallIcons
                                                  : command::EBLargeIcons;
    Button(button).SetDown(true);
}

void TForm1::Exit1Click() {
    SendMessageA(Handle(), WM_CLOSE, 0, 0);
}

void TForm1::About1Click() {
    ShowAboutBox(Handle());
}

void TForm1::Contents1Click() {
    RunHelpCommand(Handle(), HELP_FINDER, 0);
}

}  // namespace kelvaro
