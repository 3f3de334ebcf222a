#include "run/command_line.h"

namespace kelvaro {
namespace {

// Characters above 0x7F are letters of the code page, not separators, so compare unsigned.
bool IsSeparator(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

// Reads the argument that starts at or after at, leaving at just past it.
std::string NextArgument(const std::string& line, std::size_t& at) {
    for (;;) {
        while (at < line.size() && IsSeparator(line[at])) ++at;
        if (line.compare(at, 2, "\"\"") != 0) break;
        at += 2;
    }
    std::string argument;
    while (at < line.size() && !IsSeparator(line[at])) {
        if (line[at] != '"') {
            argument += line[at++];
            continue;
        }
        std::size_t close = line.find('"', at + 1);
        if (close == std::string::npos) close = line.size();
        argument.append(line, at + 1, close - at - 1);
        at = close < line.size() ? close + 1 : close;
    }
    return argument;
}

}  // namespace

std::string FirstArgument(const std::string& commandLine) {
    // The line may hold a NUL when it was built by hand; the process never sees past one.
    std::string line = commandLine.substr(0, commandLine.find('\0'));
    std::size_t at = 0;
    NextArgument(line, at);  // the program's name
    return NextArgument(line, at);
}

bool IsAutomaticModeArgument(const std::string& argument) {
    return argument == "-a" || argument == "-A" || argument == "/a" || argument == "/A";
}

}  // namespace kelvaro
