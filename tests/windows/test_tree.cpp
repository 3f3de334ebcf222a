#include "windows/test_tree.h"

#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <stdexcept>

namespace kelvaro::testing {
namespace {

std::wstring FromUtf8(const std::string& text) {
    int length = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, wide.data(), length);
    wide.resize(static_cast<std::size_t>(length - 1));
    return wide;
}

void RemoveTree(const std::wstring& path) {
    WIN32_FIND_DATAW data;
    HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &data);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = data.cFileName;
            if (name == L"." || name == L"..") continue;
            std::wstring child = path + L"\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(child);
            } else {
                SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(child.c_str());
            }
        } while (FindNextFileW(search, &data));
        FindClose(search);
    }
    RemoveDirectoryW(path.c_str());
}

std::string OnDriveZ(const std::string& unixPath) {
    std::string path = "Z:" + unixPath;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

}  // namespace

std::string FixtureTree() {
    const char* unixPath = std::getenv("KELVARO_FIXTURE_TREE");
    if (!unixPath) throw std::runtime_error("KELVARO_FIXTURE_TREE is not set (ctest sets it)");
    return OnDriveZ(unixPath);
}

std::string LongPathTree() {
    std::ifstream named(FixtureTree() + "\\long-root.txt");
    std::string unixPath;
    if (!std::getline(named, unixPath) || unixPath.empty())
        throw std::runtime_error("the fixture tree names no long-path root");
    return OnDriveZ(unixPath);
}

TempFolder::TempFolder() {
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    static int counter = 0;
    path_ = std::string(base) + "kelvaro-test-" + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(++counter);
    RemoveTree(FromUtf8(path_));
    if (!CreateDirectoryA(path_.c_str(), nullptr)) throw std::runtime_error("cannot create " + path_);
}

TempFolder::~TempFolder() {
    RemoveTree(FromUtf8(path_));
}

void TempFolder::File(const std::string& utf8Name, const std::string& content) {
    std::wstring path = FromUtf8(path_ + "\\" + utf8Name);
    std::size_t slash = path.rfind(L'\\');
    for (std::size_t at = path_.size() + 1; at < slash; ++at)
        if (path[at] == L'\\') CreateDirectoryW(path.substr(0, at).c_str(), nullptr);
    CreateDirectoryW(path.substr(0, slash).c_str(), nullptr);
    HANDLE file =
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot create " + utf8Name);
    DWORD written = 0;
    WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(file);
}

}  // namespace kelvaro::testing
