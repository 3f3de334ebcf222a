#pragma once
// A POSIX file time in the form the program keeps: 100-nanosecond steps since 1601, UTC.
#include <cstdint>
#include <ctime>

namespace kelvaro {

inline std::uint64_t FileTimeOf(const timespec& time) {
    constexpr std::int64_t kSecondsFrom1601To1970 = 11'644'473'600;
    const std::int64_t seconds = static_cast<std::int64_t>(time.tv_sec) + kSecondsFrom1601To1970;
    return seconds < 0 ? 0 : static_cast<std::uint64_t>(seconds) * 10'000'000 + time.tv_nsec / 100;
}

}  // namespace kelvaro
