#include <chrono>
#include <ctime>

#include "platform/clock.h"

namespace kelvaro {
namespace {

class PosixClock : public Clock {
public:
    LocalDate Today() override {
        std::time_t now = std::time(nullptr);
        std::tm local{};
        localtime_r(&now, &local);
        return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
    }
    std::uint32_t TickCount() override {
        auto elapsed = std::chrono::steady_clock::now().time_since_epoch();
        return static_cast<std::uint32_t>(
            std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
    }
};

}  // namespace

std::unique_ptr<Clock> MakePlatformClock() {
    return std::make_unique<PosixClock>();
}

}  // namespace kelvaro
