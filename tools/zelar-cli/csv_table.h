#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zelar::cli {

using CsvRow = std::vector<std::string>;

struct CsvTable {
    std::vector<CsvRow> rows;
    std::string error;  // set when the text is no table; `rows` is empty then
};

// Comma-separated rows as spreadsheets save them: a field in double quotes may hold the
// separator, line breaks and doubled quotes; lines end with LF or CR LF; blank lines and a
// leading UTF-8 byte-order mark are skipped. A first line with semicolons and no comma makes
// the semicolon the separator, as spreadsheets in a Russian locale write it.
CsvTable parseCsv(std::string_view text);

// The field as a spreadsheet may be given it: one that starts with =, +, -, @, a tab or a CR
// would be taken for a formula, so it gets a leading ' and stays text.
std::string spreadsheetText(const std::string& field);

// One line of fields, each quoted when it holds the separator, a quote or a line break.
std::string csvLine(const CsvRow& fields);

}  // namespace zelar::cli
