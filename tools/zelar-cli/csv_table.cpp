#include "csv_table.h"

namespace zelar::cli {

namespace {

char separatorOf(std::string_view text) {
    const std::string_view first = text.substr(0, text.find('\n'));
    return first.find(';') != std::string_view::npos && first.find(',') == std::string_view::npos
               ? ';'
               : ',';
}

// Reads the fields of one table from the text, character by character.
class CsvReader {
  public:
    CsvReader(std::string_view text, char separator) : text_(text), separator_(separator) {}

    CsvTable read() {
        while (at_ < text_.size()) {
            if (!readField())
                return {{}, "line " + std::to_string(line_) + ": " + error_};
        }
        endRow();
        return {std::move(rows_), {}};
    }

  private:
    // One field and the character that ends it; false for a misplaced quote.
    bool readField() {
        std::string field;
        if (text_[at_] == '"') {
            if (!readQuoted(field))
                return false;
        } else {
            while (at_ < text_.size() && !endsField(text_[at_])) {
                if (text_[at_] == '"')
                    return fail("a quote inside a field that does not start with one");
                field += text_[at_++];
            }
        }
        row_.push_back(std::move(field));
        if (at_ == text_.size())
            return true;
        if (text_[at_] == separator_) {
            if (++at_ == text_.size())
                row_.emplace_back();
            return true;
        }
        // A line break: CR LF, LF or a lone CR.
        if (text_[at_] == '\r')
            ++at_;
        if (at_ < text_.size() && text_[at_] == '\n')
            ++at_;
        endRow();
        ++line_;
        return true;
    }

    bool readQuoted(std::string& field) {
        for (++at_; at_ < text_.size(); ++at_) {
            if (text_[at_] == '\n')
                ++line_;
            if (text_[at_] != '"') {
                field += text_[at_];
            } else if (at_ + 1 < text_.size() && text_[at_ + 1] == '"') {
                field += text_[++at_];
            } else {
                ++at_;
                return at_ == text_.size() || endsField(text_[at_]) ||
                       fail("text after the closing quote of a field");
            }
        }
        return fail("a quote that is never closed");
    }

    bool endsField(char c) const { return c == separator_ || c == '\n' || c == '\r'; }

    void endRow() {
        const bool blank = row_.size() == 1 && row_.front().empty();
        if (!row_.empty() && !blank)
            rows_.push_back(std::move(row_));
        row_.clear();
    }

    bool fail(std::string error) {
        error_ = std::move(error);
        return false;
    }

    std::string_view text_;
    char separator_;
    std::size_t at_ = 0;
    int line_ = 1;
    CsvRow row_;
    std::vector<CsvRow> rows_;
    std::string error_;
};

}  // namespace

CsvTable parseCsv(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    return CsvReader(text, separatorOf(text)).read();
}

std::string spreadsheetText(const std::string& field) {
    if (!field.empty() &&
        std::string_view("=+-@\t\r").find(field.front()) != std::string_view::npos)
        return "'" + field;
    return field;
}

std::string csvLine(const CsvRow& fields) {
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line += ',';
        const std::string& field = fields[i];
        if (field.find_first_of(",\"\r\n") == std::string::npos) {
            line += field;
            continue;
        }
        line += '"';
        for (const char c : field)
            line += c == '"' ? std::string("\"\"") : std::string(1, c);
        line += '"';
    }
    return line + "\r\n";
}

}  // namespace zelar::cli
