#include "data/GridText.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "text/TextFile.h"

namespace brekka {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsLineEnd(char c) {
    return c == '\r' || c == '\n';
}

// Splits at CR LF, LF or CR; a last line without a line end counts as a line.
std::vector<std::string> PastedLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string current;
    bool open = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (IsLineEnd(c)) {
            lines.push_back(current);
            current.clear();
            open = false;
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
        } else {
            current += c;
            open = true;
        }
    }
    if (open) {
        lines.push_back(current);
    }
    return lines;
}

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields(1);
    for (char c : line) {
        if (c == '\t') {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

// A comma at `pos` is a thousands separator when exactly three digits follow it
// and the group ends there (end, point, or another comma).
bool IsThousandsComma(const std::string& text, size_t pos) {
    size_t digits = 0;
    size_t i = pos + 1;
    while (i < text.size() && IsDigit(text[i])) {
        ++digits;
        ++i;
    }
    const bool groupEnds =
        i == text.size() || text[i] == '.' || text[i] == ',' || text[i] == 'e' || text[i] == 'E';
    return digits == 3 && groupEnds && pos > 0 && IsDigit(text[pos - 1]);
}

const char* ColumnName(int column) {
    switch (column) {
    case 1:
        return "Y";
    case 2:
        return "X";
    default:
        return "Z";
    }
}

} // namespace

std::string& GridTexts::At(int row, int column) {
    if (static_cast<int>(Rows.size()) < row) {
        Rows.resize(static_cast<size_t>(row));
    }
    auto& cells = Rows[static_cast<size_t>(row - 1)];
    if (static_cast<int>(cells.size()) < column) {
        cells.resize(static_cast<size_t>(column));
    }
    return cells[static_cast<size_t>(column - 1)];
}

std::string GridTexts::Get(int row, int column) const {
    if (row < 1 || row > static_cast<int>(Rows.size())) {
        return std::string();
    }
    const auto& cells = Rows[static_cast<size_t>(row - 1)];
    if (column < 1 || column > static_cast<int>(cells.size())) {
        return std::string();
    }
    return cells[static_cast<size_t>(column - 1)];
}

bool CleanPastedValue(const std::string& field, char separator, std::string& cell) {
    std::string text;
    for (char c : field) {
        if (c != ' ' && c != '\xA0') {
            text += c;
        }
    }
    const bool hasComma = text.find(',') != std::string::npos;
    cell.clear();
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (IsDigit(c) || c == '-') {
            cell += c;
        } else if (c == separator) {
            cell += c;
        } else if (c == ',') {
            // The point is the separator here: a comma can only group thousands.
            if (!IsThousandsComma(text, i)) {
                return false;
            }
        } else if (c == '.') {
            // The comma is the separator here: a point beside a comma groups
            // thousands; alone it is a decimal point the conversion accepts.
            if (!hasComma) {
                cell += c;
            }
        } else if ((c == 'e' || c == 'E') && !cell.empty() &&
                   (IsDigit(cell.back()) || cell.back() == separator || cell.back() == '.')) {
            size_t next = i + 1;
            if (next < text.size() && (text[next] == '+' || text[next] == '-')) {
                ++next;
            }
            if (next < text.size() && IsDigit(text[next])) {
                cell += 'E';
                if (text[i + 1] == '-') {
                    cell += '-';
                }
                i = next - 1;
            }
        }
    }
    return true;
}

