#pragma once
// The figures of the about box, apart from the window that shows them.
#include <cstdint>
#include <string>

namespace kelvaro {

inline constexpr const char* kResourceFunctionMissing = "GetProcAddress16 failure";

// Total physical memory in kilobytes with one comma before the last three digits and no other
// grouping: "32,768 KB", "1048,576 KB". Fewer than four digits still get the comma (",512 KB").
// From 2 GB on, in megabytes in the same form: "24,105 MB".
std::string MemoryFigureText(std::uint64_t totalBytes);

// "42% Free".
std::string ResourceFigureText(unsigned percentFree);

// Share of a quota still free, in whole percent rounded down; 0 when the quota is not positive.
unsigned PercentFree(std::uint64_t used, std::uint64_t quota);

}  // namespace kelvaro
