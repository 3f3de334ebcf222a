#pragma once
// Base of the program's own windows: one window procedure per class, which finds the object and
// forwards the message. No exception leaves the procedure: it is shown and the program goes on.
#include <windows.h>

#include <string>

namespace kelvaro {

// Answers WM_PAINT: paint(dc) draws between BeginPaint and EndPaint.
template <typename Paint>
LRESULT PaintWindow(HWND window, Paint paint) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    paint(dc);
    EndPaint(window, &ps);
    return 0;
}

class Window {
public:
    Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual ~Window();

    HWND Handle() const { return handle_; }

protected:
    // Registers the class once per process, with this procedure.
    static void RegisterClassOnce(const char* className, HICON icon);
    // Creates the window with this object attached to it; throws Exception when the system refuses.
    void Create(const char* className, const std::string& caption, DWORD style, DWORD exStyle, int x, int y,
                int width, int height, HWND parent, HMENU menu);
    // A top-level window owned by owner whose client area has exactly the given size.
    void CreateWithClientArea(const char* className, const std::string& caption, DWORD style, DWORD exStyle,
                              int x, int y, int clientWidth, int clientHeight, HWND owner);
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND handle_ = nullptr;
};

}  // namespace kelvaro
