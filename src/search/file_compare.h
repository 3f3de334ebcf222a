#pragma once
// How a file's size or age (left) is compared with a rule's criterion (right).
#include <cstdint>

namespace kelvaro {

enum TFileCompType : std::uint8_t {
    fctNone,
    fctEqual,
    fctGreaterThan,
    fctLessThan,
    fctGreaterThanOrEqual,
    fctLessThanOrEqual,
};

// 64-bit on both sides: a file of 4 GiB + 1 byte must not pass "< 10 Bytes" by its low 32 bits.
constexpr bool PassesComparison(std::int64_t fileValue, TFileCompType comparison, std::int64_t criterion) {
    switch (comparison) {
        case fctEqual:
            return fileValue == criterion;
        case fctGreaterThan:
            return fileValue > criterion;
        case fctLessThan:
            return fileValue < criterion;
        case fctGreaterThanOrEqual:
            return fileValue >= criterion;
        case fctLessThanOrEqual:
            return fileValue <= criterion;
        case fctNone:
            break;
    }
    return true;
}

}  // namespace kelvaro
