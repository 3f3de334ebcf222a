#pragma once
// The main window as the settings store reads and writes it: the option flags and ticks, the bounds,
// the results list's view style, both lists' column widths and the rules.
#include "app/main_window_win.h"
#include "rules/settings_window.h"

namespace kelvaro {

class TForm1::Settings : public SettingsWindow {
public:
    explicit Settings(TForm1& form) : form_(form) {}
    bool ConfirmDelete() const override { return form_.confirmDelete_; }
    bool UseRecycleBin() const override { return form_.useRecycleBin_; }
    void SetConfirmDelete(bool value) override { form_.confirmDelete_ = value; }
    void SetUseRecycleBin(bool value) override { form_.useRecycleBin_ = value; }
    void ShowFlagState() override { form_.SetDeleteFlags(form_.confirmDelete_, form_.useRecycleBin_); }
    bool RunAtBootTick() const override;
    bool SaveOnExitTick() const override;
    bool Office97Tick() const override;
    void SetRunAtBootTick(bool ticked) override;
    void SetSaveOnExitTick(bool ticked) override;
    void SetOffice97Tick(bool ticked) override;
    WindowBounds Bounds() const override { return form_.Bounds(); }
    void SetWidth(int width) override;
    void SetTop(int top) override;
    void SetLeft(int left) override;
    void SetHeight(int height) override;
    ViewStyle ResultsViewStyle() const override { return form_.listView_->GetViewStyle(); }
    void ApplyResultsViewStyle(ViewStyle style) override { form_.ApplyResultsViewStyle(style); }
    int ResultsColumnWidth(int column) const override { return form_.listView_->ColumnWidth(column); }
    int SetupColumnWidth(int column) const override { return form_.setupList_->ColumnWidth(column); }
    void SetResultsColumnWidth(int column, int width) override {
        form_.listView_->SetColumnWidth(column, width);
    }
    void SetSetupColumnWidth(int column, int width) override {
        form_.setupList_->SetColumnWidth(column, width);
    }
    int RuleCount() const override { return form_.setupList_->RowCount(); }
    RuleRow Rule(int index) const override { return form_.Rule(index); }
    void AppendRule(const RuleRow& row) override { form_.AppendRule(row); }
    void ApplyButtonStyle() override { form_.ApplyButtonStyle(); }

private:
    void SetEdge(const WindowBounds& bounds);

    TForm1& form_;
};

}  // namespace kelvaro
