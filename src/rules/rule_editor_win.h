#pragma once
// TForm2, the rule editor: the modal dialog in which the user adds a search rule to the setup list or
// changes the first selected one.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <type_traits>

#include "rules/folder_browse_win.h"
#include "rules/search_rule.h"
#include "ui/font_win.h"
#include "ui/modal_dialog_win.h"
#include "ui/owners_win.h"

namespace kelvaro {

// What the editor needs of the main window.
class RuleEditorHost {
public:
    virtual ~RuleEditorHost() = default;
    virtual HWND Window() const = 0;        // owner, and what the dialog centres over
    virtual bool AddingRule() const = 0;    // add mode or edit mode
    virtual bool Office97Tick() const = 0;  // flat or raised browse buttons
    virtual bool HasSelectedRule() const = 0;
    virtual RuleRow FirstSelectedRule() const = 0;                  // topmost selected row of the setup list
    virtual void ReplaceFirstSelectedRule(const RuleRow& row) = 0;  // texts in place, image index kept
    virtual void AppendRule(const RuleRow& row) = 0;                // the host finds the icon
    // The long hint of the editor control under the mouse, "" when it has none; for the status line.
    virtual void DisplayHint(const std::string& longHint) { (void)longHint; }
};

// Hooks so tests answer the file-open and folder dialogs without a person. An empty function restores
// the platform's dialog.
using OpenFileDialogFunction =
    std::function<bool(HWND owner, const std::string& initialFolder, std::string& chosenPath)>;
using FolderDialogFunction =
    std::function<bool(HWND owner, const std::string& preselected, std::string& chosenFolder)>;
void SetOpenFileDialogFunction(OpenFileDialogFunction f);
void SetFolderDialogFunction(FolderDialogFunction f);
// The shell's folder dialog over owner, opening on browse.Directory, or the hook that answers it. True, and
// browse.Directory set, when a folder was picked.
bool BrowseForFolder(HWND owner, TFolderBrowse& browse);

// Shows TForm2 modally (created for this opening and destroyed when it closes). Returns true on OK.
bool ShowRuleEditor(RuleEditorHost& host);

class TExplorerButton;

class TForm2 : public ModalDialog {
public:
    static constexpr const char* kClassName = "TForm2";
    static constexpr const char* kCaption = "Kelvaro";
    static constexpr int kClientWidth = 385;
    static constexpr int kClientHeight = 179;

    // Control identifiers, for GetDlgItem. Enter reaches "&Ok" as IDOK; Esc's IDCANCEL is left unbound.
    enum ControlId {
        kButton1Id = IDOK,
        kButton3Id = 3,
        kEditLocId = 10,
        kEditFileId,
        kCBIncSubDirId,
        kLnkCBId,
        kCBAgeId,
        kEditAgeId,
        kLabel5Id,
        kCBSizeId,
        kEditSizeId,
        kCBByteId,
        kExplorerButton1Id,
        kExplorerButton2Id,
        kAnimate1Id,
        kLabel1Id,
        kLabel2Id,
        kLabel3Id,
        kLabel4Id,
    };

    explicit TForm2(RuleEditorHost& host);
    ~TForm2() override;

    // The editor behind a dialog window (tests), or nullptr.
    static TForm2* FromHandle(HWND window);

    // Disables the owner, shows the dialog and runs its own message loop until OK or Cancel.
    bool ShowModal();

    bool BrowseButtonsFlat() const;

    // Handlers.
    void FormShow();
    void CBAgeChange();
    void CBSizeChange();
    void EditAgeChange();
    void EditSizeChange();
    void EditFileChange();
    void ExplorerButton1Click();
    void ExplorerButton2Click();
    void Button1Click();
    void Button3Click();

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void CreateControls();
    HWND AddControl(const char* className, const char* text, DWORD style, DWORD exStyle, int x, int y,
                    int width, int height, int id);
    HWND AddLabel(const char* text, int x, int y, int id, bool visible);
    void OpenAnimation();
    void Fill(const RuleValues& values);
    void OnCommand(int id, int code);
    // The file field's own procedure: it reports the field's hint as the mouse enters and leaves.
    static LRESULT CALLBACK EditProcedure(HWND edit, UINT message, WPARAM wParam, LPARAM lParam,
                                          UINT_PTR subclassId, DWORD_PTR data);
    LRESULT EditMessage(HWND edit, UINT message, WPARAM wParam, LPARAM lParam);
    // A control's hint for the status line as the mouse enters it, "" as it leaves.
    void ShowHint(int control, const std::string& hint);

    RuleEditorHost& host_;
    FontOwner font_;
    WindowOwner tooltip_;
    std::unique_ptr<TExplorerButton> explorerButton1_;
    std::unique_ptr<TExplorerButton> explorerButton2_;
    TFolderBrowse folderBrowse_;
    std::string openInitialFolder_;
    bool animationOpen_ = false;
    bool editFileHot_ = false;
    int hintControl_ = 0;  // the control whose hint the status line shows, 0 for none
};

}  // namespace kelvaro
