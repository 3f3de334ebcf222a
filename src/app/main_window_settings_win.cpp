#include "app/main_window_settings_win.h"

#include "app/command_ids.h"
#include "app/window_placement_win.h"

namespace kelvaro {

bool TForm1::Settings::RunAtBootTick() const {
    return form_.menu_->Checked(command::RunduringWin95Boot1);
}
bool TForm1::Settings::SaveOnExitTick() const {
    return form_.menu_->Checked(command::SaveSettingsatExit1);
}
bool TForm1::Settings::Office97Tick() const {
    return form_.menu_->Checked(command::Office97Buttons);
}
void TForm1::Settings::SetRunAtBootTick(bool ticked) {
    form_.menu_->SetChecked(command::RunduringWin95Boot1, ticked);
}
void TForm1::Settings::SetSaveOnExitTick(bool ticked) {
    form_.menu_->SetChecked(command::SaveSettingsatExit1, ticked);
}
void TForm1::Settings::SetOffice97Tick(bool ticked) {
    form_.menu_->SetChecked(command::Office97Buttons, ticked);
}

void TForm1::Settings::SetEdge(const WindowBounds& bounds) {
    SetNormalBounds(form_.Handle(), bounds);
}
void TForm1::Settings::SetWidth(int width) {
    WindowBounds b = Bounds();
    SetEdge({b.left, b.top, width, b.height});
}
void TForm1::Settings::SetTop(int top) {
    WindowBounds b = Bounds();
    SetEdge({b.left, top, b.width, b.height});
}
void TForm1::Settings::SetLeft(int left) {
    WindowBounds b = Bounds();
    SetEdge({left, b.top, b.width, b.height});
}
void TForm1::Settings::SetHeight(int height) {
    WindowBounds b = Bounds();
    SetEdge({b.left, b.top, b.width, height});
}

}  // namespace kelvaro
