#pragma once
// What the settings store reads from and applies to the main window. The main window implements it;
// tests hand the store a stand-in. Every call does exactly one thing, so that the store's order of
// reads and writes is the order in which the window changes.
#include <string>

#include "rules/search_rule.h"
#include "widgets/view_style.h"

namespace kelvaro {

struct WindowBounds {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

class SettingsWindow {
public:
    virtual ~SettingsWindow() = default;

    virtual bool ConfirmDelete() const = 0;
    virtual bool UseRecycleBin() const = 0;
    virtual void SetConfirmDelete(bool value) = 0;
    virtual void SetUseRecycleBin(bool value) = 0;
    // Twin buttons and the two menu ticks made to agree with the two flags.
    virtual void ShowFlagState() = 0;

    virtual bool RunAtBootTick() const = 0;
    virtual bool SaveOnExitTick() const = 0;
    virtual bool Office97Tick() const = 0;
    virtual void SetRunAtBootTick(bool ticked) = 0;
    virtual void SetSaveOnExitTick(bool ticked) = 0;
    virtual void SetOffice97Tick(bool ticked) = 0;

    virtual WindowBounds Bounds() const = 0;
    virtual void SetWidth(int width) = 0;
    virtual void SetTop(int top) = 0;
    virtual void SetLeft(int left) = 0;
    virtual void SetHeight(int height) = 0;

    virtual ViewStyle ResultsViewStyle() const = 0;
    // Sets the results list's style and presses the matching view-style button.
    virtual void ApplyResultsViewStyle(ViewStyle style) = 0;

    // column 0 to 5
    virtual int ResultsColumnWidth(int column) const = 0;
    virtual int SetupColumnWidth(int column) const = 0;
    virtual void SetResultsColumnWidth(int column, int width) = 0;
    virtual void SetSetupColumnWidth(int column, int width) = 0;

    virtual int RuleCount() const = 0;
    virtual RuleRow Rule(int index) const = 0;
    // Appends a row at the bottom of the setup list; the window finds its icon from the caption.
    virtual void AppendRule(const RuleRow& row) = 0;

    // The Office 97 look, from the Office 97 tick.
    virtual void ApplyButtonStyle() = 0;
};

}  // namespace kelvaro
