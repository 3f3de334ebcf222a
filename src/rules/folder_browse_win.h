#pragma once
// TFolderBrowse: lets the user pick a folder from the shell's folder tree and hands back its path.
#include <windows.h>

#include <string>

namespace kelvaro {

class TFolderBrowse {
public:
    // In: the folder the tree opens on (empty: no preselection). Out: the folder the user picked.
    // Being both, a second Execute opens where the first one ended.
    std::string Directory;
    // Shown by the shell above the tree.
    std::string Title;

    // Blocks until the user closes the shell's dialog, which owner owns. True when a folder with a
    // file-system path was picked; Directory then holds it. Otherwise Directory is left as it was.
    bool Execute(HWND owner);

private:
    static int CALLBACK BrowseCallback(HWND dialog, UINT message, LPARAM argument, LPARAM data);
};

}  // namespace kelvaro
