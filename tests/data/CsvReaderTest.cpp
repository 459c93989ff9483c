// Spreadsheet columns: the rules of the text (separators, decimal commas, headers,
// quotes, line ends, refusals with their line) and the data set the data module
// makes of a .csv or .txt file, or keeps when the file is refused.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "data/CsvReader.h"
#include "data/DataModule.h"
#include "support/CalcCommand.h"
#include "support/TempDir.h"

using namespace brekka;
using brekka::testing::ReadWhole;
using brekka::testing::RunCalc;
using brekka::testing::TempDir;

namespace {

CsvTable Read(const std::string& text) {
    const CsvResult result = ReadCsvText(text);
    EXPECT_TRUE(result.Ok) << result.Error;
    return result.Table;
}

// The refusal's sentence, with its line checked against the one it names.
std::string Refusal(const std::string& text, int line) {
    const CsvResult result = ReadCsvText(text);
    EXPECT_FALSE(result.Ok);
    EXPECT_EQ(result.ErrorLine, line) << result.Error;
    return result.Error;
}

void WriteBytes(const std::filesystem::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
}

} // namespace

TEST(CsvReader, SeparatorIsTabThenSemicolonThenComma) {
    CsvTable t = Read("1,2\n3,4\n5,6\n");
    EXPECT_EQ(t.Separator, ',');
    EXPECT_EQ(t.Columns, 2);
    EXPECT_EQ(t.Y, (std::vector<double>{1, 3, 5}));
    EXPECT_EQ(t.X, (std::vector<double>{2, 4, 6}));
    EXPECT_TRUE(t.Z.empty() && t.Header.empty());

    t = Read("1;2;3\n4;5;6\n7;8;9\n");
    EXPECT_EQ(t.Separator, ';');
    EXPECT_EQ(t.Columns, 3);
    EXPECT_EQ(t.Z, (std::vector<double>{3, 6, 9}));

    // A semicolon header whose names hold commas; the data have decimal commas.
    t = Read("yield, t/ha;depth, cm\n4,5;100\n3,25;80\n2;60\n");
    EXPECT_EQ(t.Separator, ';');
    EXPECT_EQ(t.DecimalSeparator, ',');
    EXPECT_EQ(t.Header, (std::vector<std::string>{"yield, t/ha", "depth, cm"}));
    EXPECT_EQ(t.Y, (std::vector<double>{4.5, 3.25, 2}));

    t = Read("Y\tX;1\n1\t2\n3\t4\n5\t6\n");
    EXPECT_EQ(t.Separator, '\t');
    EXPECT_EQ(t.Header[1], "X;1");

    // Empty lines and lines of separators only do not decide, nor count.
    t = Read("\n  \n;;\n1;2\n3;4\n5;6\n");
    EXPECT_EQ(t.Separator, ';');
    EXPECT_EQ(t.Y.size(), 3u);
}

TEST(CsvReader, DecimalCommaOnlyWhereItCannotBeTheColumnSeparator) {
    CsvTable t = Read("1,5\t-2,25E1\n3\t4\n5\t6\n");
    EXPECT_EQ(t.DecimalSeparator, ',');
    EXPECT_EQ(t.Y[0], 1.5);
    EXPECT_EQ(t.X[0], -22.5);
    t = Read("1.5\t2.5\n3\t4\n5\t6\n");
    EXPECT_EQ(t.DecimalSeparator, '.');
    EXPECT_EQ(t.X[0], 2.5);
    t = Read("1.5;.5\n3.;4e-2\n+5;6\n");
    EXPECT_EQ(t.X, (std::vector<double>{0.5, 0.04, 6}));
    EXPECT_EQ(t.Y[1], 3.0);

    // Either one of the two is a thousands separator: refused, not guessed.
    EXPECT_EQ(Refusal("1,5;2\n3;4\n1.234;6\n", 3),
              "line 3, column 1 (Y): \"1.234\" has a decimal point, but the numbers of this file "
              "have decimal commas (line 1).");
    EXPECT_EQ(Refusal("Y;X\n1;2\n3;4\n1.234,5;6\n", 4),
              "line 4, column 1 (Y): \"1.234,5\" has a decimal point, but the numbers of this "
              "file have decimal commas (line 4).");
    EXPECT_EQ(Refusal("1,2\n\"1,500\",4\n5,6\n", 2),
              "line 2, column 1 (Y): \"1,500\" is not a number (in a comma-separated file the "
              "decimal separator is the point).");
}

