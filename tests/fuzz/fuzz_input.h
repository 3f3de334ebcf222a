#pragma once
// The fuzzer's bytes as the texts a parser is given: split at NUL bytes into at most count fields.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kelvaro::fuzzing {

inline std::vector<std::string> Fields(const std::uint8_t* data, std::size_t size, std::size_t count) {
    std::vector<std::string> fields(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0 && fields.size() < count)
            fields.emplace_back();
        else
            fields.back() += static_cast<char>(data[i]);
    }
    fields.resize(count);
    return fields;
}

}  // namespace kelvaro::fuzzing
