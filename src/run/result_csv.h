#pragma once
// The results list as comma-separated text a spreadsheet opens: a header line, then one line per row, each
// line ended by CR LF. Fields holding a comma, a double quote or a line break are quoted, with their
// quotes doubled; the text stays in the program's code page.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "base/date_time.h"

namespace kelvaro {

struct CsvListRow {
    std::string Name, Ext, Location;
    std::uint64_t Size = 0;
    DosDateTimeParts Written{};  // the last write, local time
    // The rule that listed the row, as the setup list shows its cells; blanks around them are dropped.
    std::string RuleLocation, RuleFileSpecs;
};

// The rows given by selectedRows, in that order, or every row from 0 to rowCount - 1 when none is selected.
std::string ResultListCsv(int rowCount, const std::vector<int>& selectedRows,
                          const std::function<CsvListRow(int row)>& rowAt);

}  // namespace kelvaro
