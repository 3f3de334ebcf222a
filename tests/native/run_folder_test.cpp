#include "run/run_folder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/errors.h"

namespace kelvaro {
namespace {

// Makes a path absolute from a current folder of "C:\Work", as the platform would; or cannot.
class FakeFullPaths : public FullPaths {
public:
    std::vector<std::string> asked;
    bool fails = false;
    std::optional<std::string> FullPath(const std::string& path) override {
        asked.push_back(path);
        if (fails) return std::nullopt;
        return "C:\\Work\\" + path;
    }
};

TEST(RunFolderTest, OnlyARelativeFolderIsMadeAbsoluteAndOneThatCannotBeStopsTheRun) {
    const struct {
        const char* location;
        bool relative;
    } cases[] = {
        {"Temp", true},
        {"..\\Temp", true},
        {"\\Temp", true},
        {"C:Temp", true},
        {"C:\\Temp", false},
        {"c:/Temp", false},
        {"\\\\server\\share", false},
        {"  \t", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.location);
        FakeFullPaths paths;
        EXPECT_EQ(RunFolder(c.location, 1, paths),
                  c.relative ? "C:\\Work\\" + std::string(c.location) : c.location);
        EXPECT_EQ(paths.asked.size(), c.relative ? 1u : 0u);
    }
    // Searching the relative folder after all would bring back the rows it is made absolute for.
    FakeFullPaths paths;
    paths.fails = true;
    try {
        RunFolder("Temp", 4, paths);
        ADD_FAILURE() << "no error";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "The folder of rule 4, \"Temp\", cannot be made a full path");
    }
}

TEST(RunFolderTest, AProtectedItemIsMadeAbsoluteLikeARuleFolderAndOneThatCannotBeStopsTheRun) {
    FakeFullPaths paths;
    const std::vector<std::string> items{"Keep",       "*.docx", "Docs\\Keep", ".\\Data\\*.db",
                                         "C:\\Keep\\", "C:*.db", "  "};
    EXPECT_EQ(RunProtectedItems(items, paths),
              (std::vector<std::string>{"Keep", "*.docx", "C:\\Work\\Docs\\Keep", "C:\\Work\\.\\Data\\*.db",
                                        "C:\\Keep\\", "C:\\Work\\C:\\*.db", "  "}));
    paths.fails = true;
    EXPECT_THROW(RunProtectedItems({"Docs\\Keep"}, paths), Exception);
}

}  // namespace
}  // namespace kelvaro