TEST(CsvReader, FirstRecordIsAHeaderWhenAnyFieldIsNoNumber) {
    CsvTable t = Read("Y,X,\"Z\"\n1,2,3\n4,5,6\n7,8,9\n");
    EXPECT_EQ(t.Header, (std::vector<std::string>{"Y", "X", "Z"}));
    EXPECT_EQ(t.Y.size(), 3u);
    t = Read("yield,\n1,2\n3,4\n5,6\n"); // an empty name is still a header
    EXPECT_EQ(t.Header, (std::vector<std::string>{"yield", ""}));
    // A first row beyond the limit is data, refused as such, not taken for a header.
    EXPECT_EQ(Refusal("1e200,2\n3,4\n5,6\n7,8\n", 1),
              "line 1, column 1 (Y): \"1e200\" is beyond 1E150 in magnitude.");
    EXPECT_EQ(Refusal("Y,X\n", 0), "it holds no data rows; at least 3 are needed.");
    EXPECT_EQ(Refusal("Y,X\n1,2\n\n3,4\n", 0), "it holds only 2 data rows; at least 3 are needed.");
    EXPECT_EQ(Refusal("1,2\n", 0), "it holds only 1 data row; at least 3 are needed.");
    EXPECT_EQ(Refusal("", 0), "it holds no data.");
    EXPECT_EQ(Refusal("\r\n \r\n,\r\n", 0), "it holds no data.");
}

TEST(CsvReader, QuotedFieldsHoldSeparatorsQuotesAndLineEnds) {
    CsvTable t = Read("\"yield \"\"dry\"\", t\",\"depth\ncm\"\n\" 1.5 \" , \"2\"\n3,4\n5,6\n");
    EXPECT_EQ(t.Header, (std::vector<std::string>{"yield \"dry\", t", "depth\ncm"}));
    EXPECT_EQ(t.Y[0], 1.5);
    EXPECT_EQ(t.X[0], 2.0);
    // The header took two lines, so the data lines are counted on from 3.
    EXPECT_EQ(Refusal("\"Y\",\"X\r\nin cm\"\r\n1,2\r\n3,x\r\n", 4),
              "line 4, column 2 (X): \"x\" is not a number.");
    EXPECT_EQ(Refusal("Y,X\n1,2\n\"3,4\n5,6\n", 3),
              "line 3 opens a quoted field that is never closed.");
    EXPECT_EQ(Refusal("Y,X\n1,\"2\"3\n", 2), "line 2 has text after the closing quote of a field.");
    // A quote inside a field that does not start with one is plain text.
    EXPECT_EQ(Refusal("Y,X\n1,2\"\n", 2), "line 2, column 2 (X): \"2\"\" is not a number.");
}

TEST(CsvReader, LineEndsByteOrderMarkAndBlanks) {
    for (const char* end : {"\r\n", "\n", "\r"}) {
        const std::string e = end;
        CsvTable t = Read("Y;X" + e + e + " 1 ; 2 " + e + "3;4" + e + e + "5;6"); // no last end
        EXPECT_EQ(t.Y, (std::vector<double>{1, 3, 5})) << "line end " << int(e.back());
        EXPECT_EQ(t.X.back(), 6.0);
        // Line numbers count the empty lines.
        EXPECT_EQ(Refusal("Y;X" + e + e + "1;2" + e + "3" + e, 4),
                  "line 4 has 1 column, line 1 has 2.");
    }
    CsvTable t = Read("\xEF\xBB\xBFY,X\n1,2\n3,4\n5,6\n");
    EXPECT_EQ(t.Header[0], "Y");
    t = Read("\xEF\xBB\xBF\"Y\"\t\"X\"\n1\t 2\n3 \t4\n5\t6\n");
    EXPECT_EQ(t.Header[0], "Y");
    EXPECT_EQ(t.X[0], 2.0);
    EXPECT_EQ(Refusal("\xFF\xFEY\0,\0X\0", 0).substr(0, 19), "it is UTF-16 text; ");
}

TEST(CsvReader, RaggedRowsAndColumnCountsAreRefusedNamingTheLines) {
    EXPECT_EQ(Refusal("a,b,c\n1,2,3\n4,5,6\n7,8\n", 4), "line 4 has 2 columns, line 1 has 3.");
    EXPECT_EQ(Refusal("\n1,2,3\n4,5,6\n7,8\n9,10,11\n", 4), "line 4 has 2 columns, line 2 has 3.");
    EXPECT_EQ(Refusal("1,2\n3,4,\n5,6\n", 2), "line 2 has 3 columns, line 1 has 2.");
    EXPECT_EQ(Refusal("1\n2\n3\n", 1),
              "line 1 has 1 column; there can be 2 (Y and X) or 3 (Y, X and Z).");
    EXPECT_EQ(Refusal("\n\nY;X;Z;W\n", 3),
              "line 3 has 4 columns; there can be 2 (Y and X) or 3 (Y, X and Z).");
}

