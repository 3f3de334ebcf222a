#pragma once
// TfrmAbout: the modal box of Help > About with the program's name, the memory Windows has, the free
// share of the system's resources and the program's animation.
#include <windows.h>

#include <memory>
#include <optional>
#include <type_traits>

#include "ui/font_win.h"
#include "ui/modal_dialog_win.h"

namespace kelvaro {

class TfrmAbout : public ModalDialog {
public:
    static constexpr const char* kClassName = "TfrmAbout";
    static constexpr const char* kDesignCaption = "About Application";
    static constexpr int kClientWidth = 340;
    static constexpr int kClientHeight = 258;

    // Control ids; OK carries IDOK so that Enter anywhere in the box presses it.
    static constexpr int kAnimate1Id = 101;
    static constexpr int kLblAppId = 102;
    static constexpr int kLblWindowsId = 103;
    static constexpr int kNoticeId = 104;
    static constexpr int kBev1Id = 105;
    static constexpr int kLblPhysId = 106;
    static constexpr int kLblPhysicalId = 107;
    static constexpr int kLblSysResId = 108;
    static constexpr int kLblResFreeId = 109;
    static constexpr int kCmdOKId = IDOK;

    // Created hidden, owned by mainWindow, with the animation already playing.
    explicit TfrmAbout(HWND mainWindow);
    ~TfrmAbout() override;

    // Places and fills the box, shows it with the main window disabled and returns when OK, Enter or
    // the close box ends it: IDOK for OK and Enter, IDCANCEL for the close box.
    int ShowModal();

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void CreateControls();
    void FormCreate();
    void FormShow();
    HWND MakeLabel(const char* text, int x, int y, int id);
    void SetLabel(HWND label, const std::string& text);

    HWND mainWindow_;
    FontOwner font_;
    HWND animate1_ = nullptr;
    HWND lblApp_ = nullptr;
    HWND lblPhysical_ = nullptr;
    HWND lblResFree_ = nullptr;
    HWND cmdOK_ = nullptr;
    bool animationOpen_ = false;
};

// Free share of the USER resources in percent; nothing when the function that tells it is missing.
std::optional<unsigned> FreeUserResources();

// Help > About: a new box for each opening, destroyed when it closes.
void ShowAboutBox(HWND mainWindow);

}  // namespace kelvaro
