#pragma once
// Columns of numbers as spreadsheets save them (.csv, or text with tabs), read from
// text in memory so that the rules hold without any file:
//
// - Records end at CR LF, LF or CR. A UTF-8 byte-order mark at the start is skipped.
//   A record that is empty, or whose fields are all empty, is skipped.
// - The column separator is the tab when the first record that is not empty holds
//   one outside quotes, else the semicolon, else the comma.
// - A field may be quoted: "..." with "" for a quote inside; a quoted field may hold
//   separators and line ends. Blanks around a field, and inside its quotes, are
//   dropped.
// - The first record is a header when any of its fields is not a number.
// - The decimal separator: with the comma as column separator, the point. With a
//   semicolon or tab, the comma when any data field holds a comma, else the point.
//   One file never has both: the other one could be a thousands separator, so a
//   field with it is refused rather than read wrongly.
// - 2 or 3 columns (Y, X and optionally Z), as many in every record, at least 3
//   data rows, and every value at most 1E150 in magnitude.
#include <string>
#include <string_view>
#include <vector>

namespace brekka {

inline constexpr double kLargestColumnValue = 1e150;
inline constexpr int kFewestColumnRows = 3;

struct CsvTable {
    char Separator = ',';
    char DecimalSeparator = '.';
    int Columns = 0; // 2 or 3
    // The header's fields, trimmed; empty when the first record holds numbers.
    std::vector<std::string> Header;
    std::vector<double> Y;
    std::vector<double> X;
    std::vector<double> Z; // empty with 2 columns
};

struct CsvResult {
    bool Ok = false;
    CsvTable Table;
    // The line (from 1) the refusal is about; 0 when it is about the whole text.
    int ErrorLine = 0;
    // A sentence for the user that continues "The file ... could not be read: ",
    // such as "line 7 has 2 columns, line 2 has 3."
    std::string Error;
};

CsvResult ReadCsvText(std::string_view text);

} // namespace brekka
