#pragma once
// Fitting a path into a label too narrow for it: a run of pieces next to the drive or next to the
// file name is replaced by "...", so the drive, the file name and as many neighbours as fit stay.
#include <cstdint>
#include <string>
#include <vector>

namespace kelvaro {

// Which pieces are dropped first: drFromLeft keeps those next to the file name, drFromRight those
// next to the drive.
enum TDirection : std::uint8_t { drFromLeft, drFromRight };

// Pixel width of a text drawn on one line in the label's font; 0 for "".
class TextMeasurer {
public:
    virtual ~TextMeasurer() = default;
    virtual int TextWidth(const std::string& text) = 0;
};

// Appends the pieces of text to list. Every occurrence of separator splits, so leading, trailing and
// doubled separators give empty pieces; an empty separator never splits.
void SplitText(std::string text, const std::string& separator, std::vector<std::string>& list);

struct ParsedPath {
    std::vector<std::string> Pieces;
    // The first piece is a drive such as "G:": more than one character, the last one ":".
    bool HasDrive = false;
};

ParsedPath ParsePath(const std::string& fileName, const std::string& separator);

// The caption for a label width pixels wide. parsed must come from ParsePath(fileName, separator).
std::string FitPath(const std::string& fileName, const ParsedPath& parsed, const std::string& separator,
                    TDirection direction, int width, TextMeasurer& measurer);

}  // namespace kelvaro
