#include "run/recycle_bin_win.h"

#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include "base/owner.h"
#include "platform/file_state.h"
#include "platform/open_file_win.h"
#include "run/question_decliner_win.h"
#include "ui/owners_win.h"

namespace kelvaro {
namespace {

struct MenuKind {
    using Handle = HMENU;
    static Handle None() { return nullptr; }
    static bool IsNone(Handle menu) { return !menu; }
    static void Close(Handle menu) { DestroyMenu(menu); }
};
using MenuOwner = Owner<MenuKind>;

// The columns of the Recycle Bin folder's details, the same on Windows and under Wine.
constexpr UINT kOriginalFolderColumn = 1;
constexpr UINT kDeletedAtColumn = 2;

std::wstring TakeString(STRRET& text, PCUITEMID_CHILD item) {
    wchar_t* wide = nullptr;
    if (FAILED(StrRetToStrW(&text, item, &wide)) || !wide) return {};
    std::wstring result = wide;
    CoTaskMemFree(wide);
    return result;
}

std::optional<std::string> Narrow(const std::wstring& wide) {
    std::string narrow;
    if (wide.empty()) return narrow;
    if (!NarrowExactly(wide.c_str(), static_cast<int>(wide.size()), narrow)) return std::nullopt;
    return narrow;
}

// A time as the Recycle Bin folder shows a time of deletion: the user's short date and the time without
// seconds.
std::string BinTimeText(const FILETIME& utc) {
    FILETIME local;
    SYSTEMTIME parts;
    if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &parts)) return {};
    wchar_t text[128] = {};
    int length = GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &parts, nullptr, text, 64);
    if (length <= 0) return {};
    text[length - 1] = L' ';
    GetTimeFormatW(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &parts, nullptr, text + length, 64);
    return Narrow(text).value_or(std::string());
}

class Win32RecycleBin : public RecycleBin {
public:
    Win32RecycleBin() {
        ComPtr<IShellFolder> desktop;
        PIDLIST_ABSOLUTE bin = nullptr;
        if (FAILED(SHGetDesktopFolder(reinterpret_cast<IShellFolder**>(desktop.Out()))) ||
            FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_BITBUCKET, &bin)))
            return;
        desktop->BindToObject(bin, nullptr, IID_IShellFolder2, folder_.Out());
        CoTaskMemFree(bin);
    }
    ~Win32RecycleBin() override { FreeItems(); }
    Win32RecycleBin(const Win32RecycleBin&) = delete;
    Win32RecycleBin& operator=(const Win32RecycleBin&) = delete;

    std::vector<BinItem> Items() override {
        FreeItems();
        std::vector<BinItem> items;
        ComPtr<IEnumIDList> list;
        if (!folder_ ||
            folder_->EnumObjects(nullptr, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN,
                                 reinterpret_cast<IEnumIDList**>(list.Out())) != S_OK)
            return items;
        PITEMID_CHILD item = nullptr;
        while (list->Next(1, &item, nullptr) == S_OK) {
            SHELLDETAILS deleted{};
            std::string deletedAt;
            if (SUCCEEDED(folder_->GetDetailsOf(item, kDeletedAtColumn, &deleted)))
                deletedAt = Narrow(TakeString(deleted.str, item)).value_or(std::string());
            originals_.push_back(OriginalOf(item));
            // An item whose name the program could not have deleted by its ANSI path is not one of its files.
            items.push_back({Narrow(originals_.back()).value_or(std::string()), deletedAt});
            items_.push_back(item);
        }
        return items;
    }

    std::vector<std::string> DeletedAtTexts(const LocalTime& recorded) override {
        SYSTEMTIME parts{};
        parts.wYear = static_cast<WORD>(recorded.year);
        parts.wMonth = static_cast<WORD>(recorded.month);
        parts.wDay = static_cast<WORD>(recorded.day);
        parts.wHour = static_cast<WORD>(recorded.hour);
        parts.wMinute = static_cast<WORD>(recorded.minute);
        parts.wSecond = static_cast<WORD>(recorded.second);
        FILETIME local, utc;
        if (!SystemTimeToFileTime(&parts, &local) || !LocalFileTimeToFileTime(&local, &utc)) return {};
        ULARGE_INTEGER before{{utc.dwLowDateTime, utc.dwHighDateTime}};
        before.QuadPart -= 10'000'000;  // one second
        return {BinTimeText(utc), BinTimeText(FILETIME{before.LowPart, before.HighPart})};
    }

    RestoreOutcome Restore(std::size_t index, std::uint64_t size) override {
        if (index >= items_.size() || !folder_) return RestoreOutcome::Failed;
        const std::wstring& original = originals_[index];
        // Never over anything at its place, in any spelling of its name.
        if (original.empty() || GetFileAttributesW(original.c_str()) != INVALID_FILE_ATTRIBUTES)
            return original.empty() ? RestoreOutcome::Failed : RestoreOutcome::Occupied;
        ComPtr<IContextMenu> menu;
        PCUITEMID_CHILD item = items_[index];
        if (FAILED(folder_->GetUIObjectOf(nullptr, 1, &item, IID_IContextMenu, nullptr, menu.Out())))
            return RestoreOutcome::Failed;
        const std::optional<UINT> command = RestoreCommand(*menu.Get());
        if (!command) return RestoreOutcome::Failed;
        CMINVOKECOMMANDINFO invoke{};
        invoke.cbSize = sizeof invoke;
        invoke.fMask = 0x00000400;  // CMIC_MASK_FLAG_NO_UI: no box of its own
        invoke.lpVerb = MAKEINTRESOURCEA(*command);
        invoke.nShow = SW_SHOWNORMAL;
        {
            // Something that took the place meanwhile makes the shell ask whether to replace it: No.
            QuestionDecliner decliner;
            menu->InvokeCommand(&invoke);
            if (decliner.Declined()) return RestoreOutcome::Occupied;
        }
        // Back means: at its place, under exactly its name, with its size.
        const std::optional<std::string> path = Narrow(original);
        const FileState state = path ? probe_->Describe(*path) : FileState{};
        if (!state.exists) return RestoreOutcome::Failed;
        return state.plainFile && state.size == size ? RestoreOutcome::Restored : RestoreOutcome::Occupied;
    }

