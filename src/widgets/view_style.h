#pragma once
// The four ways a list view shows its rows, named apart from the control so that portable code can keep one.

namespace kelvaro {

enum class ViewStyle { Report, List, SmallIcons, LargeIcons };

}  // namespace kelvaro
