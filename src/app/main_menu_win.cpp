#include "app/main_menu_win.h"

#include <stdexcept>

namespace kelvaro {

MainMenu::MainMenu(std::vector<Popup> popups) : popups_(std::move(popups)) {
    bar_ = CreateMenu();
    for (std::size_t i = 0; i < popups_.size(); ++i) {
        HMENU popup = CreatePopupMenu();
        handles_.push_back(popup);
        AppendMenuA(bar_, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup),
                    popups_[i].caption.c_str());
        Rebuild(i);
    }
}

// A menu attached to a window is destroyed with it; one that never was is destroyed here.
MainMenu::~MainMenu() {
    if (IsMenu(bar_)) DestroyMenu(bar_);
}

MenuItemState& MainMenu::Find(int id, std::size_t* popup) {
    for (std::size_t p = 0; p < popups_.size(); ++p)
        for (MenuItemState& item : popups_[p].items)
            if (item.id == id) {
                if (popup) *popup = p;
                return item;
            }
    throw std::logic_error("no menu item " + std::to_string(id));
}

const MenuItemState& MainMenu::Item(int id) const {
    return const_cast<MainMenu*>(this)->Find(id);
}

std::string MainMenu::HintOf(int id) const {
    for (const Popup& popup : popups_)
        for (const MenuItemState& item : popup.items)
            if (item.id == id) return item.hint;
    return {};
}

void MainMenu::SetVisible(int id, bool visible) {
    std::size_t popup = 0;
    MenuItemState& item = Find(id, &popup);
    if (item.visible == visible) return;
    item.visible = visible;
    Rebuild(popup);
}

void MainMenu::SetChecked(int id, bool checked) {
    MenuItemState& item = Find(id);
    item.checked = checked;
    CheckMenuItem(bar_, static_cast<UINT>(id), MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void MainMenu::SetEnabled(int id, bool enabled) {
    MenuItemState& item = Find(id);
    item.enabled = enabled;
    EnableMenuItem(bar_, static_cast<UINT>(id), MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

void MainMenu::Rebuild(std::size_t popup) {
    HMENU handle = handles_[popup];
    while (GetMenuItemCount(handle) > 0) DeleteMenu(handle, 0, MF_BYPOSITION);
    for (const MenuItemState& item : popups_[popup].items) {
        if (!item.visible) continue;
        if (item.caption == "-") {
            AppendMenuA(handle, MF_SEPARATOR, static_cast<UINT_PTR>(item.id), nullptr);
            continue;
        }
        UINT flags = MF_STRING | (item.checked ? MF_CHECKED : 0u) | (item.enabled ? 0u : MF_GRAYED);
        AppendMenuA(handle, flags, static_cast<UINT_PTR>(item.id), item.caption.c_str());
    }
}

}  // namespace kelvaro
