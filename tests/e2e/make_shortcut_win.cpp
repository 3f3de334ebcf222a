// Writes a shortcut through the shell's own link object, for the end-to-end tree:
//   make_shortcut.exe LINK_PATH TARGET_PATH
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <string>

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    if (FAILED(CoInitialize(nullptr))) return 3;
    IShellLinkA* link = nullptr;
    HRESULT result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                      reinterpret_cast<void**>(&link));
    if (SUCCEEDED(result)) {
        link->SetPath(argv[2]);
        IPersistFile* file = nullptr;
        result = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
        if (SUCCEEDED(result)) {
            std::wstring path(argv[1], argv[1] + std::string(argv[1]).size());
            result = file->Save(path.c_str(), TRUE);
            file->Release();
        }
        link->Release();
    }
    CoUninitialize();
    return SUCCEEDED(result) ? 0 : 1;
}