TEST(CsvReader, EveryValueIsAFiniteNumberWithinTheLimit) {
    CsvTable t = Read("1E150,-1e150\n0,4.9e-324\n-0,1\n");
    EXPECT_EQ(t.Y[0], 1e150);
    EXPECT_EQ(t.X[0], -1e150);
    const std::string head = "Y,X,Z\n1,2,3\n4,5,6\n";
    auto third = [&](const std::string& row) { return Refusal(head + row + "\n", 4); };
    EXPECT_EQ(third("7,,9"), "line 4, column 2 (X) is empty.");
    EXPECT_EQ(third("7,8,\"\""), "line 4, column 3 (Z) is empty.");
    EXPECT_EQ(third("7,8,1.0000001e150"),
              "line 4, column 3 (Z): \"1.0000001e150\" is beyond 1E150 in magnitude.");
    EXPECT_EQ(third("-1e400,8,9"),
              "line 4, column 1 (Y): \"-1e400\" is beyond 1E150 in magnitude.");
    EXPECT_EQ(third("1e-400,8,9"),
              "line 4, column 1 (Y): \"1e-400\" is too close to zero to be held as a number.");
    for (const char* word : {"nan", "inf", "-Infinity", "0x10", "1e", "--1", "1 2", "12%"}) {
        EXPECT_EQ(third(std::string("7,") + word + ",9"),
                  std::string("line 4, column 2 (X): \"") + word + "\" is not a number.");
    }
    // A long or broken field is shown short and on one line.
    EXPECT_EQ(third("7,8,\"abcdefghij\nklmnopqrstuvwxyz\""),
              "line 4, column 3 (Z): \"abcdefghij klmnopqrstuvw...\" is not a number.");
}

// The data module's side: which names are read as columns, the data set made of
// them, and the data set kept when a file is refused.
class ColumnFile : public ::testing::Test {
protected:
    TempDir dir;
    RecordingMessageSink sink;
    TDMBrekka dm{sink};

    bool ReadFile(const std::string& name, const std::string& text) {
        WriteBytes(dir.File(name), text);
        dm.FileName = dir.File(name).string();
        return dm.ReadInputFile();
    }
};

TEST(DataModuleColumns, CsvAndTxtInAnyCaseAreColumnFiles) {
    for (const char* name : {"a.csv", "A.CSV", "dir/b.Txt", "x.inp.csv", "c.TXT"}) {
        EXPECT_TRUE(IsColumnFileName(name)) << name;
    }
    for (const char* name : {"a.inp", "a.csv.inp", "csv", ".csv", "a.csvx", "a.out", "dir.csv/a"}) {
        EXPECT_FALSE(IsColumnFileName(name)) << name;
    }
}

