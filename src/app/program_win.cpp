// The program entry: the platform's services, the scanner, shortcut component, icon cache and deletion
// record built on them, the main window given both, then the message loop until it closes.
#include <windows.h>
#include <commctrl.h>

#include "app/main_window_win.h"
#include "platform/message_filter_win.h"
#include "ui/message_box_win.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int showCommand) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);

    try {
        kelvaro::MainWindowServices services = kelvaro::MakePlatformMainWindowServices();
        kelvaro::MainWindowParts parts = kelvaro::MakeMainWindowParts(services);
        kelvaro::TForm1 form(std::move(services), std::move(parts));
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
