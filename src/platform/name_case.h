#pragma once
// File names as the platform compares them, letter case ignored. Windows looks a name up without regard
// to case; Wine, on a Linux folder, first tries the exact name and then takes the first entry that
// matches ignoring case. A folder there can hold "Report.tmp" beside "REPORT.tmp": a Win32 path names
// the exact one only while it exists, and its twin once it is gone, so neither can be trusted to be
// the file its path reaches.
#include <cstddef>
#include <string>
#include <string_view>
#include <type_traits>
#include <unordered_map>
#include <vector>

namespace kelvaro {

// The upper-case form a name compares by, with the platform's own case mapping. Windows: wide names as
// the directory search gives them. Both: the program's own 8-bit names (the ANSI code page on Windows,
// UTF-8 in the native build).
std::wstring UpperCaseName(std::wstring_view name);
std::wstring UpperCaseName(std::string_view name);

// For each of count names, whether another of them has the same upper-case form. upperOf(i) gives the
// form of name i.
template <typename UpperOf>
std::vector<bool> FindCaseTwins(std::size_t count, UpperOf upperOf) {
    using Form = std::decay_t<decltype(upperOf(std::size_t{0}))>;
    std::unordered_map<Form, std::size_t> firstWith;
    firstWith.reserve(count);
    std::vector<bool> twin(count, false);
    for (std::size_t i = 0; i < count; ++i) {
        auto [first, added] = firstWith.try_emplace(upperOf(i), i);
        if (!added) twin[i] = twin[first->second] = true;
    }
    return twin;
}

}  // namespace kelvaro
