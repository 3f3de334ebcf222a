#include "rules/search_rule.h"

#include <cstdint>
#include <optional>
#include <string_view>

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

// The number of a size cell, once its unit is removed.
std::int32_t SizeNumber(std::string rest, bool kilo) {
    EraseFirst(rest, kilo ? " KBytes" : " Bytes");
    return StrToInt(rest);
}

// A criterion in bytes must fit the same 32 bits as every other number of a rule: a thousand-fold
// product that wrapped would turn "> 4294968 KBytes" into a small or negative size.
std::int32_t SizeBytes(std::int32_t number, bool kilo) {
    const std::int64_t bytes = std::int64_t{number} * (kilo ? 1000 : 1);
    if (bytes > INT32_MAX)
        throw EConvertError("'" + std::to_string(number) + "' is not a valid integer value");
    return static_cast<std::int32_t>(bytes);
}

// An age or size criterion as a run uses it.
struct RunCriterion {
    TFileCompType kind = fctNone;
    std::int32_t number = 0;
    bool kilo = false;
};

bool EndsWith(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

// The digits the editor writes for a number of 0 or more: no sign, no leading zero, no blank.
std::optional<std::int32_t> WrittenNumber(std::string_view digits) {
    if (digits.empty() || digits.size() > 10 || (digits.size() > 1 && digits[0] == '0')) return std::nullopt;
    std::int64_t value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value > INT32_MAX) return std::nullopt;
    return static_cast<std::int32_t>(value);
}

// A run reads only what the editor writes: prefix, number and unit exactly, or one of the texts that
// mean no criterion. A cell the editor's own reading would take for "none" ("30 Days", ">30 Days") must
// not turn "older than 30 days" into "every file". nullopt for any other text.
std::optional<RunCriterion> ReadWrittenCriterion(const std::string& cell, bool isSize) {
    if (cell.empty() || cell == " " || cell == "  ") return RunCriterion{};
    RunCriterion criterion;
    for (int position = 0; position < kNoComparisonPosition; ++position) {
        if (cell.compare(0, 2, kPrefixes[position]) == 0) criterion.kind = kKinds[position];
    }
    if (criterion.kind == fctNone) return std::nullopt;
    std::string_view rest = std::string_view(cell).substr(2);
    std::string_view unit = " Days";
    if (isSize) {
        criterion.kilo = EndsWith(rest, " KBytes");
        unit = criterion.kilo ? " KBytes" : " Bytes";
    }
    if (!EndsWith(rest, unit)) return std::nullopt;
    const std::optional<std::int32_t> number = WrittenNumber(rest.substr(0, rest.size() - unit.size()));
    if (!number) return std::nullopt;
    criterion.number = *number;
    return criterion;
}

// At most this many characters of a text in an error box, so that a huge cell cannot fill the screen.
constexpr std::size_t kShownLength = 80;

bool IsControl(unsigned char c) {
    // Below the blank, DEL, and the code page's unassigned bytes, which become C1 controls.
    return c < 0x20 || c == 0x7F || c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D;
}

// A text as an error box can show it: control characters as "\xNN" (a zero would end the box's text,
// a line break would disguise it), and a long text cut, with its length.
std::string Shown(const std::string& text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string shown;
    std::size_t taken = 0;
    for (; taken < text.size(); ++taken) {
        const auto c = static_cast<unsigned char>(text[taken]);
        const std::string piece = IsControl(c) ? std::string{'\\', 'x', kHex[c >> 4], kHex[c & 15]}
                                               : std::string(1, static_cast<char>(c));
        if (shown.size() + piece.size() > kShownLength) break;
        shown += piece;
    }
    if (taken < text.size()) shown += "... (" + std::to_string(text.size()) + " characters)";
    return shown;
}

RunCriterion CriterionForRun(const RuleRow& row, int ruleNumber, bool isSize) {
    const std::string& cell = row.SubItems[isSize ? 2 : 1];
    if (std::optional<RunCriterion> criterion = ReadWrittenCriterion(cell, isSize)) return *criterion;
    throw EConvertError("The search stopped at rule " + std::to_string(ruleNumber) + " (folder \"" +
                        Shown(row.Caption) + "\", files \"" + Shown(row.SubItems[0]) + "\"): its " +
                        (isSize ? "File Size" : "File Age") + " \"" + Shown(cell) +
                        "\" is not a criterion Kelvaro can read. Correct the rule in setup mode.");
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

void DecodeRuleForRun(const RuleRow& row, int ruleNumber, TFileScan& scan) {
    // The whole rule is read before the scanner is touched.
    const RunCriterion age = CriterionForRun(row, ruleNumber, false);
    const RunCriterion size = CriterionForRun(row, ruleNumber, true);
    const std::int32_t sizeBytes = size.kind == fctNone ? 0 : SizeBytes(size.number, size.kilo);

    scan.Directory = row.Caption;
    scan.FileSpecs = row.SubItems[0];
    scan.IncSubDir = row.SubItems[3] == kYes;
    scan.FileAgeComp = age.kind;
    if (age.kind != fctNone) scan.FileAge = age.number;
    scan.FileSizeComp = size.kind;
    if (size.kind != fctNone) scan.FileSize = sizeBytes;
}

bool RemovableDriveFlag(const RuleRow& row) {
    return row.SubItems[4] == kYes;
}

}  // namespace kelvaro
