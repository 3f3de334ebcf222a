#include "app/about_box.h"

namespace kelvaro {

std::string MemoryFigureText(std::uint64_t totalBytes) {
    // From 2 GB on, kilobytes no longer fit the box's value column (past its right edge from 10 GB on):
    // megabytes, in the same form, do.
    constexpr std::uint64_t kMegabytesFrom = std::uint64_t{2} << 30;
    const bool megabytes = totalBytes >= kMegabytesFrom;
    const std::string digits = std::to_string(totalBytes / (megabytes ? 1024 * 1024 : 1024));
    const std::size_t head = digits.size() > 3 ? digits.size() - 3 : 0;
    return digits.substr(0, head) + "," + digits.substr(head) + (megabytes ? " MB" : " KB");
}

std::string ResourceFigureText(unsigned percentFree) {
    return std::to_string(percentFree) + "% Free";
}

unsigned PercentFree(std::uint64_t used, std::uint64_t quota) {
    if (quota == 0) return 0;
    if (used >= quota) return 0;
    return static_cast<unsigned>((quota - used) * 100 / quota);
}

}  // namespace kelvaro
