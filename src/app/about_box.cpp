#include "app/about_box.h"

namespace kelvaro {

std::string MemoryFigureText(std::uint64_t totalBytes) {
    const std::string digits = std::to_string(totalBytes / 1024);
    const std::size_t head = digits.size() > 3 ? digits.size() - 3 : 0;
    return digits.substr(0, head) + "," + digits.substr(head) + " KB";
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
