#include "ui/window_win.h"

#include "base/errors.h"
#include "ui/guarded_call_win.h"

namespace kelvaro {

Window::~Window() {
    if (handle_) {
        // Detach first, so the messages of destruction do not reach a half-destroyed object.
        SetWindowLongPtrA(handle_, GWLP_USERDATA, 0);
        DestroyWindow(handle_);
    }
}

void Window::RegisterClassOnce(const char* className, HICON icon) {
    WNDCLASSEXA existing{sizeof existing};
    HINSTANCE instance = GetModuleHandleA(nullptr);
    if (GetClassInfoExA(instance, className, &existing)) return;
    WNDCLASSEXA windowClass{sizeof windowClass};
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = icon;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = className;
    RegisterClassExA(&windowClass);
}

void Window::Create(const char* className, const std::string& caption, DWORD style, DWORD exStyle, int x,
                    int y, int width, int height, HWND parent, HMENU menu) {
    if (!CreateWindowExA(exStyle, className, caption.c_str(), style, x, y, width, height, parent, menu,
                         GetModuleHandleA(nullptr), this))
        throw Exception(std::string("Cannot create the window ") + className + " (error " +
                        std::to_string(GetLastError()) + ")");
}

void Window::CreateWithClientArea(const char* className, const std::string& caption, DWORD style,
                                  DWORD exStyle, int x, int y, int clientWidth, int clientHeight,
                                  HWND owner) {
    RECT outer{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&outer, style, FALSE, exStyle);
    Create(className, caption, style, exStyle, x, y, outer.right - outer.left, outer.bottom - outer.top,
           owner, nullptr);
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefaultHandling(message, wParam, lParam);
}

LRESULT Window::DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(handle_, message, wParam, lParam);
}

LRESULT CALLBACK Window::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        self->handle_ = window;
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Window*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!self) return DefWindowProcA(window, message, wParam, lParam);
    const LRESULT result = GuardedCall(
        window, [&] { return self->HandleMessage(message, wParam, lParam); }, LRESULT{0});
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        self->handle_ = nullptr;
    }
    return result;
}

}  // namespace kelvaro
