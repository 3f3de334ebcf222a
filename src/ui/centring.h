#pragma once
// Where a window stands when it is centred over another, apart from any window.

namespace kelvaro {

// The offset of an inner span centred over an outer one. The halving truncates toward zero, so an inner
// span wider than the outer stands out on both sides by the same whole amount.
constexpr int CentredOrigin(int outerOrigin, int outerSize, int innerSize) {
    return outerOrigin + (outerSize - innerSize) / 2;
}

}  // namespace kelvaro
