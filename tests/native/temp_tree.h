#pragma once
// A real folder tree under /tmp for the native build's file-system tests; removed afterwards.
#include <ctime>
#include <string>

namespace kelvaro::testing {

class TempTree {
public:
    TempTree();
    ~TempTree();
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;

    // Unix path of the root, without a trailing "/".
    const std::string& Root() const { return root_; }
    // relative uses "/"; parent folders are made as needed.
    void File(const std::string& relative, const std::string& content = "");
    void Folder(const std::string& relative);
    void Link(const std::string& relative, const std::string& target);
    void Touch(const std::string& relative, std::time_t modified);
    void ReadOnly(const std::string& relative);
    // The program's form of a path below the root: folders joined by "\".
    std::string Windows(const std::string& relative = "") const;

private:
    std::string root_;
};

}  // namespace kelvaro::testing