private:
    // Where the item was deleted from: its original folder and name; empty when the bin does not say.
    std::wstring OriginalOf(PCUITEMID_CHILD item) {
        STRRET name{};
        SHELLDETAILS details{};
        if (FAILED(folder_->GetDisplayNameOf(item, SHGDN_NORMAL, &name)) ||
            FAILED(folder_->GetDetailsOf(item, kOriginalFolderColumn, &details)))
            return {};
        std::wstring original = TakeString(details.str, item);
        if (original.empty()) return {};
        if (original.back() != L'\\') original += L'\\';
        return original + TakeString(name, item);
    }

    // The item's Restore command: the one whose verb is "undelete", or where the shell names no verbs (Wine),
    // the first of its menu.
    static std::optional<UINT> RestoreCommand(IContextMenu& menu) {
        constexpr UINT kFirst = 1;
        MenuOwner popup(CreatePopupMenu());
        if (!popup || FAILED(menu.QueryContextMenu(popup.Get(), 0, kFirst, 0x7FFF, CMF_NORMAL)))
            return std::nullopt;
        std::optional<UINT> first;
        for (int i = 0, count = GetMenuItemCount(popup.Get()); i < count; ++i) {
            const UINT id = GetMenuItemID(popup.Get(), i);
            if (id == static_cast<UINT>(-1) || id < kFirst) continue;
            char verb[64] = {};
            if (SUCCEEDED(menu.GetCommandString(id - kFirst, GCS_VERBA, nullptr, verb, sizeof verb)) &&
                lstrcmpiA(verb, "undelete") == 0)
                return id - kFirst;
            if (!first) first = id - kFirst;
        }
        return first;
    }

    void FreeItems() {
        for (PITEMID_CHILD item : items_) CoTaskMemFree(item);
        items_.clear();
        originals_.clear();
    }

    ComPtr<IShellFolder2> folder_;
    std::vector<PITEMID_CHILD> items_;
    std::vector<std::wstring> originals_;  // of items_, as the Recycle Bin names them
    std::unique_ptr<FileStateProbe> probe_ = MakePlatformFileStateProbe();
};

}  // namespace

std::unique_ptr<RecycleBin> MakePlatformRecycleBin() {
    return std::make_unique<Win32RecycleBin>();
}

}  // namespace kelvaro
