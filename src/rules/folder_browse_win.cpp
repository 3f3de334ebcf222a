#include "rules/folder_browse_win.h"

#include <shlobj.h>

#include <memory>

namespace kelvaro {
namespace {

// Item lists come from the shell's allocator and must go back to it.
struct ItemListDeleter {
    void operator()(ITEMIDLIST* list) const { CoTaskMemFree(list); }
};
using ItemListOwner = std::unique_ptr<ITEMIDLIST, ItemListDeleter>;

}  // namespace

bool TFolderBrowse::Execute(HWND owner) {
    bool result = false;
    char path[MAX_PATH + 1] = {};
    BROWSEINFOA info{};
    info.hwndOwner = owner;
    info.pidlRoot = nullptr;  // the desktop: the whole namespace
    info.pszDisplayName = path;
    info.lpszTitle = Title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    info.lpfn = BrowseCallback;
    info.lParam = reinterpret_cast<LPARAM>(this);

    ItemListOwner picked(SHBrowseForFolderA(&info));
    if (!picked) return false;
    if (SHGetPathFromIDListA(picked.get(), path)) {
        result = true;
        Directory = path;
    }
    return result;
}

int CALLBACK TFolderBrowse::BrowseCallback(HWND dialog, UINT message, LPARAM, LPARAM data) {
    const auto* self = reinterpret_cast<const TFolderBrowse*>(data);
    if (message == BFFM_INITIALIZED && self && !self->Directory.empty()) {
        // wParam TRUE: lParam is a path, not an item list.
        SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(self->Directory.c_str()));
    }
    return 0;
}

}  // namespace kelvaro
