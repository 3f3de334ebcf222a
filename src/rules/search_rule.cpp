#include "rules/search_rule.h"

#include <cstdint>

#include "base/errors.h"
#include "base/integer_text.h"
#include "search/file_scan.h"

namespace kelvaro {

namespace {

constexpr std::array<TFileCompType, 6> kKinds = {
    fctEqual, fctGreaterThan, fctGreaterThanOrEqual, fctLessThan, fctLessThanOrEqual, fctNone,
};
constexpr std::array<const char*, 6> kPrefixes = {"= ", "> ", ">=", "< ", "<=", ""};

const char kYes[] = "Yes";

std::string FlagCell(bool value) {
    return value ? kYes : " ";
}

bool Contains(const std::string& text, const char* part) {
    return text.find(part) != std::string::npos;
}

void EraseFirst(std::string& text, const std::string& part) {
    const std::size_t at = text.find(part);
    if (at != std::string::npos) text.erase(at, part.size());
}

// The comparison of an age or size cell; rest is the cell without its first two characters.
struct Criterion {
    TFileCompType kind = fctNone;
    std::string rest;
};

Criterion DecodeCriterion(const std::string& cell) {
    Criterion criterion;
    // Tested in this order and the last match wins: ">=" followed by " 7" is read as "= " and equal.
    if (Contains(cell, "< ")) criterion.kind = fctLessThan;
    if (Contains(cell, "<=")) criterion.kind = fctLessThanOrEqual;
    if (Contains(cell, "> ")) criterion.kind = fctGreaterThan;
    if (Contains(cell, ">=")) criterion.kind = fctGreaterThanOrEqual;
    if (Contains(cell, "= ")) criterion.kind = fctEqual;
    criterion.rest = cell.size() > 2 ? cell.substr(2) : std::string();
    return criterion;
}

std::int32_t AgeDays(std::string rest) {
    EraseFirst(rest, " Days");
    return StrToInt(rest);
}

// Case-sensitive: a unit in other letters stays in the text and makes the number fail to convert.
bool IsKiloBytes(const std::string& rest) {
    return Contains(rest, "KBytes");
}

// The number of a size cell as it stands, once its unit is removed.
std::string SizeText(std::string rest, bool kilo) {
    EraseFirst(rest, kilo ? " KBytes" : " Bytes");
    return rest;
}

std::int32_t SizeNumber(const std::string& rest, bool kilo) {
    return StrToInt(SizeText(rest, kilo));
}

// A criterion in bytes must fit the same 32 bits as every other number of a rule: a thousand-fold
// product that wrapped would turn "> 4294968 KBytes" into a small or negative size.
std::int32_t SizeBytes(const std::string& rest, bool kilo) {
    const std::string text = SizeText(rest, kilo);
    const std::int64_t bytes = std::int64_t{StrToInt(text)} * (kilo ? 1000 : 1);
    if (bytes < INT32_MIN || bytes > INT32_MAX)
        throw EConvertError("'" + text + "' is not a valid integer value");
    return static_cast<std::int32_t>(bytes);
}

}  // namespace

TFileCompType ComparisonKind(int position) {
    return position >= 0 && position < kNoComparisonPosition ? kKinds[position] : fctNone;
}

int ComparisonPosition(TFileCompType kind) {
    for (int position = 0; position < kNoComparisonPosition; ++position) {
        if (kKinds[position] == kind) return position;
    }
    return kNoComparisonPosition;
}

std::string ComparisonPrefix(int position) {
    return kPrefixes[ComparisonPosition(ComparisonKind(position))];
}

RuleRow EncodeRule(const RuleValues& values) {
    RuleRow row;
    row.Caption = values.Location;
    row.SubItems[0] = values.FileSpecs;
    row.SubItems[1] = ComparisonKind(values.AgePosition) == fctNone
                          ? "  "
                          : ComparisonPrefix(values.AgePosition) + std::to_string(values.AgeDays) + " Days";
    row.SubItems[2] = ComparisonKind(values.SizePosition) == fctNone
                          ? "  "
                          : ComparisonPrefix(values.SizePosition) + std::to_string(values.SizeNumber) + " " +
                                values.SizeUnit;
    row.SubItems[3] = FlagCell(values.IncludeSubfolders);
    row.SubItems[4] = FlagCell(values.RemovableDrives);
    return row;
}

void DecodeRuleForEditing(const RuleRow& row, RuleValues& values) {
    values.Location = row.Caption;
    values.FileSpecs = row.SubItems[0];
    values.IncludeSubfolders = row.SubItems[3] == kYes;
    values.RemovableDrives = RemovableDriveFlag(row);

    const Criterion age = DecodeCriterion(row.SubItems[1]);
    values.AgePosition = ComparisonPosition(age.kind);
    if (age.kind != fctNone) values.AgeDays = AgeDays(age.rest);

    const Criterion size = DecodeCriterion(row.SubItems[2]);
    values.SizePosition = ComparisonPosition(size.kind);
    if (size.kind != fctNone) {
        // The unit is set before the number is converted, so that the editor shows it even when that fails.
        const bool kilo = IsKiloBytes(size.rest);
        values.SizeUnit = kilo ? "KBytes" : "Bytes";
        values.SizeNumber = SizeNumber(size.rest, kilo);
    }
}

void DecodeRuleForRun(const RuleRow& row, TFileScan& scan) {
    scan.Directory = row.Caption;
    scan.FileSpecs = row.SubItems[0];
    scan.IncSubDir = row.SubItems[3] == kYes;

    const Criterion age = DecodeCriterion(row.SubItems[1]);
    scan.FileAgeComp = age.kind;
    if (age.kind != fctNone) scan.FileAge = AgeDays(age.rest);

    const Criterion size = DecodeCriterion(row.SubItems[2]);
    scan.FileSizeComp = size.kind;
    if (size.kind != fctNone) {
        scan.FileSize = SizeBytes(size.rest, IsKiloBytes(size.rest));
    }
}

bool RemovableDriveFlag(const RuleRow& row) {
    return row.SubItems[4] == kYes;
}

}  // namespace kelvaro
