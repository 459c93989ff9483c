#include "data/GridText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>

#include "support/TempDir.h"

namespace brekka {
namespace {

std::string Clean(const std::string& field, char separator) {
    std::string cell;
    EXPECT_TRUE(CleanPastedValue(field, separator, cell)) << field;
    return cell;
}

bool Refused(const std::string& field, char separator) {
    std::string cell;
    return !CleanPastedValue(field, separator, cell);
}

double Number(const std::string& text, char separator) {
    RecordingMessageSink sink;
    TDMBrekka data(sink);
    RunSettings settings;
    settings.DecimalSeparator = separator;
    double value = 0;
    EXPECT_TRUE(data.StringToFloat(text, value, settings)) << text;
    return value;
}

TEST(PastedValue, KeepsNumbersAndDropsWhatCannotBePartOfThem) {
    EXPECT_EQ(Clean(" 12.5 ", '.'), "12.5");
    EXPECT_EQ(Clean("+3", '.'), "3");
    EXPECT_EQ(Clean("-0.25", '.'), "-0.25");
    EXPECT_EQ(Clean("1,234.5", '.'), "1234.5");
    EXPECT_EQ(Clean("1,234,567", '.'), "1234567");
}

TEST(PastedValue, ExponentsSurvive) {
    EXPECT_DOUBLE_EQ(Number(Clean("1e5", '.'), '.'), 100000.0);
    EXPECT_DOUBLE_EQ(Number(Clean("2.5E-3", '.'), '.'), 0.0025);
    EXPECT_DOUBLE_EQ(Number(Clean("4E+2", '.'), '.'), 400.0);
    EXPECT_DOUBLE_EQ(Number(Clean("1,5e2", ','), ','), 150.0);
}

TEST(PastedValue, CommaOnAPointSystemMustGroupThousands) {
    EXPECT_TRUE(Refused("1,5", '.'));
    EXPECT_TRUE(Refused("1,23", '.'));
    EXPECT_TRUE(Refused("1,2345", '.'));
    EXPECT_TRUE(Refused(",123", '.'));
}

TEST(PastedValue, PointOnACommaSystem) {
    // Alone it is a decimal point, which the conversion then accepts.
    EXPECT_EQ(Clean("1.5", ','), "1.5");
    EXPECT_DOUBLE_EQ(Number("1.5", ','), 1.5);
    EXPECT_EQ(Clean("1,5", ','), "1,5");
    // Beside a comma it groups thousands.
    EXPECT_EQ(Clean("1.234,5", ','), "1234,5");
}

GridTexts FreshGrid(int columns, int rows) {
    GridTexts grid;
    grid.Columns = columns;
    for (int r = 1; r <= rows; ++r) {
        for (int c = 1; c <= columns; ++c) {
            grid.At(r, c).assign(1, '0');
        }
    }
    return grid;
}

TEST(PasteWalk, EveryLineEndCountsAndALastLineWithoutOneToo) {
    for (const std::string text :
         {"1\t2\r\n3\t4\r\n", "1\t2\n3\t4\n", "1\t2\r3\t4\r", "1\t2\n3\t4", "1\t2\r\n3\t4"}) {
        GridTexts grid = FreshGrid(2, 15);
        const PasteResult result = PasteText(grid, 1, 1, text, '.');
        ASSERT_TRUE(result.Accepted);
        EXPECT_EQ(result.NrOfData, 2) << text;
        EXPECT_EQ(grid.Get(1, 1), "1");
        EXPECT_EQ(grid.Get(1, 2), "2");
        EXPECT_EQ(grid.Get(2, 1), "3");
        EXPECT_EQ(grid.Get(2, 2), "4");
        EXPECT_EQ(grid.Get(3, 1), "0"); // beyond the paste the grid keeps its cells
    }
}

TEST(PasteWalk, StartsAtTheCellAndKeepsRowsAboveAndColumnsBeyond) {
    GridTexts grid = FreshGrid(2, 15);
    const PasteResult result = PasteText(grid, 2, 4, "7\t8\t9\n5\t6\t7\n", '.');
    ASSERT_TRUE(result.Accepted);
    EXPECT_EQ(result.NrOfData, 5); // rows 1-3 stay and 2 lines come in
    EXPECT_EQ(grid.Get(4, 1), "0");
    EXPECT_EQ(grid.Get(4, 2), "7");
    EXPECT_EQ(grid.Get(5, 2), "5");
    EXPECT_EQ(grid.Rows[3].size(), 2u); // the third pasted column is not used
}

TEST(PasteWalk, ARefusedFieldWritesNothing) {
    GridTexts grid = FreshGrid(2, 3);
    EXPECT_FALSE(PasteText(grid, 1, 1, "1\t2\n1,5\t3\n", '.').Accepted);
    EXPECT_EQ(grid.Get(1, 1), "0");
}

TEST(GridRows, CompleteRowsOnlyAndAllConvertedFirst) {
    RecordingMessageSink sink;
    TDMBrekka data(sink);
    RunSettings settings;
    GridTexts grid = FreshGrid(2, 6);
    for (int r = 1; r <= 6; ++r) {
        grid.At(r, 1) = std::to_string(r);
        grid.At(r, 2) = std::to_string(10 * r);
    }
    grid.At(2, 2) = "";
    grid.At(5, 1) = "";
    GridValues values;
    ASSERT_TRUE(ConvertCompleteRows(grid, 6, 1, data, settings, values));
    EXPECT_EQ(values.NrLeftOut, 2);
    EXPECT_EQ(values.Y, (std::vector<double>{1, 3, 4, 6}));
    EXPECT_EQ(values.X, (std::vector<double>{10, 30, 40, 60}));

    grid.At(6, 2) = "6o";
    ASSERT_FALSE(ConvertCompleteRows(grid, 6, 1, data, settings, values));
    EXPECT_EQ(values.BadRow, 6);
    EXPECT_EQ(values.BadColumn, 2);
    EXPECT_NE(NotANumberMessage(6, 2).find("column X of row 6"), std::string::npos);
}

TEST(GridRows, NumbersShownShortestWithTheSeparator) {
    EXPECT_EQ(GridNumberText(4.36, '.'), "4.36");
    EXPECT_EQ(GridNumberText(92, '.'), "92");
    EXPECT_EQ(GridNumberText(-0.5, ','), "-0,5");
    EXPECT_EQ(GridNumberText(0.1 + 0.2, '.'), "0.3");
}

// Fifteen digits of the largest doubles round up past the largest finite value.
TEST(GridRows, LargestNumbersShownWithDigitsThatConvertBack) {
    const double largest = std::numeric_limits<double>::max();
    EXPECT_EQ(GridNumberText(largest, '.'), "1.79769313486231E+308");
    EXPECT_EQ(GridNumberText(-largest, ','), "-1,79769313486231E+308");
    EXPECT_EQ(GridNumberText(std::nextafter(largest, 0.0), '.'), "1.79769313486231E+308");

    RecordingMessageSink sink;
    TDMBrekka data(sink);
    RunSettings settings;
    settings.DecimalSeparator = ',';
    double value = 0;
    ASSERT_TRUE(data.StringToFloat(GridNumberText(-largest, ','), value, settings));
    EXPECT_EQ(value, -1.79769313486231e308);
}

TEST(ResultFile, ShortReportIsRemovedOnlyWhenACalculationWroteIt) {
    testing::TempDir dir;
    const std::string out = dir.File("short.out").string();
    const std::string var = dir.File("short.var").string();
    for (const std::string& name : {out, var}) {
        std::ofstream(name) << "one line\r\n";
    }
    RecordingMessageSink sink;
    TDMBrekka data(sink);
    data.FileName = out;
    EXPECT_FALSE(data.ReadResultFile(out, ".out"));
    EXPECT_TRUE(std::filesystem::exists(out));
    EXPECT_TRUE(std::filesystem::exists(var));
    EXPECT_FALSE(data.ReadResultFile(out, ".out", true));
    EXPECT_FALSE(std::filesystem::exists(out));
    EXPECT_FALSE(std::filesystem::exists(var));
    ASSERT_EQ(sink.messages.size(), 2u);
    EXPECT_EQ(sink.messages[0], " The output file is invalid due to inadequate input data");

    EXPECT_FALSE(data.ReadResultFile(var, ".var"));
    EXPECT_EQ(sink.messages.back(),
              "The anova file \"" + var +
                  "\"could not be found. Please go to the input tabsheet and run the program "
                  "again to create it.");
}

} // namespace
} // namespace brekka