PasteResult PasteText(GridTexts& grid, int startColumn, int startRow, const std::string& text,
                      char separator) {
    PasteResult result;
    const std::vector<std::string> lines = PastedLines(text);
    std::vector<std::vector<std::string>> cells;
    for (const std::string& line : lines) {
        cells.emplace_back();
        for (const std::string& field : Fields(line)) {
            std::string cell;
            if (!CleanPastedValue(field, separator, cell)) {
                return result;
            }
            cells.back().push_back(cell);
        }
    }
    // A text of one line end still empties the start cell, as the walk begins there.
    if (cells.empty()) {
        cells.emplace_back(1);
    }
    for (size_t r = 0; r < cells.size(); ++r) {
        for (size_t c = 0; c < cells[r].size(); ++c) {
            const int column = startColumn + static_cast<int>(c);
            if (column <= grid.Columns) {
                grid.At(startRow + static_cast<int>(r), column) = cells[r][c];
            }
        }
    }
    result.Accepted = true;
    result.NrOfData = startRow - 1 + static_cast<int>(lines.size());
    return result;
}

namespace {

// Converts the value cells of one row into `v` (Y, X, Z); an empty cell keeps 0
// when `skipEmpty`. On failure the row and column are kept in `values`.
bool ConvertRow(const GridTexts& grid, int row, int nrOfVar, const TDMBrekka& data,
                RunSettings& settings, bool skipEmpty, double (&v)[3], GridValues& values) {
    for (int column = 1; column <= nrOfVar + 1; ++column) {
        const std::string text = grid.Get(row, column);
        if (skipEmpty && text.find_first_not_of(" \t") == std::string::npos) {
            continue;
        }
        if (!data.StringToFloat(text, v[column - 1], settings)) {
            values.BadRow = row;
            values.BadColumn = column;
            return false;
        }
    }
    return true;
}

} // namespace

bool ConvertAllRows(const GridTexts& grid, int rows, int nrOfVar, const TDMBrekka& data,
                    RunSettings& settings, bool skipEmpty, GridValues& values) {
    GridValues converted;
    for (int row = 1; row <= rows; ++row) {
        double v[3] = {0, 0, 0};
        if (!ConvertRow(grid, row, nrOfVar, data, settings, skipEmpty, v, values)) {
            return false;
        }
        converted.Y.push_back(v[0]);
        converted.X.push_back(v[1]);
        converted.Z.push_back(v[2]);
    }
    values = std::move(converted);
    return true;
}

bool ConvertCompleteRows(const GridTexts& grid, int rows, int nrOfVar, const TDMBrekka& data,
                         RunSettings& settings, GridValues& values) {
    GridValues converted;
    for (int row = 1; row <= rows; ++row) {
        bool complete = true;
        for (int column = 1; column <= nrOfVar + 1; ++column) {
            complete = complete && !grid.Get(row, column).empty();
        }
        if (!complete) {
            ++converted.NrLeftOut;
            continue;
        }
        double v[3] = {0, 0, 0};
        if (!ConvertRow(grid, row, nrOfVar, data, settings, false, v, values)) {
            return false;
        }
        converted.Y.push_back(v[0]);
        converted.X.push_back(v[1]);
        converted.Z.push_back(v[2]);
    }
    values = std::move(converted);
    return true;
}

std::string GridNumberText(double value, char separator) {
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    std::string text(buffer, result.ptr);
    int digits = 0;
    bool started = false;
    for (char c : text) {
        if (c == 'e') {
            break;
        }
        started = started || (c >= '1' && c <= '9');
        digits += started && IsDigit(c) ? 1 : 0;
    }
    if (digits > 15) {
        // Rounded to 15 digits, the values next to the largest double pass it and
        // could not be converted back; the nearest digits towards zero can.
        double near = value;
        double parsed = 0;
        do {
            std::snprintf(buffer, sizeof buffer, "%.15g", near);
            near = std::nextafter(near, 0.0);
        } while (!ParseReal(buffer, parsed));
        text = buffer;
    }
    for (char& c : text) {
        if (c == '.') {
            c = separator;
        } else if (c == 'e') {
            c = 'E';
        }
    }
    return text;
}

std::string NotANumberMessage(int row, int column) {
    return std::string("The value in column ") + ColumnName(column) + " of row " +
           std::to_string(row) +
           " is not a number. Please correct it; the number of data was not changed.";
}

} // namespace brekka