TEST_F(ColumnFile, HeaderNamesTheColumnsInTheSecondTitle) {
    dm.VarOption = 3;
    ASSERT_TRUE(ReadFile("Field plots.CSV", "yield;depth;\"salinity\r\n(dS/m)\"\r\n4,5;90;2\r\n"
                                            "4;80;3\r\n3,5;70;4\r\n2;60;5\r\n"))
        << sink.messages.front();
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_EQ(dm.Title1, "Field plots.CSV");
    EXPECT_EQ(dm.Title2, "Y: yield; X: depth; Z: salinity (dS/m)");
    EXPECT_EQ(dm.NrOfVar, 2);
    EXPECT_EQ(dm.NrOfData, 4);
    EXPECT_EQ(dm.SerialNr, (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(dm.YData, (std::vector<double>{4.5, 4, 3.5, 2}));
    EXPECT_EQ(dm.ZData, (std::vector<double>{2, 3, 4, 5}));
    EXPECT_EQ(dm.VarOption, 3); // the caller sets it, as for an input file

    ASSERT_TRUE(ReadFile("plain.txt", "1\t2\n3\t4\n5\t6\n7\t8\n9\t10\n"));
    EXPECT_EQ(dm.Title1, "plain.txt");
    EXPECT_EQ(dm.Title2, "Y: column 1; X: column 2");
    EXPECT_EQ(dm.NrOfVar, 1);
    EXPECT_EQ(dm.NrOfData, 5);
    EXPECT_EQ(dm.ZData, std::vector<double>(5, 0.0));

    // A long name is cut short of a character it would split.
    const std::string name = std::string(38, 'n') + "\xC3\xA9" + "tail";
    ASSERT_TRUE(ReadFile("long.csv", name + ",\n1,2\n3,4\n5,6\n"));
    EXPECT_EQ(dm.Title2, "Y: " + std::string(38, 'n') + "\xC3\xA9; X: column 2");
    ASSERT_TRUE(ReadFile("cut.csv", std::string(39, 'n') + "\xC3\xA9,X\n1,2\n3,4\n5,6\n"));
    EXPECT_EQ(dm.Title2, "Y: " + std::string(39, 'n') + "; X: X");
}

TEST_F(ColumnFile, RefusedFilesLeaveTheDataSetAsItWasAfterOneMessage) {
    ASSERT_TRUE(ReadFile("good.csv", "Y,X,Z\n1,2,3\n4,5,6\n7,8,9\n"));
    const TDMBrekka before = dm;
    const struct {
        const char* name;
        const char* text;
        const char* message;
    } refusals[] = {
        {"ragged.csv", "a,b,c\n1,2,3\n4,5,6\n\n\n\n7,8\n", "line 7 has 2 columns, line 1 has 3."},
        {"short.csv", "1;2\n3;4\n", "it holds only 2 data rows; at least 3 are needed."},
        {"big.txt", "1\t2\n3\t4\n5\t1e151\n",
         "line 3, column 2 (X): \"1e151\" is beyond 1E150 in magnitude."},
        {"one.csv", "1\n2\n3\n",
         "line 1 has 1 column; there can be 2 (Y and X) or 3 (Y, X and Z)."},
    };
    for (const auto& refusal : refusals) {
        sink.messages.clear();
        EXPECT_FALSE(ReadFile(refusal.name, refusal.text)) << refusal.name;
        ASSERT_EQ(sink.messages.size(), 1u) << refusal.name;
        EXPECT_EQ(sink.messages[0],
                  "The file \"" + dm.FileName + "\" could not be read: " + refusal.message);
        EXPECT_EQ(dm.Title1, before.Title1);
        EXPECT_EQ(dm.Title2, before.Title2);
        EXPECT_EQ(dm.NrOfVar, before.NrOfVar);
        EXPECT_EQ(dm.NrOfData, before.NrOfData);
        EXPECT_EQ(dm.SerialNr, before.SerialNr);
        EXPECT_EQ(dm.YData, before.YData);
        EXPECT_EQ(dm.XData, before.XData);
        EXPECT_EQ(dm.ZData, before.ZData);
    }
    sink.messages.clear();
    dm.FileName = dir.File("missing.csv").string();
    EXPECT_FALSE(dm.ReadInputFile());
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_NE(sink.messages[0].find("could not be opened"), std::string::npos);
    dm.FileName = dir.Path().string() + "/folder.csv";
    std::filesystem::create_directory(dm.FileName);
    EXPECT_FALSE(dm.ReadInputFile());
    EXPECT_EQ(dm.YData, before.YData);
}

// brekka-calc takes a spreadsheet file as it takes an input file: the results
// beside it as FILE.out and FILE.var, the file itself untouched.
TEST(CalcCommandColumns, CsvFileGivesItsReportAndTable) {
    TempDir dir;
    std::istringstream example(
        ReadWhole(std::string(BREKKA_EXAMPLES_DIR) + "/yield-watertable.inp"));
    std::string csv = "\xEF\xBB\xBF\"grain yield (t/ha)\";\"water table (cm)\"\r\n";
    std::string line;
    for (int number = 1; std::getline(example, line); ++number) {
        line.erase(std::remove(line.begin(), line.end(), '\r'), line.end());
        std::istringstream fields(line);
        std::string serial, y, x;
        if (number > 11 && (fields >> serial >> y >> x)) {
            std::replace(y.begin(), y.end(), '.', ',');
            std::replace(x.begin(), x.end(), '.', ',');
            csv += y + ";" + x + "\r\n";
        }
    }
    WriteBytes(dir.File("plots.csv"), csv);
    const brekka::testing::CommandResult run = RunCalc(dir, "plots.csv");
    EXPECT_EQ(run.status, 0) << run.err;
    const std::string report = ReadWhole(dir.File("plots.out"));
    EXPECT_NE(report.find(" plots.csv\r\n"), std::string::npos);
    EXPECT_NE(report.find(" Y: grain yield (t/ha); X: water table (cm)\r\n"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(dir.File("plots.var")));
    EXPECT_EQ(ReadWhole(dir.File("plots.csv")), csv);

    WriteBytes(dir.File("bad.csv"), "Y,X\n1,2\n3,4\n");
    const brekka::testing::CommandResult refused = RunCalc(dir, "bad.csv");
    EXPECT_EQ(refused.status, 2);
    EXPECT_NE(refused.err.find("could not be read: it holds only 2 data rows"), std::string::npos)
        << refused.err;
    EXPECT_FALSE(std::filesystem::exists(dir.File("bad.out")));
}
