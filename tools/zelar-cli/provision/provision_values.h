#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "csv_table.h"

namespace zelar::cli {

// The per-modem values of a provisioning run: the first row names the columns, the first
// column of every other row is its key, a port name or a modem's serial number.
struct ProvisionValues {
    CsvRow columns;
    std::vector<CsvRow> rows;
};

struct ValuesLoad {
    std::optional<ProvisionValues> values;
    std::string error;  // why the file will not do
};

// Reads the values from a CSV file's bytes (UTF-8 when they are valid UTF-8, else
// Windows-1251): named, distinct columns, every row as wide as the names and each key given once.
ValuesLoad parseValues(std::string_view bytes);

// The modem's row: the one keyed by its port, else the one keyed by its serial number.
const CsvRow* findValuesRow(const ProvisionValues& values, const std::string& port,
                            const std::string& serial);

struct Substitution {
    std::string text;
    std::string error;  // why the script cannot be completed for this modem
};

// The script with every ${PORT} replaced by the port and every ${COLUMN} by the modem's value
// of that column; inside double quotes a value's " and \ are escaped, so that the script reads
// it as it stands. A name that is neither, a column used without a row for the modem, a value
// holding a line break (which would add script lines) or a " outside quotes fails it.
Substitution substituteValues(std::string_view script, const std::string& port,
                              const ProvisionValues* values, const CsvRow* row);

// The first reason why the script cannot be completed for any modem, found before a port is
// opened: a name that is no column, or a ${ without its }.
std::string scriptNamesProblem(std::string_view script, const ProvisionValues* values);

}  // namespace zelar::cli
