#include "temp_tree.h"

#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace kelvaro::testing {

namespace fs = std::filesystem;

TempTree::TempTree() {
    std::string pattern = (fs::temp_directory_path() / "kelvaro-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    root_ = pattern;
}

TempTree::~TempTree() {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
}

void TempTree::File(const std::string& relative, const std::string& content) {
    fs::path path = fs::path(root_) / relative;
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << content;
}

void TempTree::Folder(const std::string& relative) {
    fs::create_directories(fs::path(root_) / relative);
}

void TempTree::Link(const std::string& relative, const std::string& target) {
    fs::path path = fs::path(root_) / relative;
    fs::create_directories(path.parent_path());
    fs::create_symlink(target, path);
}

void TempTree::Touch(const std::string& relative, std::time_t modified) {
    utimbuf times{modified, modified};
    utime((fs::path(root_) / relative).c_str(), &times);
}

void TempTree::ReadOnly(const std::string& relative) {
    chmod((fs::path(root_) / relative).c_str(), 0444);
}

std::string TempTree::Windows(const std::string& relative) const {
    std::string path = root_ + (relative.empty() ? "" : "/" + relative);
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

}  // namespace kelvaro::testing
