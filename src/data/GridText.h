#pragma once
// The value cells of the data grid as texts, and what happens to them without a
// display: a paste walked into the cells, rows converted into the data set, the
// texts the grid shows for numbers.
#include <string>
#include <vector>

#include "data/DataModule.h"
#include "data/RunSettings.h"

namespace brekka {

// Rows[r][c] is grid row r + 1 and value column c + 1 (1 Y, 2 X, 3 Z). Rows may
// hold more entries than the number of data: the grid keeps what lies beyond.
struct GridTexts {
    int Columns = 2; // value columns: NrOfVar + 1
    std::vector<std::vector<std::string>> Rows;

    // Grid coordinates from 1; grows the rows as needed.
    std::string& At(int row, int column);
    std::string Get(int row, int column) const;
};

// One pasted field as cell text: digits, '-', the decimal separator and an
// exponent are kept, blanks, '+' outside an exponent, letters and thousands
// separators are dropped. False when the field cannot be read safely: on a
// system whose separator is the point, a comma that is not followed by exactly
// three digits is no thousands separator.
bool CleanPastedValue(const std::string& field, char separator, std::string& cell);

struct PasteResult {
    bool Accepted = false;
    // The number of data the paste implies: the rows above the start row and
    // every pasted line, the last one also without a line end.
    int NrOfData = 0;
};

// Walks pasted spreadsheet text (tab between columns; CR LF, LF or CR between
// rows) into the cells from the start cell on. Columns beyond the grid's are not
// used. Nothing is written when a field cannot be cleaned.
PasteResult PasteText(GridTexts& grid, int startColumn, int startRow, const std::string& text,
                      char separator);

// Values of grid rows, converted with the data module's StringToFloat.
struct GridValues {
    std::vector<double> Y, X, Z;
    int NrLeftOut = 0; // incomplete rows left out
    // The first cell that is not a number (grid coordinates); 0 when none.
    int BadRow = 0;
    int BadColumn = 0;
};

// Rows 1..rows, every value cell. With skipEmpty, an empty cell counts as 0 and
// is not an error.
bool ConvertAllRows(const GridTexts& grid, int rows, int nrOfVar, const TDMBrekka& data,
                    RunSettings& settings, bool skipEmpty, GridValues& values);

// The complete rows among 1..rows (Y, X and for two variables Z not empty), in
// grid order; every one of them converted before anything is kept.
bool ConvertCompleteRows(const GridTexts& grid, int rows, int nrOfVar, const TDMBrekka& data,
                         RunSettings& settings, GridValues& values);

// The shortest text that reads back as the value, at most 15 significant digits,
// with the given decimal separator.
std::string GridNumberText(double value, char separator);

// "Column Y of row 4 ..." for a cell that is not a number.
std::string NotANumberMessage(int row, int column);

} // namespace brekka
