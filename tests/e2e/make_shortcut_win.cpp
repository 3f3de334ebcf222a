// Writes a shortcut through the shell's own link object, for the end-to-end tree:
//   make_shortcut.exe LINK_PATH TARGET_PATH
// The wide interface and command line, so that targets the code page cannot name can be written too.
#include <windows.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>

int main() {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc < 3) return 2;
    if (FAILED(CoInitialize(nullptr))) return 3;
    IShellLinkW* link = nullptr;
    HRESULT result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                      reinterpret_cast<void**>(&link));
    if (SUCCEEDED(result)) {
        link->SetPath(argv[2]);
        IPersistFile* file = nullptr;
        result = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
        if (SUCCEEDED(result)) {
            result = file->Save(argv[1], TRUE);
            file->Release();
        }
        link->Release();
    }
    CoUninitialize();
    LocalFree(argv);
    return SUCCEEDED(result) ? 0 : 1;
}
