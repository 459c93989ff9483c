// The grid's paste on any clipboard text, as the input tab walks it: the cells
// from the start cell on take the cleaned fields, nothing else changes, and the
// conversion of the rows either gives finite numbers or names a cell of the paste.
#include <cmath>
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "data/DataModule.h"
#include "data/GridText.h"

using namespace brekka;
using namespace brekka::fuzz;

namespace {

constexpr int kGridRows = 15;

GridTexts StartingGrid(int columns) {
    GridTexts grid;
    grid.Columns = columns;
    for (int row = 1; row <= kGridRows; ++row) {
        for (int column = 1; column <= columns; ++column) {
            grid.At(row, column) = std::to_string(row * 10 + column);
        }
    }
    return grid;
}

bool CellCharactersAllowed(const std::string& cell, char separator) {
    for (char c : cell) {
        if (!((c >= '0' && c <= '9') || c == '-' || c == separator || c == '.' || c == 'E')) {
            return false;
        }
    }
    return true;
}

int LineCount(const std::string& text) {
    int count = 0;
    bool open = false;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            ++count;
            open = false;
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
        } else {
            open = true;
        }
    }
    return count + (open ? 1 : 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    if (size < 2) {
        return 0;
    }
    // Two bytes choose the grid, the start cell and the decimal separator.
    const int columns = (bytes[0] & 1) != 0 ? 3 : 2;
    const int startColumn = 1 + (bytes[0] >> 1) % columns;
    const int startRow = 1 + bytes[1] % 20;
    const char separator = (bytes[0] & 0x80) != 0 ? ',' : '.';
    const std::string text(reinterpret_cast<const char*>(bytes) + 2, size - 2);

    const GridTexts before = StartingGrid(columns);
    GridTexts grid = before;
    const PasteResult pasted = PasteText(grid, startColumn, startRow, text, separator);
    if (!pasted.Accepted) {
        FUZZ_CHECK(grid.Rows == before.Rows, "a refused paste changed the grid");
        return 0;
    }
    const int lines = LineCount(text);
    FUZZ_CHECK(pasted.NrOfData == startRow - 1 + lines, std::to_string(pasted.NrOfData));
    FUZZ_CHECK(grid.Columns == columns, "the paste changed the number of columns");
    for (size_t r = 0; r < grid.Rows.size(); ++r) {
        FUZZ_CHECK(grid.Rows[r].size() <= static_cast<size_t>(columns),
                   "cells beyond the grid's columns");
        for (size_t c = 0; c < grid.Rows[r].size(); ++c) {
            const int row = static_cast<int>(r) + 1;
            const int column = static_cast<int>(c) + 1;
            const bool inPaste =
                row >= startRow && row < startRow + std::max(lines, 1) && column >= startColumn;
            if (inPaste) {
                FUZZ_CHECK(CellCharactersAllowed(grid.Rows[r][c], separator), grid.Rows[r][c]);
            } else {
                FUZZ_CHECK(grid.Get(row, column) == before.Get(row, column),
                           "cell outside the paste changed");
            }
        }
    }

    RecordingMessageSink sink;
    TDMBrekka data(sink);
    RunSettings settings;
    settings.DecimalSeparator = separator;
    const int nrOfVar = columns == 3 ? 2 : 1;
    GridValues values;
    if (!ConvertAllRows(grid, pasted.NrOfData, nrOfVar, data, settings, false, values)) {
        FUZZ_CHECK(values.BadRow >= 1 && values.BadRow <= pasted.NrOfData,
                   std::to_string(values.BadRow));
        FUZZ_CHECK(values.BadColumn >= 1 && values.BadColumn <= columns,
                   std::to_string(values.BadColumn));
        return 0;
    }
    const size_t n = static_cast<size_t>(pasted.NrOfData);
    FUZZ_CHECK(values.Y.size() == n && values.X.size() == n && values.Z.size() == n,
               "converted columns differ from the number of data");
    for (size_t i = 0; i < n; ++i) {
        FUZZ_CHECK(std::isfinite(values.Y[i]) && std::isfinite(values.X[i]) &&
                       std::isfinite(values.Z[i]),
                   "row " + std::to_string(i + 1));
        // The grid shows a number as a text that converts back to it.
        for (double v : {values.Y[i], values.X[i], values.Z[i]}) {
            double back = 0;
            FUZZ_CHECK(
                data.StringToFloat(GridNumberText(v, settings.DecimalSeparator), back, settings),
                GridNumberText(v, settings.DecimalSeparator));
            FUZZ_CHECK(std::fabs(back - v) <= 1e-14 * std::fabs(v),
                       GridNumberText(v, settings.DecimalSeparator));
        }
    }
    return 0;
}
