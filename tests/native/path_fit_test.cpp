#include "widgets/path_fit.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace kelvaro {
namespace {

using Pieces = std::vector<std::string>;

// 7 pixels per character, except for texts given their own width: a real font's width of a whole
// text need not be the sum of its parts' widths, and the fitting must measure exactly the texts it
// is meant to.
class StubMeasurer : public TextMeasurer {
public:
    explicit StubMeasurer(std::map<std::string, int> overrides = {}) : overrides_(std::move(overrides)) {}
    int TextWidth(const std::string& text) override {
        auto found = overrides_.find(text);
        return found != overrides_.end() ? found->second : 7 * static_cast<int>(text.size());
    }

private:
    std::map<std::string, int> overrides_;
};

std::string Fit(const std::string& fileName, TDirection direction, int width,
                const std::map<std::string, int>& widths = {}) {
    StubMeasurer measurer(widths);
    return FitPath(fileName, ParsePath(fileName, "\\"), "\\", direction, width, measurer);
}

TEST(PathFitTest, SplitTextSplitsAtEveryOccurrence) {
    const struct {
        const char* text;
        const char* separator;
        Pieces pieces;
    } cases[] = {
        {"G:\\WINDOWS\\TEMP\\a.tmp", "\\", {"G:", "WINDOWS", "TEMP", "a.tmp"}},
        {"", "\\", {""}},
        {"abc", "\\", {"abc"}},
        {"a\\", "\\", {"a", ""}},
        {"\\\\srv\\a", "\\", {"", "", "srv", "a"}},
        {"a\\b", "", {"a\\b"}},
        {"a::b:::c", "::", {"a", "b", ":c"}},
    };
    for (const auto& c : cases) {
        Pieces list{"kept"};
        SplitText(c.text, c.separator, list);
        Pieces expected{"kept"};
        expected.insert(expected.end(), c.pieces.begin(), c.pieces.end());
        EXPECT_EQ(list, expected) << '"' << c.text << "\" by \"" << c.separator << '"';
    }
}

TEST(PathFitTest, ParsePathRecognisesOnlyADriveAsFirstPiece) {
    const struct {
        const char* fileName;
        bool hasDrive;
    } cases[] = {
        {"G:\\a.tmp", true}, {"G:", true}, {"1:\\x", true},   {":\\a.tmp", false},
        {"\\a.tmp", false},  {"", false},  {"G:x\\a", false},
    };
    for (const auto& c : cases) EXPECT_EQ(ParsePath(c.fileName, "\\").HasDrive, c.hasDrive) << c.fileName;
}

// G:\WINDOWS\TEMP\SUB\a.tmp is 175 wide; D "G:\" 21, E "...\" 28, L "a.tmp" 35, so D+E+L is 84,
// SUB\ 28, TEMP\SUB\ 63, WINDOWS\ 56, WINDOWS\TEMP\ 91.
TEST(PathFitTest, BoundariesOfEveryStepInBothDirections) {
    const std::string path = "G:\\WINDOWS\\TEMP\\SUB\\a.tmp";
    const struct {
        TDirection direction;
        int width;
        const char* caption;
    } cases[] = {
        {drFromLeft, 175, "G:\\WINDOWS\\TEMP\\SUB\\a.tmp"},
        {drFromRight, 175, "G:\\WINDOWS\\TEMP\\SUB\\a.tmp"},
        {drFromLeft, 174, "G:\\...\\TEMP\\SUB\\a.tmp"},
        {drFromRight, 174, "G:\\WINDOWS\\...\\a.tmp"},
        {drFromLeft, 147, "G:\\...\\TEMP\\SUB\\a.tmp"},
        {drFromLeft, 146, "G:\\...\\SUB\\a.tmp"},
        {drFromLeft, 112, "G:\\...\\SUB\\a.tmp"},
        {drFromLeft, 111, "G:\\...\\a.tmp"},
        {drFromRight, 140, "G:\\WINDOWS\\...\\a.tmp"},
        {drFromRight, 139, "G:\\...\\a.tmp"},
        {drFromLeft, 85, "G:\\...\\a.tmp"},
        {drFromLeft, 84, "...\\a.tmp"},
        {drFromLeft, 64, "...\\a.tmp"},
        {drFromLeft, 63, "a.tmp"},
        {drFromLeft, 0, "a.tmp"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Fit(path, c.direction, c.width), c.caption)
            << "direction " << int(c.direction) << " width " << c.width;
}

TEST(PathFitTest, EdgeCases) {
    const std::string spaces(78, ' ');
    const std::string spaced = "C:\\dir\\a.tmp" + spaces;
    const std::string net = "\\\\srv\\shr\\dir\\a.tmp";
    const std::string g = "G:\\WINDOWS\\TEMP\\SUB\\a.tmp";
    const struct {
        const char* what;
        std::string fileName;
        TDirection direction;
        int width;
        std::string caption;
        std::map<std::string, int> widths = {};
    } cases[] = {
        {"empty shows empty", "", drFromLeft, -1, ""},
        {"no separator stays whole", "averylongfilename.tmp", drFromLeft, 50, "averylongfilename.tmp"},
        // Network path: D is empty and the empty first pieces are droppable like any other.
        {"network", net, drFromRight, 84, "\\\\...\\a.tmp"},
        {"network", net, drFromRight, 64, "...\\a.tmp"},
        {"network", net, drFromLeft, 132, "...\\shr\\dir\\a.tmp"},
        {"network, all kept", net, drFromLeft, 200, "...\\" + net, {{net, 500}}},
        {"drive and name", "G:\\a.tmp", drFromLeft, 90, "G:\\...\\a.tmp", {{"G:\\a.tmp", 100}}},
        {"drive and name", "G:\\a.tmp", drFromRight, 84, "...\\a.tmp", {{"G:\\a.tmp", 100}}},
        // "..." goes in whenever the whole does not fit, even if every piece then does.
        {"nothing left out", g, drFromLeft, 300, "G:\\...\\WINDOWS\\TEMP\\SUB\\a.tmp", {{g, 400}}},
        {"nothing left out", g, drFromRight, 300, "G:\\WINDOWS\\TEMP\\SUB\\...\\a.tmp", {{g, 400}}},
        // The kept run is measured whole (50), not as the sum of its pieces (63).
        {"run whole", g, drFromLeft, 140, "G:\\...\\TEMP\\SUB\\a.tmp", {{"TEMP\\SUB\\", 50}}},
        {"run whole", g, drFromRight, 140, "G:\\WINDOWS\\TEMP\\...\\a.tmp", {{"WINDOWS\\TEMP\\", 40}}},
        // D, E and L are measured each alone: joined they would be 10, alone they are 84.
        {"D, E, L alone", g, drFromLeft, 84, "...\\a.tmp", {{"G:\\...\\a.tmp", 10}, {"...\\a.tmp", 10}}},
        // Taking pieces stops at the first that does not fit; a shorter one further on is not tried.
        {"stop at first misfit", "C:\\a\\b\\verylongfolder\\x.tmp", drFromLeft, 150, "C:\\...\\x.tmp"},
        {"stop at first misfit", "C:\\a\\b\\verylongfolder\\x.tmp", drFromRight, 150, "C:\\a\\b\\...\\x.tmp"},
        {"stop at first misfit", "C:\\verylongfolder\\a\\b\\x.tmp", drFromRight, 150, "C:\\...\\x.tmp"},
        {"stop at first misfit", "C:\\verylongfolder\\a\\b\\x.tmp", drFromLeft, 150, "C:\\...\\a\\b\\x.tmp"},
        // The scanner's trailing spaces belong to the file name and widen L to 581.
        {"trailing spaces", spaced, drFromLeft, 609, "a.tmp" + spaces},
        {"trailing spaces", spaced, drFromLeft, 620, "...\\a.tmp" + spaces},
        {"trailing spaces", spaced, drFromLeft, 630, spaced},
        {"trailing spaces", spaced, drFromLeft, 636, "C:\\...\\a.tmp" + spaces, {{spaced, 700}}},
        {"trailing spaces", spaced, drFromLeft, 658, "C:\\...\\dir\\a.tmp" + spaces, {{spaced, 700}}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Fit(c.fileName, c.direction, c.width, c.widths), c.caption)
            << c.what << ": \"" << c.fileName << "\" direction " << int(c.direction) << " width " << c.width;
}

}  // namespace
}  // namespace kelvaro
