#pragma once
// The main window on a private settings key, with message boxes and help answered by the test.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/command_ids.h"
#include "app/main_window_win.h"
#include "platform/message_filter_win.h"
#include "ui/help_win.h"
#include "ui/message_box_win.h"
#include "widgets/cool_list_view_win.h"
#include "widgets/speed_button_win.h"
#include "windows/test_tree.h"
#include "windows/window_text.h"

namespace kelvaro::testing {

namespace cmd = kelvaro::command;

// A private settings key, removed before and after each test.
class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest()
        : key_("Software\\Tarnwell\\KelvaroWindowTest-" + std::to_string(GetCurrentProcessId())) {
        RegDeleteTreeA(HKEY_CURRENT_USER, key_.c_str());
        previousBox_ = SetMessageBoxFunction([this](HWND, const std::string& text, const std::string&, UINT) {
            boxes.push_back(text);
            return IDOK;
        });
        previousHelp_ = SetHelpFunction([this](HWND, const std::string& file, UINT command, ULONG_PTR) {
            helpCalls.push_back(file + ":" + std::to_string(command));
        });
    }
    ~MainWindowTest() override {
        DropForm();
        SetMessageBoxFunction(previousBox_);
        SetHelpFunction(previousHelp_);
        RegDeleteTreeA(HKEY_CURRENT_USER, key_.c_str());
    }
    // A quit request the window left behind would end the next modal loop, or the next run, at once.
    void DropForm() {
        form.reset();
        MSG message;
        while (PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }
    TForm1& Open(const std::string& commandLine = "Kelvaro.exe") {
        DropForm();
        MainWindowServices services = MakePlatformMainWindowServices();
        // A deletion record of the test's own, and a viewer that only notes what it was to show.
        services.recordPath = recordPath;
        services.openTextViewer = [this](const std::string& path) { viewed.push_back(path); };
        form = NewForm(std::move(services));
        form->CommandLine = commandLine;
        ShowWindow(form->Handle(), SW_SHOWNORMAL);
        return *form;
    }
    // The window on the services given, with the parts the program builds on them.
    std::unique_ptr<TForm1> NewForm(MainWindowServices services) {
        MainWindowParts parts = MakeMainWindowParts(services);
        return std::make_unique<TForm1>(std::move(services), std::move(parts), key_);
    }
    // Runs the messages that are waiting, as the program's loop would.
    static void Pump() {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchFiltered(message);
    }
    void Command(int id) { SendMessageA(form->Handle(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    void Click(int buttonId) { SendMessageA(form->Button(buttonId).Handle(), BM_CLICK, 0, 0); }
    void SetString(const std::string& subkey, const std::string& name, const std::string& value) {
        SetRaw(subkey, name, REG_SZ, value);
    }
    // A value of any type, stored as another tool would.
    void SetRaw(const std::string& subkey, const std::string& name, DWORD type, const std::string& bytes) {
        HKEY key;
        RegCreateKeyExA(HKEY_CURRENT_USER, (key_ + "\\" + subkey).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                        nullptr, &key, nullptr);
        RegSetValueExA(key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                       static_cast<DWORD>(bytes.size()));
        RegCloseKey(key);
    }
    // The type and the bytes as the "A" call gives them.
    std::pair<DWORD, std::string> GetRaw(const std::string& subkey, const std::string& name) {
        std::pair<DWORD, std::string> raw{REG_NONE, "<missing>"};
        HKEY key;
        const std::string path = key_ + "\\" + subkey;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return raw;
        char data[512];
        DWORD size = sizeof data;
        if (RegQueryValueExA(key, name.c_str(), nullptr, &raw.first, reinterpret_cast<BYTE*>(data), &size) ==
            ERROR_SUCCESS)
            raw.second.assign(data, size);
        RegCloseKey(key);
        return raw;
    }
    std::string GetString(const std::string& subkey, const std::string& name) {
        char data[512] = {};
        DWORD size = sizeof data - 1;
        if (RegGetValueA(HKEY_CURRENT_USER, (key_ + "\\" + subkey).c_str(), name.c_str(), RRF_RT_REG_SZ,
                         nullptr, data, &size) != ERROR_SUCCESS)
            return "<missing>";
        return data;
    }
    bool Closes() {
        SendMessageA(form->Handle(), WM_CLOSE, 0, 0);
        bool closed = !IsWindow(form->Handle());
        MSG message;
        while (PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
        return closed;
    }
    bool InSetupMode() {
        TForm1& f = *form;
        bool setup = f.LVSetup().Visible();
        // Every other part of the mode agrees with the setup list.
        EXPECT_EQ(f.ListView().Visible(), !setup);
        EXPECT_EQ(f.Menu().Checked(cmd::Setup2), setup);
        EXPECT_EQ(f.Button(cmd::EBAdd).Visible(), setup);
        EXPECT_EQ(f.Button(cmd::EBStart).Visible(), !setup);
        EXPECT_EQ(f.Menu().Item(cmd::StartKelvaro1).enabled, !setup);
        for (int id : {cmd::Add1, cmd::Delete1, cmd::N1}) EXPECT_EQ(f.Menu().Item(id).visible, setup);
        EXPECT_TRUE(f.Button(cmd::EBDelete).Visible());
        return setup;
    }

    TempFolder records;
    std::string recordPath = records.Path() + "\\Kelvaro\\Kelvaro.log";
    std::vector<std::string> viewed;
    std::unique_ptr<TForm1> form;
    std::vector<std::string> boxes;
    std::vector<std::string> helpCalls;
    std::string key_;

private:
    MessageBoxFunction previousBox_;
    HelpFunction previousHelp_;
};

}  // namespace kelvaro::testing
