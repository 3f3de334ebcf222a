#pragma once
// One window at a time. Every window saves its rules and options when it closes, so a second window would
// silently overwrite what the first saves, or be overwritten by it. The first start in a user's logon
// session holds a named mutex until it has saved and ended; a later interactive start brings that window
// to the front and ends without a window of its own. An automatic run still runs beside a window, but
// without the mutex it saves nothing: the rules it read may be older than the window's.
#include <windows.h>

namespace kelvaro {

class WindowOwnership {
public:
    // Takes the ownership when no other running copy of the program holds it.
    WindowOwnership();
    ~WindowOwnership();
    WindowOwnership(const WindowOwnership&) = delete;
    WindowOwnership& operator=(const WindowOwnership&) = delete;

    bool Owned() const { return owned_; }
    // Marks the owner's main window, for later starts to find.
    void Mark(HWND window) const;
    // For a later start: waits up to milliseconds for the owner's window and brings it to the front,
    // restored if minimised, telling it it was started again. Returns true then. If the owner ends
    // meanwhile, takes the ownership instead and returns false (check Owned()); false also when neither
    // happened in time.
    bool BringOwnerToFront(DWORD milliseconds);

private:
    HANDLE mutex_ = nullptr;
    bool owned_ = false;
};

// Posted to the owner's window by a later start. An automatic run that gets it stays open when it ends:
// somebody asked for the window.
UINT StartedAgainMessage();

}  // namespace kelvaro
