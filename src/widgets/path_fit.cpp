#include "widgets/path_fit.h"

namespace kelvaro {
namespace {

// The caller's measurer need not be asked about empty texts, which are 0 wide by definition.
int Tw(TextMeasurer& measurer, const std::string& text) {
    return text.empty() ? 0 : measurer.TextWidth(text);
}

}  // namespace

void SplitText(std::string text, const std::string& separator, std::vector<std::string>& list) {
    for (;;) {
        std::string::size_type at = separator.empty() ? std::string::npos : text.find(separator);
        if (at == std::string::npos) {
            list.push_back(std::move(text));
            return;
        }
        list.push_back(text.substr(0, at));
        text.erase(0, at + separator.size());
    }
}

ParsedPath ParsePath(const std::string& fileName, const std::string& separator) {
    ParsedPath parsed;
    SplitText(fileName, separator, parsed.Pieces);
    const std::string& first = parsed.Pieces.front();
    parsed.HasDrive = first.size() > 1 && first.back() == ':';
    return parsed;
}

std::string FitPath(const std::string& fileName, const ParsedPath& parsed, const std::string& separator,
                    TDirection direction, int width, TextMeasurer& measurer) {
    if (fileName.empty() || Tw(measurer, fileName) <= width) return fileName;

    const std::string ellipsis = "..." + separator;
    std::string last = parsed.Pieces.empty() ? std::string() : parsed.Pieces.back();
    // L, E and later D are measured each on its own and added up, while the kept run is measured
    // whole: a font's width of joined texts can be a pixel off the sum of their widths, and which of
    // the two is used decides the caption at the boundaries.
    if (Tw(measurer, ellipsis) + Tw(measurer, last) >= width) return last;
    int used = Tw(measurer, last) + Tw(measurer, ellipsis);

    std::string drive;
    std::size_t firstDroppable = 0;
    if (parsed.HasDrive) {
        drive = parsed.Pieces.front() + separator;
        firstDroppable = 1;
    }
    if (Tw(measurer, drive) + used >= width) return ellipsis + last;
    used += Tw(measurer, drive);

    // Droppable: from firstDroppable up to the last but one piece. Stop at the first piece that does
    // not fit, so the kept pieces stay one unbroken run.
    const std::size_t endDroppable = parsed.Pieces.empty() ? 0 : parsed.Pieces.size() - 1;
    std::string middle;
    if (direction == drFromLeft) {
        for (std::size_t i = endDroppable; i > firstDroppable; --i) {
            std::string candidate = parsed.Pieces[i - 1] + separator + middle;
            if (Tw(measurer, candidate) + used > width) break;
            middle = std::move(candidate);
        }
        return drive + ellipsis + middle + last;
    }
    for (std::size_t i = firstDroppable; i < endDroppable; ++i) {
        std::string candidate = middle + parsed.Pieces[i] + separator;
        if (Tw(measurer, candidate) + used > width) break;
        middle = std::move(candidate);
    }
    return drive + middle + ellipsis + last;
}

}  // namespace kelvaro
