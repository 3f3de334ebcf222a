#pragma once
// The Protected Folders dialog: the list of folders, files and file specifications no rule ever lists,
// added by typing or by the folder dialog, removed, and written back on OK.
#include <windows.h>

#include <string>
#include <vector>

#include "platform/registry.h"
#include "rules/folder_browse_win.h"
#include "rules/settings_store.h"
#include "ui/font_win.h"
#include "ui/modal_dialog_win.h"
#include "ui/owners_win.h"

namespace kelvaro {

// Shows the dialog modally over owner with the list stored under keyPath (its "Protected" subkey) and
// writes the list back on OK. A list that cannot be read whole is shown as far as it can be read, with a
// box saying so. True on OK.
bool ShowProtectedFolders(HWND owner, Registry& registry, const std::string& keyPath = kSettingsKey);

class TProtectedFolders : public ModalDialog {
public:
    static constexpr const char* kClassName = "TProtectedFolders";
    static constexpr const char* kCaption = "Kelvaro Protected Folders";
    static constexpr int kClientWidth = 385;
    static constexpr int kClientHeight = 222;

    // Enter reaches "&Ok" as IDOK, Esc "&Cancel" as IDCANCEL.
    enum ControlId {
        kOkId = IDOK,
        kCancelId = IDCANCEL,
        kListId = 10,
        kEditId,
        kAddId,
        kBrowseId,
        kRemoveId,
        kExplanationId,
    };

    TProtectedFolders(HWND owner, Registry& registry, std::string keyPath);
    ~TProtectedFolders() override;

    // Runs until OK or Cancel; true when OK wrote the list.
    bool ShowModal();
    std::vector<std::string> Items() const;

    // Handlers.
    void AddClick();
    void BrowseClick();
    void RemoveClick();
    void OkClick();

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    HWND AddControl(const char* className, const char* text, DWORD style, DWORD exStyle, int x, int y,
                    int width, int height, int id);
    void CreateControls();
    // Adds an item, or selects the one already there that Windows would take for the same text.
    void AddItem(const std::string& text);
    void ShowButtonState();

    HWND owner_;
    Registry& registry_;
    std::string keyPath_;
    FontOwner font_;
    TFolderBrowse folderBrowse_;
    std::string damage_;  // the box shown as the dialog opens, "" for none
};

}  // namespace kelvaro
