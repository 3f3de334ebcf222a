#pragma once
#include <cstdint>
#include <memory>

namespace kelvaro {

struct LocalDate {
    int year = 0;
    int month = 0;
    int day = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual LocalDate Today() = 0;
    // Milliseconds from an arbitrary start; wraps around. Cheap enough to ask per file.
    virtual std::uint32_t TickCount() = 0;
};

std::unique_ptr<Clock> MakePlatformClock();

}  // namespace kelvaro
