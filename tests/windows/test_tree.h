#pragma once
// Folders for the Windows tests: the tree made by make_fixture_tree.sh, and private temporary
// folders made here through the Windows calls.
#include <string>

namespace kelvaro::testing {

// The fixture tree as a Windows path (on Wine's Z: drive), without a trailing "\".
std::string FixtureTree();
// The fixture's short root in /tmp that holds the paths beyond MAX_PATH, as a Windows path.
std::string LongPathTree();

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    // Without a trailing "\".
    const std::string& Path() const { return path_; }
    // name is a UTF-8 path below the folder; made through the wide calls.
    void File(const std::string& utf8Name, const std::string& content = "");

private:
    std::string path_;
};

}  // namespace kelvaro::testing
