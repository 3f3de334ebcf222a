#pragma once
// The main menu with items that can be hidden, ticked and disabled. A hidden item is not in the
// platform's menu at all, so each change of visibility rebuilds that popup from the item table.
#include <windows.h>

#include <string>
#include <vector>

namespace kelvaro {

struct MenuItemState {
    int id = 0;
    std::string caption;  // "-" for a separator
    std::string hint;     // long hint for the status bar; empty for none
    bool visible = true;
    bool checked = false;
    bool enabled = true;
};

class MainMenu {
public:
    struct Popup {
        std::string caption;
        std::vector<MenuItemState> items;
    };
    explicit MainMenu(std::vector<Popup> popups);
    ~MainMenu();
    MainMenu(const MainMenu&) = delete;
    MainMenu& operator=(const MainMenu&) = delete;

    HMENU Handle() const { return bar_; }
    const MenuItemState& Item(int id) const;
    void SetVisible(int id, bool visible);
    void SetChecked(int id, bool checked);
    void SetEnabled(int id, bool enabled);
    bool Checked(int id) const { return Item(id).checked; }
    // The hint of an item, or of the popup with that index; empty for none.
    std::string HintOf(int id) const;

private:
    MenuItemState& Find(int id, std::size_t* popup = nullptr);
    void Rebuild(std::size_t popup);

    std::vector<Popup> popups_;
    std::vector<HMENU> handles_;
    HMENU bar_ = nullptr;
};

}  // namespace kelvaro
