#pragma once
// A search rule is nothing but the texts of one row of the setup list: the location as caption and five
// sub-items. These functions turn the rule editor's values into those texts and the texts back into the
// editor's values or into the scanner's criteria.
#include <array>
#include <cstdint>
#include <string>

#include "search/file_compare.h"

namespace kelvaro {

class TFileScan;

struct RuleRow {
    std::string Caption;                  // location
    std::array<std::string, 5> SubItems;  // file specs, age cell, size cell, subfolders flag, removable flag
    int ImageIndex = -1;                  // display only, never saved
};

// The rule editor's values. Positions index the editor's comparison lists (kComparisonEntries).
struct RuleValues {
    std::string Location;
    std::string FileSpecs;
    int AgePosition = 5;
    std::int32_t AgeDays = 0;
    int SizePosition = 5;
    std::int32_t SizeNumber = 0;
    std::string SizeUnit = "Bytes";  // "Bytes" or "KBytes" (thousands of bytes)
    bool IncludeSubfolders = false;
    bool RemovableDrives = false;
};

// The editor's comparison lists, in their sorted order; a position is an index into this table.
inline constexpr std::array<const char*, 6> kComparisonEntries = {
    "Equal to", "Greater than", "Greater than or equal to", "Less than", "Less than or equal to", "None",
};
inline constexpr int kNoComparisonPosition = 5;

// A position outside 0..4 counts as "None".
TFileCompType ComparisonKind(int position);
int ComparisonPosition(TFileCompType kind);
// The two characters that start a cell with this comparison; empty for "None".
std::string ComparisonPrefix(int position);

// Does not replace an empty location; the editor does that before encoding.
RuleRow EncodeRule(const RuleValues& values);

// Fills values field by field, so that after an EConvertError the caller keeps what was decoded before
// the failing number. A number is read only for a criterion other than "None".
void DecodeRuleForEditing(const RuleRow& row, RuleValues& values);

// Sets the scanner's criteria for a run of this rule, the ruleNumber-th from the top (counting from 1).
// With no age or size criterion the scanner's FileAge or FileSize is left as it was. An age or size cell
// must be exactly what the editor writes, or one of "  ", " " and "": anything else throws EConvertError
// with a message that names the rule and the cell. A size whose byte count does not fit 32 bits (more
// than 2,147,483 KBytes) throws EConvertError too. When it throws, the scanner is left as it was.
void DecodeRuleForRun(const RuleRow& row, int ruleNumber, TFileScan& scan);

// Whether shortcuts whose missing target lies on a removable, network, CD-ROM or RAM drive are spared.
bool RemovableDriveFlag(const RuleRow& row);

}  // namespace kelvaro
