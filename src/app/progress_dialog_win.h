#pragma once
// TForm3: the window shown while a search run scans the disk. It names what is searched for, shows
// the entry being examined, plays the find-file animation and offers a Stop button. The same window, made
// for a delete, shows how many files of how many have been tried, the last one and a progress bar
// instead of the animation, and its close box stops the delete too.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <type_traits>

#include "search/info_label.h"
#include "ui/font_win.h"
#include "ui/window_win.h"
#include "widgets/file_label_win.h"

namespace kelvaro {

enum class ProgressKind { Search, Delete };

class TForm3 : public Window {
public:
    static constexpr const char* kClassName = "TForm3";
    static constexpr const char* kDeleteClassName = "TForm3Delete";
    static constexpr const char* kCaption = "Kelvaro in Progress!";
    static constexpr int kClientWidth = 416;
    static constexpr int kClientHeight = 80;
    static constexpr int kDeleteClientHeight = 108;
    static constexpr int kButton1Id = 1;

    // Created hidden. mainWindow owns the window and is what Show centres it over; onAbort runs for
    // the Stop button (click, Alt+S, Space or Enter on it) and for Esc anywhere in the window.
    TForm3(HWND mainWindow, std::function<void()> onAbort, ProgressKind kind = ProgressKind::Search);
    ~TForm3() override;

    // Centres the window over the main window, shows it without making it modal and puts the
    // keyboard focus on the Stop button.
    void Show();
    void Hide();
    bool Visible() const;

    // "Status:" line; the label takes the width of its text.
    void SetSearchText(const std::string& text);
    std::string SearchText() const;
    // "Found:" line: the entry being examined.
    TFileLabel& Status() { return *status_; }
    // The same line, as the scan shows the entry it examines.
    InfoLabel& ScanLabel() { return scanLabel_; }

    // The bar of a delete's window: tried of total.
    void SetProgress(int tried, int total);

    // Draws Status, Label3 and the whole window now, not when the message queue gets to it.
    void RepaintNow();

    HWND Animate1() const { return animate1_; }
    // True when the animation plays the program's own clip instead of the platform's.
    bool PlaysOwnClip() const { return playsOwnClip_; }
    HWND Label1() const { return label1_; }
    HWND Label2() const { return label2_; }
    HWND Label3() const { return label3_; }
    HWND Button1() const { return button1_; }
    HWND ProgressBar() const { return progressBar_; }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    struct LibraryDeleter {
        void operator()(HMODULE module) const { FreeLibrary(module); }
    };
    using LibraryOwner = std::unique_ptr<std::remove_pointer_t<HMODULE>, LibraryDeleter>;
    class StatusLine : public InfoLabel {
    public:
        explicit StatusLine(TForm3& form) : form_(form) {}
        void SetFileName(const std::string& text) override { form_.Status().SetFileName(text); }
        void Repaint() override { form_.Status().Repaint(); }

    private:
        TForm3& form_;
    };

    void CreateControls();
    void OpenAnimation();
    void PlayAnimation();
    void FormShow();
    void Button1Click();
    // Keys reach the window before its controls; true when the key was taken.
    bool FormKeyPress(char key);
    bool IsStopMnemonic(WPARAM character) const;
    static LRESULT CALLBACK Button1Procedure(HWND button, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Button1Message(HWND button, UINT message, WPARAM wParam, LPARAM lParam);

    HWND mainWindow_;
    std::function<void()> onAbort_;
    ProgressKind kind_;
    FontOwner font_;
    FontOwner boldFont_;
    LibraryOwner shell32_;
    HWND animate1_ = nullptr;
    HWND label1_ = nullptr;
    HWND label2_ = nullptr;
    HWND label3_ = nullptr;
    HWND button1_ = nullptr;
    HWND progressBar_ = nullptr;
    WNDPROC button1Default_ = nullptr;
    bool animationOpen_ = false;
    bool playsOwnClip_ = false;
    std::unique_ptr<TFileLabel> status_;
    StatusLine scanLabel_{*this};
};

}  // namespace kelvaro
