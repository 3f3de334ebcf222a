// The command line's first argument: found within the line, and automatic mode only for the four forms.
#include <cstdlib>
#include <string>

#include "run/command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string line(reinterpret_cast<const char*>(data), size);
    const std::string first = kelvaro::FirstArgument(line);
    if (first.size() > line.size()) std::abort();
    if (kelvaro::IsAutomaticModeArgument(first) && first != "-a" && first != "-A" && first != "/a" &&
        first != "/A")
        std::abort();
    return 0;
}
