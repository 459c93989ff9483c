#include "data/CsvReader.h"

#include <cmath>

#include "text/TextFile.h"

namespace brekka {
namespace {

struct Record {
    int Line = 0; // where the record starts
    std::vector<std::string> Fields;
};

const char* const kColumnNames[] = {"Y", "X", "Z"};

bool IsLineEnd(char c) {
    return c == '\r' || c == '\n';
}

bool IsBlank(char c, char separator) {
    return c == ' ' || (c == '\t' && separator != '\t');
}

std::string_view TrimBlanks(std::string_view text, char separator) {
    while (!text.empty() && IsBlank(text.front(), separator)) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back(), separator)) {
        text.remove_suffix(1);
    }
    return text;
}

// The first record with anything but blanks and separators decides; a quote opens
// a quoted field only at the start of a field, as in SplitRecords.
char DetectSeparator(std::string_view text) {
    bool tab = false;
    bool semicolon = false;
    bool comma = false;
    bool content = false;
    bool quoted = false;
    bool fieldStart = true;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"') {
                if (i + 1 < text.size() && text[i + 1] == '"') {
                    ++i;
                } else {
                    quoted = false;
                }
            }
            continue;
        }
        if (c == '\t' || c == ';' || c == ',') {
            tab = tab || c == '\t';
            semicolon = semicolon || c == ';';
            comma = comma || c == ',';
            fieldStart = true;
        } else if (IsLineEnd(c)) {
            if (content) {
                break;
            }
            tab = semicolon = comma = false;
            fieldStart = true;
        } else if (c == '"' && fieldStart) {
            quoted = true;
            content = true;
        } else if (c != ' ') {
            content = true;
            fieldStart = false;
        }
    }
    return tab ? '\t' : semicolon ? ';' : ',';
}

bool AllEmpty(const Record& record) {
    for (const std::string& field : record.Fields) {
        if (!field.empty()) {
            return false;
        }
    }
    return true;
}

// Skips one line end (CR LF, LF or CR) at `i`, if there is one.
bool SkipLineEnd(std::string_view text, size_t& i) {
    if (i < text.size() && text[i] == '\r') {
        ++i;
        if (i < text.size() && text[i] == '\n') {
            ++i;
        }
        return true;
    }
    if (i < text.size() && text[i] == '\n') {
        ++i;
        return true;
    }
    return false;
}

// The records that are not empty; false (with the line and the sentence) when a
// quoted field is not closed or text follows its closing quote.
bool SplitRecords(std::string_view text, char separator, std::vector<Record>& records,
                  CsvResult& result) {
    const size_t n = text.size();
    size_t i = 0;
    int line = 1;
    while (i < n) {
        Record record;
        record.Line = line;
        for (;;) {
            while (i < n && IsBlank(text[i], separator)) {
                ++i;
            }
            std::string field;
            if (i < n && text[i] == '"') {
                const int openLine = line;
                ++i;
                for (;;) {
                    if (i >= n) {
                        result.ErrorLine = openLine;
                        result.Error = "line " + std::to_string(openLine) +
                                       " opens a quoted field that is never closed.";
                        return false;
                    }
                    if (text[i] == '"') {
                        if (i + 1 < n && text[i + 1] == '"') {
                            field += '"';
                            i += 2;
                            continue;
                        }
                        ++i;
                        break;
                    }
                    const size_t start = i;
                    if (SkipLineEnd(text, i)) {
                        field.append(text.substr(start, i - start));
                        ++line;
                        continue;
                    }
                    field += text[i++];
                }
                while (i < n && IsBlank(text[i], separator)) {
                    ++i;
                }
                if (i < n && text[i] != separator && !IsLineEnd(text[i])) {
                    result.ErrorLine = line;
                    result.Error = "line " + std::to_string(line) +
                                   " has text after the closing quote of a field.";
                    return false;
                }
                // Blanks inside the quotes are dropped as well, tabs included.
                field = std::string(TrimBlanks(field, '\0'));
            } else {
                const size_t start = i;
                while (i < n && text[i] != separator && !IsLineEnd(text[i])) {
                    ++i;
                }
                field = std::string(TrimBlanks(text.substr(start, i - start), separator));
            }
            record.Fields.push_back(std::move(field));
            if (i < n && text[i] == separator) {
                ++i;
                continue;
            }
            break;
        }
        SkipLineEnd(text, i);
        ++line;
        if (!AllEmpty(record)) {
            records.push_back(std::move(record));
        }
    }
    return true;
}

bool HasChar(const std::string& text, char c) {
    return text.find(c) != std::string::npos;
}

// The form ParseReal accepts, whatever the magnitude; its exponent's sign in `sign`.
bool HasNumberForm(const std::string& text, char& sign) {
    return HasRealForm(text, &sign);
}

// A field as a message quotes it: control characters as blanks, a long text cut
// (never inside a UTF-8 character).
std::string Quoted(const std::string& text) {
    constexpr size_t kShown = 24;
    std::string shown;
    for (char c : text) {
        shown += static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
    }
    if (shown.size() > kShown) {
        size_t cut = kShown;
        while (cut > 0 && (static_cast<unsigned char>(shown[cut]) & 0xC0) == 0x80) {
            --cut;
        }
        shown = shown.substr(0, cut) + "...";
    }
    return "\"" + shown + "\"";
}

