#include <windows.h>

#include "platform/clock.h"

namespace kelvaro {
namespace {

class Win32Clock : public Clock {
public:
    LocalDate Today() override {
        SYSTEMTIME now;
        GetLocalTime(&now);
        return {now.wYear, now.wMonth, now.wDay};
    }
    std::uint32_t TickCount() override { return GetTickCount(); }
};

}  // namespace

std::unique_ptr<Clock> MakePlatformClock() {
    return std::make_unique<Win32Clock>();
}

}  // namespace kelvaro
