#pragma once
// The platform's own order of texts: lstrcmpA in the user's locale, case-sensitive, with collation keys
// from LCMapStringA.
#include "widgets/list_rows.h"

namespace kelvaro {

const KeyedCollation& PlatformCollation();

}  // namespace kelvaro