// Whether a field of the first record reads as a number, so that the record is
// data rather than a header; its magnitude is judged with the data.
bool IsNumber(const std::string& text, char separator) {
    char ignored = '+';
    if (HasNumberForm(text, ignored)) {
        return true;
    }
    if (separator == ',' || HasChar(text, '.')) {
        return false;
    }
    std::string number = text;
    for (char& c : number) {
        if (c == ',') {
            c = '.';
        }
    }
    return HasNumberForm(number, ignored);
}

struct FileRules {
    char Separator = ',';
    char Decimal = '.';
    int CommaLine = 0; // the first data line with a decimal comma
};

// What is wrong with one data field, as the end of a sentence; empty when its
// number is in `value`.
std::string FieldProblem(const std::string& text, const FileRules& rules, double& value) {
    if (text.empty()) {
        return " is empty.";
    }
    const std::string shown = ": " + Quoted(text);
    if (rules.Decimal == ',' && HasChar(text, '.')) {
        return shown +
               " has a decimal point, but the numbers of this file have decimal commas "
               "(line " +
               std::to_string(rules.CommaLine) + ").";
    }
    if (rules.Decimal == '.' && HasChar(text, ',')) {
        return shown + " is not a number (in a comma-separated file the decimal separator is "
                       "the point).";
    }
    std::string number = text;
    for (char& c : number) {
        if (c == ',') {
            c = '.';
        }
    }
    char exponentSign = '+';
    if (!ParseReal(number, value)) {
        if (!HasNumberForm(number, exponentSign)) {
            return shown + " is not a number.";
        }
        return exponentSign == '-' ? shown + " is too close to zero to be held as a number."
                                   : shown + " is beyond 1E150 in magnitude.";
    }
    if (!(std::fabs(value) <= kLargestColumnValue)) {
        return shown + " is beyond 1E150 in magnitude.";
    }
    return std::string();
}

std::string ColumnsText(size_t count) {
    return std::to_string(count) + (count == 1 ? " column" : " columns");
}

CsvResult Refuse(CsvResult result, int line, std::string error) {
    result.ErrorLine = line;
    result.Error = std::move(error);
    return result;
}

} // namespace

CsvResult ReadCsvText(std::string_view text) {
    CsvResult result;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") {
        text.remove_prefix(3);
    }
    if (text.substr(0, 2) == "\xFF\xFE" || text.substr(0, 2) == "\xFE\xFF") {
        return Refuse(result, 0,
                      "it is UTF-16 text; please save it as CSV (UTF-8 or plain) or as text "
                      "with tabs.");
    }
    FileRules rules;
    rules.Separator = DetectSeparator(text);
    std::vector<Record> records;
    if (!SplitRecords(text, rules.Separator, records, result)) {
        return result;
    }
    if (records.empty()) {
        return Refuse(result, 0, "it holds no data.");
    }

    const Record& first = records.front();
    const size_t columns = first.Fields.size();
    if (columns != 2 && columns != 3) {
        return Refuse(result, first.Line,
                      "line " + std::to_string(first.Line) + " has " + ColumnsText(columns) +
                          "; there can be 2 (Y and X) or 3 (Y, X and Z).");
    }
    bool header = false;
    for (const std::string& field : first.Fields) {
        header = header || !IsNumber(field, rules.Separator);
    }
    const size_t firstData = header ? 1 : 0;
    if (rules.Separator != ',') {
        for (size_t r = firstData; r < records.size() && rules.CommaLine == 0; ++r) {
            for (const std::string& field : records[r].Fields) {
                if (HasChar(field, ',')) {
                    rules.Decimal = ',';
                    rules.CommaLine = records[r].Line;
                    break;
                }
            }
        }
    }

    CsvTable& table = result.Table;
    std::vector<double>* targets[] = {&table.Y, &table.X, &table.Z};
    for (size_t r = firstData; r < records.size(); ++r) {
        const Record& record = records[r];
        const std::string line = "line " + std::to_string(record.Line);
        if (record.Fields.size() != columns) {
            return Refuse(result, record.Line,
                          line + " has " + ColumnsText(record.Fields.size()) + ", line " +
                              std::to_string(first.Line) + " has " + std::to_string(columns) + ".");
        }
        for (size_t c = 0; c < columns; ++c) {
            double value = 0;
            const std::string problem = FieldProblem(record.Fields[c], rules, value);
            if (!problem.empty()) {
                return Refuse(result, record.Line,
                              line + ", column " + std::to_string(c + 1) + " (" + kColumnNames[c] +
                                  ")" + problem);
            }
            targets[c]->push_back(value);
        }
    }
    const size_t rows = table.Y.size();
    if (rows < static_cast<size_t>(kFewestColumnRows)) {
        const std::string held = rows == 0   ? "no data rows"
                                 : rows == 1 ? "only 1 data row"
                                             : "only " + std::to_string(rows) + " data rows";
        return Refuse(result, 0,
                      "it holds " + held + "; at least " + std::to_string(kFewestColumnRows) +
                          " are needed.");
    }
    table.Separator = rules.Separator;
    table.DecimalSeparator = rules.Decimal;
    table.Columns = static_cast<int>(columns);
    if (header) {
        table.Header = first.Fields;
    }
    result.Ok = true;
    return result;
}

} // namespace brekka
