#include "provision/provision_values.h"

#include <algorithm>
#include <set>

#include "text/cp1251.h"

namespace zelar::cli {

namespace {

constexpr std::string_view kPortName = "PORT";

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string checkColumns(const CsvRow& columns) {
    std::set<std::string> seen;
    for (const std::string& name : columns) {
        if (name.empty())
            return "a column without a name in the first row";
        if (name == kPortName)
            return "a column named PORT: ${PORT} is always the port";
        if (!seen.insert(name).second)
            return "the column " + name + " is named twice";
    }
    return {};
}

// The value that a name stands for; an error when it has none.
Substitution valueOf(const std::string& name, const std::string& port,
                     const ProvisionValues* values, const CsvRow* row) {
    if (name == kPortName)
        return {port, {}};
    if (!values)
        return {{}, "the script uses ${" + name + "}, but no values file gives it"};
    const auto column = std::find(values->columns.begin(), values->columns.end(), name);
    if (column == values->columns.end())
        return {{},
                "the script uses ${" + name +
                    "}, which is neither PORT nor a column of the values file"};
    if (!row)
        return {{}, "the values file has no row for " + port + " nor for its serial number"};
    const std::string& value = (*row)[static_cast<std::size_t>(column - values->columns.begin())];
    if (value.find_first_of("\r\n") != std::string::npos)
        return {{}, "the value of " + name + " for " + port + " holds a line break"};
    return {value, {}};
}

// Follows the script's words as the script parser splits them, to tell whether a value put in
// at the current point lands inside double quotes.
class QuoteTracker {
  public:
    void pass(std::string_view text) {
        for (const char c : text)
            step(c);
    }
    // A value as placed: inside quotes it stays there whole; outside, it holds no quote.
    void passValue(const std::string& value) {
        if (state_ == State::Quoted)
            escaped_ = false;
        else
            pass(value);
    }
    bool quoted() const { return state_ == State::Quoted; }

  private:
    enum class State { Between, Word, Quoted };

    void step(char c) {
        if (c == '\n') {
            state_ = State::Between;
            escaped_ = false;
        } else if (state_ == State::Quoted) {
            // \" and \\ stand for one character; a lone " closes the word.
            if (escaped_)
                escaped_ = false;
            else if (c == '\\')
                escaped_ = true;
            else if (c == '"')
                state_ = State::Between;
        } else if (c == ' ' || c == '\t') {
            state_ = State::Between;
        } else if (state_ == State::Between) {
            state_ = c == '"' ? State::Quoted : State::Word;
        }
    }

    State state_ = State::Between;
    bool escaped_ = false;  // a backslash inside quotes, waiting for the character it escapes
};

// The value as the script parser must see it to give it back whole: inside quotes with its "
// and \ escaped; outside quotes a " would start or end a quoted word, so it is refused.
Substitution placedValue(const std::string& name, const std::string& port, std::string value,
                         bool quoted) {
    if (!quoted) {
        if (value.find('"') != std::string::npos)
            return {{},
                    "the value of " + name + " for " + port + " holds a \": write \"${" + name +
                        "}\" in the script"};
        return {std::move(value), {}};
    }
    std::string escaped;
    for (const char c : value) {
        if (c == '"' || c == '\\')
            escaped += '\\';
        escaped += c;
    }
    return {std::move(escaped), {}};
}

}  // namespace

ValuesLoad parseValues(std::string_view bytes) {
    CsvTable table = parseCsv(fileTextToUtf8(bytes));
    if (!table.error.empty())
        return {std::nullopt, table.error};
    if (table.rows.empty())
        return {std::nullopt, "no column names in the first row"};
    ProvisionValues values{std::move(table.rows.front()), {}};
    if (std::string error = checkColumns(values.columns); !error.empty())
        return {std::nullopt, error};
    std::set<std::string> keys;
    for (std::size_t i = 1; i < table.rows.size(); ++i) {
        CsvRow& row = table.rows[i];
        const std::string where = "row " + std::to_string(i + 1) + ": ";
        if (row.size() != values.columns.size())
            return {std::nullopt, where + std::to_string(row.size()) + " fields for " +
                                      std::to_string(values.columns.size()) + " columns"};
        row.front() = trimmed(row.front());
        if (row.front().empty() || !keys.insert(row.front()).second)
            return {std::nullopt, where + "its key '" + row.front() + "' is empty or given twice"};
        values.rows.push_back(std::move(row));
    }
    return {std::move(values), {}};
}

const CsvRow* findValuesRow(const ProvisionValues& values, const std::string& port,
                            const std::string& serial) {
    for (const std::string& key : {port, serial}) {
        const auto row = std::find_if(values.rows.begin(), values.rows.end(), [&](const CsvRow& r) {
            return !key.empty() && r.front() == key;
        });
        if (row != values.rows.end())
            return &*row;
    }
    return nullptr;
}

Substitution substituteValues(std::string_view script, const std::string& port,
                              const ProvisionValues* values, const CsvRow* row) {
    Substitution result;
    QuoteTracker quotes;
    for (std::size_t at = 0; at < script.size();) {
        const auto open = script.find("${", at);
        result.text += script.substr(at, open - at);
        quotes.pass(script.substr(at, open - at));
        if (open == std::string_view::npos)
            break;
        const auto close = script.find('}', open);
        if (close == std::string_view::npos ||
            script.substr(open, close - open).find('\n') != std::string_view::npos)
            return {{}, "the script has a ${ without its }"};
        const std::string name(script.substr(open + 2, close - open - 2));
        Substitution value = valueOf(name, port, values, row);
        if (value.error.empty())
            value = placedValue(name, port, std::move(value.text), quotes.quoted());
        if (!value.error.empty())
            return value;
        quotes.passValue(value.text);
        result.text += value.text;
        at = close + 1;
    }
    return result;
}

std::string scriptNamesProblem(std::string_view script, const ProvisionValues* values) {
    // Any row serves: the names and braces are what is checked, not the values.
    const CsvRow sample(values ? values->columns.size() : 0);
    return substituteValues(script, "COM1", values, values ? &sample : nullptr).error;
}

}  // namespace zelar::cli
