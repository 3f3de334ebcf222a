// The main window's side of the rule editor: adding a rule and editing the selected one.
#include "app/command_ids.h"
#include "app/main_window_win.h"
#include "rules/rule_editor_win.h"
#include "widgets/cool_list_view_win.h"

namespace kelvaro {
namespace {

// The setup list and the window's options as the rule editor sees them.
class EditorHost : public RuleEditorHost {
public:
    explicit EditorHost(TForm1& form) : form_(form) {}
    HWND Window() const override { return form_.Handle(); }
    bool AddingRule() const override { return form_.AddingRule; }
    bool Office97Tick() const override { return form_.Menu().Checked(command::Office97Buttons); }
    bool HasSelectedRule() const override { return form_.LVSetup().SelectedCount() > 0; }
    RuleRow FirstSelectedRule() const override { return form_.Rule(form_.LVSetup().SelectedRows().front()); }
    void ReplaceFirstSelectedRule(const RuleRow& row) override {
        form_.LVSetup().SetRowTexts(form_.LVSetup().SelectedRows().front(), row.Caption,
                                    std::vector<std::string>(row.SubItems.begin(), row.SubItems.end()));
    }
    void AppendRule(const RuleRow& row) override { form_.AppendRule(row); }
    void DisplayHint(const std::string& hint) override { form_.DisplayHint(hint); }

private:
    TForm1& form_;
};

}  // namespace

// The editor changes the setup list, which must stay as it is while a delete is under way.
void TForm1::EBAddClick() {
    if (!work_.ListsMayChange()) return;
    AddingRule = true;
    EditorHost host(*this);
    ShowRuleEditor(host);
}

void TForm1::LVSetupDblClick() {
    if (!work_.ListsMayChange() || setupList_->SelectedCount() == 0) return;
    AddingRule = false;
    EditorHost host(*this);
    ShowRuleEditor(host);
}

}  // namespace kelvaro
