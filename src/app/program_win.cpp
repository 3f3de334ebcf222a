// The program entry: the platform's services, the scanner, shortcut component, icon cache and deletion
// record built on them, the main window given both, then the message loop until it closes. A second
// interactive start brings the first one's window to the front instead.
#include <windows.h>
#include <commctrl.h>

#include "app/main_window_win.h"
#include "app/single_window_win.h"
#include "platform/message_filter_win.h"
#include "run/command_line.h"
#include "ui/message_box_win.h"

namespace {

// Long enough for a first start that is still making its window.
constexpr DWORD kWaitForFirstWindow = 5000;

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int showCommand) {
    // Taken before the window is made, and given back only after the window has saved and gone.
    kelvaro::WindowOwnership ownership;
    const bool automatic = kelvaro::IsAutomaticModeArgument(kelvaro::FirstArgument(GetCommandLineA()));
    if (!ownership.Owned() && !automatic) {
        ownership.BringOwnerToFront(kWaitForFirstWindow);
        // The first copy's window is in front now (or never came); unless that copy ended meanwhile.
        if (!ownership.Owned()) return 0;
    }

    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);

    try {
        kelvaro::MainWindowServices services = kelvaro::MakePlatformMainWindowServices();
        kelvaro::MainWindowParts parts = kelvaro::MakeMainWindowParts(services);
        kelvaro::TForm1 form(std::move(services), std::move(parts));
        // An automatic run beside another copy's window leaves the rules to that window.
        form.SavesSettings = ownership.Owned();
        ownership.Mark(form.Handle());
        ShowWindow(form.Handle(), showCommand);
        UpdateWindow(form.Handle());

        MSG message;
        while (GetMessageA(&message, nullptr, 0, 0) > 0) {
            kelvaro::DispatchFiltered(message);
        }
        return static_cast<int>(message.wParam);
    } catch (const std::exception& error) {
        // A main window the system would not create: say why rather than vanish.
        kelvaro::ShowExceptionBox(nullptr, error);
        return 1;
    }
}
