#include "run/result_csv.h"

#include <cstdio>

namespace kelvaro {
namespace {

constexpr const char* kHeader = "Name,Ext,Location,Size,Last Written,Rule Location,Rule File Specs\r\n";

void AppendField(std::string& line, const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        line += text;
        return;
    }
    line += '"';
    for (char c : text) {
        if (c == '"') line += '"';
        line += c;
    }
    line += '"';
}

std::string Trimmed(const std::string& cell) {
    const auto first = cell.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return cell.substr(first, cell.find_last_not_of(' ') - first + 1);
}

// "YYYY-MM-DD hh:mm:ss": sorts as text in time order, and spreadsheets read it as a date and time.
std::string IsoDateTime(const DosDateTimeParts& t) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour,
                  t.minute, t.second);
    return text;
}

void AppendRow(std::string& csv, const CsvListRow& row) {
    AppendField(csv, row.Name);
    csv += ',';
    AppendField(csv, row.Ext);
    csv += ',';
    AppendField(csv, row.Location);
    csv += ',';
    csv += std::to_string(row.Size);  // plain digits: a grouped "1,234" would split the field
    csv += ',';
    csv += IsoDateTime(row.Written);
    csv += ',';
    AppendField(csv, Trimmed(row.RuleLocation));
    csv += ',';
    AppendField(csv, Trimmed(row.RuleFileSpecs));
    csv += "\r\n";
}

}  // namespace

std::string ResultListCsv(int rowCount, const std::vector<int>& selectedRows,
                          const std::function<CsvListRow(int row)>& rowAt) {
    std::string csv = kHeader;
    if (selectedRows.empty())
        for (int row = 0; row < rowCount; ++row) AppendRow(csv, rowAt(row));
    else
        for (int row : selectedRows) AppendRow(csv, rowAt(row));
    return csv;
}

}  // namespace kelvaro
