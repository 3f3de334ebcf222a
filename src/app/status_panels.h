#pragma once
// The main window's status bar: the hint of the control under the mouse on the left, the state of
// the search run and the selection's summary on the right.
namespace kelvaro {

inline constexpr int kHintPanel = 0;
inline constexpr int kStatePanel = 1;

}  // namespace kelvaro
