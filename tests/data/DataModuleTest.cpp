#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "data/DataModule.h"
#include "support/TempDir.h"

using namespace brekka;
using brekka::testing::TempDir;

namespace {

std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::filesystem::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
}

std::string CrLf(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) {
        text += line + "\r\n";
    }
    return text;
}

const std::vector<std::string> kOneVariableHeading = {"",
                                                      "",
                                                      "          Dependent    independent",
                                                      "Serial    variable     variable",
                                                      "number    Y            X",
                                                      "----------------------------------"};

// Lines 1 to 11 of an input file as another writer might have left them.
std::string Header(int nrOfVar, int count) {
    std::vector<std::string> lines = {"Title one", "Title two", " File name:  x.inp",
                                      " Number of independent variables:  " +
                                          std::to_string(nrOfVar),
                                      " Number of data sets:  " + std::to_string(count)};
    lines.insert(lines.end(), kOneVariableHeading.begin(), kOneVariableHeading.end());
    return CrLf(lines);
}

void SetData(TDMBrekka& dm, int nrOfVar, const std::vector<double>& y, const std::vector<double>& x,
             const std::vector<double>& z = {}) {
    dm.NrOfVar = nrOfVar;
    dm.Resize(static_cast<int>(y.size()));
    dm.YData = y;
    dm.XData = x;
    dm.ZData = z.empty() ? std::vector<double>(y.size(), 0.0) : z;
}

class DataModuleFile : public ::testing::Test {
protected:
    TempDir dir;
    RecordingMessageSink sink;
    TDMBrekka dm{sink};
    std::string Path(const std::string& name) const { return dir.File(name).string(); }
};

} // namespace

TEST(DataModule, StartsWithFifteenRowsOfZerosInTheWorkingDirectory) {
    RecordingMessageSink sink;
    TDMBrekka dm(sink);
    EXPECT_EQ(dm.FileName, std::filesystem::current_path().string());
    EXPECT_EQ(dm.NrOfData, 15);
    EXPECT_EQ(dm.NrOfVar, 1);
    EXPECT_TRUE(dm.Title1.empty() && dm.Title2.empty());
    ASSERT_EQ(dm.SerialNr.size(), 15u);
    EXPECT_EQ(dm.SerialNr.front(), 1);
    EXPECT_EQ(dm.SerialNr.back(), 15);
    EXPECT_EQ(dm.YData, std::vector<double>(15, 0.0));
    EXPECT_EQ(dm.ZData.size(), 15u);

    dm.YData[2] = 7.5;
    dm.Resize(17);
    EXPECT_EQ(dm.YData[2], 7.5);
    EXPECT_EQ(dm.XData[16], 0.0);
    EXPECT_EQ(dm.SerialNr[16], 17);
    EXPECT_TRUE(sink.messages.empty());
}

TEST_F(DataModuleFile, DefaultDataSetIsWrittenInThePlainLayout) {
    dm.FileName = Path("zeros.inp");
    ASSERT_TRUE(dm.WriteInputFile());
    std::vector<std::string> lines = {"", "", " File name:  " + dm.FileName,
                                      " Number of independent variables:  1",
                                      " Number of data sets:  15"};
    lines.insert(lines.end(), kOneVariableHeading.begin(), kOneVariableHeading.end());
    for (int i = 1; i <= 9; ++i) {
        lines.push_back("    " + std::to_string(i) + "       0.00         0.00");
    }
    for (int i = 10; i <= 15; ++i) {
        lines.push_back("   " + std::to_string(i) + "       0.00         0.00");
    }
    EXPECT_EQ(ReadBytes(dm.FileName), CrLf(lines));
}

TEST_F(DataModuleFile, OneVariableRowsKeepEveryValue) {
    dm.FileName = Path("one.inp");
    dm.Title1 = "Yield against depth";
    dm.Title2 = "Y t/ha, X m";
    // 12.3456 needs 4 decimals; 0.125 is a binary tie that 2 decimals would lose;
    // 1/3 needs 16 digits, so it gets the 15 that are allowed.
    SetData(dm, 1, {12.3456, 0.125, -1234567.5, 1e20}, {0.5, 1.0 / 3.0, 120, -0.05});
    ASSERT_TRUE(dm.WriteInputFile());
    std::vector<std::string> lines = {
        "Yield against depth", "Y t/ha, X m", " File name:  " + dm.FileName,
        " Number of independent variables:  1", " Number of data sets:  4"};
    lines.insert(lines.end(), kOneVariableHeading.begin(), kOneVariableHeading.end());
    lines.push_back("    1    12.3456         0.50");
    lines.push_back("    2      0.125 0.333333333333333");
    lines.push_back("    3  -1234567.50       120.00");
    lines.push_back("    4  100000000000000000000.00        -0.05");
    EXPECT_EQ(ReadBytes(dm.FileName), CrLf(lines));
    EXPECT_TRUE(sink.messages.empty());
}

TEST_F(DataModuleFile, TwoVariableRowsGetTheirHeadingAndZ) {
    dm.FileName = Path("two.inp");
    dm.Title1 = "T1";
    SetData(dm, 2, {2, 1234567.5}, {3.5, -123456789.25}, {-4.25, 0.005});
    ASSERT_TRUE(dm.WriteInputFile());
    EXPECT_EQ(ReadBytes(dm.FileName),
              CrLf({"T1", "", " File name:  " + dm.FileName, " Number of independent variables:  2",
                    " Number of data sets:  2", "", "                       First          Second",
                    "          Dependent    independent    independent",
                    "Serial    variable     variable       variable",
                    "number    Y            X              Z",
                    "-------------------------------------------------",
                    "    1       2.00         3.50        -4.25",
                    "    2  1234567.50 -123456789.25        0.005"}));
}

TEST_F(DataModuleFile, RoundTripGivesBackEveryDoubleExactly) {
    const std::vector<double> y = {
        0.1,    1.005, 0.125,    1.0 / 1024,   1e20, -123456789012.5, 1e15 + 0.5, 2.5e-300,
        5e-324, 1e40,  -3.3e100, 1.2345678e37, -0.0, 123456.789};
    std::vector<double> x(y.rbegin(), y.rend());
    const std::vector<double> z = {
        3.14159265358979, -2.5e-5, 1e36,    -1e36,         9.87654321e-10, 0.3,
        1234567890.12345, 42,      -17.125, 6.02214076e23, 1.6e-19,        999999999999.99,
        -0.001,           7};
    dm.FileName = Path("round.inp");
    dm.Title1 = "  leading blanks stay ";
    dm.Title2 = "second";
    SetData(dm, 2, y, x, z);
    ASSERT_TRUE(dm.WriteInputFile());

    RecordingMessageSink otherSink;
    TDMBrekka other(otherSink);
    other.FileName = dm.FileName;
    ASSERT_TRUE(other.ReadInputFile()) << otherSink.messages.front();
    EXPECT_EQ(other.Title1, dm.Title1);
    EXPECT_EQ(other.Title2, dm.Title2);
    EXPECT_EQ(other.NrOfVar, 2);
    EXPECT_EQ(other.NrOfData, static_cast<int>(y.size()));
    EXPECT_EQ(other.YData, y);
    EXPECT_EQ(other.XData, x);
    EXPECT_EQ(other.ZData, z);
    EXPECT_TRUE(otherSink.messages.empty());
}

TEST_F(DataModuleFile, ReaderSkipsBlankLinesAndTrustsTheRowsNotTheCount) {
    // LF line ends, blank lines, serials out of order, extra numbers after X,
    // and a count of 20 for what are three rows.
    std::string text = Header(1, 20);
    text += "\n   7  1.5  2.5\n\n  \t \n   3 -4 5e1 99 junk\n9 .25 -0.5\n\n";
    const std::string path = Path("loose.inp");
    WriteBytes(path, text);
    dm.FileName = path;
    ASSERT_TRUE(dm.ReadInputFile());
    EXPECT_EQ(dm.Title1, "Title one");
    EXPECT_EQ(dm.NrOfData, 3);
    EXPECT_EQ(dm.SerialNr, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(dm.YData, (std::vector<double>{1.5, -4, 0.25}));
    EXPECT_EQ(dm.XData, (std::vector<double>{2.5, 50, -0.5}));
    EXPECT_EQ(dm.ZData.size(), 3u);
    EXPECT_EQ(dm.FileName, path);
    EXPECT_TRUE(sink.messages.empty());
}

TEST_F(DataModuleFile, VariablesAreReadAfterAnyLabelOf33Characters) {
    std::string text =
        CrLf({"a", "b", "c", "Independent variables (count) ..:2 extra", "Data sets (count) ...:x",
              "", "", "", "", "", "", "1 2 3 4", "2 5 6 7"});
    WriteBytes(Path("label.inp"), text);
    dm.FileName = Path("label.inp");
    ASSERT_FALSE(dm.ReadInputFile());
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_NE(sink.messages[0].find("line 5"), std::string::npos) << sink.messages[0];

    text.replace(text.find(":x"), 2, ":12");
    WriteBytes(Path("label.inp"), text);
    ASSERT_TRUE(dm.ReadInputFile());
    EXPECT_EQ(dm.NrOfVar, 2);
    EXPECT_EQ(dm.ZData, (std::vector<double>{4, 7}));
}

TEST_F(DataModuleFile, ManyRowsAreAccepted) {
    std::vector<double> y(2500);
    std::vector<double> x(2500);
    for (size_t i = 0; i < y.size(); ++i) {
        y[i] = static_cast<double>(i) / 8;
        x[i] = static_cast<double>(i) / 100;
    }
    dm.FileName = Path("many.inp");
    SetData(dm, 1, y, x);
    ASSERT_TRUE(dm.WriteInputFile());
    dm.ResetToDefault();
    ASSERT_TRUE(dm.ReadInputFile());
    EXPECT_EQ(dm.NrOfData, 2500);
    EXPECT_EQ(dm.SerialNr.back(), 2500);
    EXPECT_EQ(dm.YData, y);
    EXPECT_EQ(dm.XData, x);
}

TEST_F(DataModuleFile, DamagedFilesLeaveTheDataSetAsItWas) {
    const std::string corrupt = "A program error occurred.Real numbers in the inputfile \"";
    struct Case {
        const char* name;
        std::string content;
        std::string expected; // a piece of the one message
    };
    const std::string rows = "1 1 1\r\n2 2 2\r\n";
    const std::vector<Case> cases = {
        {"empty", "", "line 1 is missing"},
        {"short", CrLf({"a", "b", "c"}), "line 4 is missing"},
        {"novar", CrLf({"a", "b", "c", " Number of independent variables:  one"}) + rows,
         "line 4 does not give"},
        {"cut4", CrLf({"a", "b", "c", " Number of independent"}) + rows, "line 4 does not give"},
        {"threevar", Header(3, 2) + rows, "line 4 gives 3"},
        {"zerovar", Header(0, 2) + rows, "line 4 gives 0"},
        {"nocount",
         CrLf({"a", "b", "c", " Number of independent variables:  1",
               " Number of data sets:  many"}) +
             rows,
         "line 5 does not give"},
        {"noheading",
         CrLf({"a", "b", "c", " Number of independent variables:  1", " Number of data sets:  2",
               "", "", "x"}),
         "line 9 is missing"},
        {"norows", Header(1, 2) + "\r\n  \r\n", "holds no data rows"},
        {"word", Header(1, 2) + "1 1 1\r\n2 2.0 two\r\n", corrupt},
        {"nan", Header(1, 2) + "1 nan 1\r\n", corrupt},
        {"inf", Header(1, 2) + "1 1 -inf\r\n", corrupt},
        {"overflow", Header(1, 2) + "1 1e400 1\r\n", corrupt},
        {"serial", Header(1, 2) + "1.5 1 1\r\n", corrupt},
        {"fewX", Header(1, 2) + "1 1\r\n2 2 2\r\n", corrupt},
        {"fewZ", Header(2, 2) + "1 1 1 1\r\n2 2 2\r\n3 3 3 3\r\n", corrupt},
        {"comma", Header(1, 2) + "1 1,5 2\r\n", corrupt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = Path(std::string(c.name) + ".inp");
        WriteBytes(path, c.content);
        RecordingMessageSink damagedSink;
        TDMBrekka target(damagedSink);
        target.FileName = path;
        target.Title1 = "kept";
        SetData(target, 1, {1, 2, 3}, {4, 5, 6});
        target.SerialNr = {3, 2, 1};
        EXPECT_FALSE(target.ReadInputFile());
        ASSERT_EQ(damagedSink.messages.size(), 1u);
        const std::string& message = damagedSink.messages[0];
        EXPECT_NE(message.find(c.expected), std::string::npos) << message;
        EXPECT_NE(message.find(path), std::string::npos) << message;
        if (c.expected == corrupt) {
            EXPECT_EQ(message, corrupt + path + "\" are corrupt");
        }
        EXPECT_EQ(target.FileName, path);
        EXPECT_EQ(target.Title1, "kept");
        EXPECT_EQ(target.NrOfVar, 1);
        EXPECT_EQ(target.NrOfData, 3);
        EXPECT_EQ(target.SerialNr, (std::vector<int>{3, 2, 1}));
        EXPECT_EQ(target.YData, (std::vector<double>{1, 2, 3}));
        EXPECT_EQ(target.XData, (std::vector<double>{4, 5, 6}));
    }
}

TEST_F(DataModuleFile, FilesThatCannotBeOpenedGetTheOpenMessage) {
    for (const std::string& name : {Path("missing.inp"), dir.Path().string()}) {
        dm.FileName = name;
        sink.messages.clear();
        EXPECT_FALSE(dm.ReadInputFile());
        EXPECT_EQ(dm.NrOfData, 15);
        ASSERT_EQ(sink.messages.size(), 1u);
        EXPECT_EQ(sink.messages[0], "The file \"" + name +
                                        "\"could not be opened. It may be in use by another "
                                        "program,  or the programmer should incorporate more "
                                        "time.");
    }
    for (const std::string& name : {Path("no/such/dir.inp"), dir.Path().string()}) {
        dm.FileName = name;
        sink.messages.clear();
        EXPECT_FALSE(dm.WriteInputFile());
        ASSERT_EQ(sink.messages.size(), 1u);
        EXPECT_NE(sink.messages[0].find("\"could not be opened."), std::string::npos);
    }
}

TEST_F(DataModuleFile, WriterRefusesWhatCouldNotBeReadBack) {
    dm.FileName = Path("keep.inp");
    WriteBytes(dm.FileName, "old content");
    dm.XData[4] = std::numeric_limits<double>::quiet_NaN();
    EXPECT_FALSE(dm.WriteInputFile());
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_NE(sink.messages[0].find("Row 5"), std::string::npos) << sink.messages[0];
    EXPECT_EQ(ReadBytes(dm.FileName), "old content");

    if (std::filesystem::exists("/dev/full")) {
        dm.XData[4] = 0;
        dm.FileName = "/dev/full";
        sink.messages.clear();
        EXPECT_FALSE(dm.WriteInputFile());
        ASSERT_EQ(sink.messages.size(), 1u);
        EXPECT_NE(sink.messages[0].find("could not be written"), std::string::npos);
    }
}

TEST(DataModule, StringToFloatSwitchesFromCommaToPointOnlyWhenNeeded) {
    RecordingMessageSink sink;
    TDMBrekka dm(sink);
    RunSettings settings;
    double value = 0;

    settings.DecimalSeparator = ',';
    EXPECT_TRUE(dm.StringToFloat("1,5", value, settings));
    EXPECT_EQ(value, 1.5);
    EXPECT_EQ(settings.DecimalSeparator, ',');
    EXPECT_TRUE(dm.StringToFloat("-2,5E2", value, settings));
    EXPECT_EQ(value, -250.0);
    EXPECT_TRUE(dm.StringToFloat("1.5", value, settings));
    EXPECT_EQ(value, 1.5);
    EXPECT_EQ(settings.DecimalSeparator, '.');
    EXPECT_FALSE(dm.StringToFloat("1,5", value, settings));

    for (char separator : {'.', ','}) {
        for (const char* text : {"", "abc", "1.2.3", "inf", "nan", "1e999"}) {
            settings.DecimalSeparator = separator;
            EXPECT_FALSE(dm.StringToFloat(text, value, settings)) << text << separator;
        }
    }
    settings.DecimalSeparator = '.';
    EXPECT_TRUE(dm.StringToFloat(" 7 ", value, settings));
    EXPECT_EQ(value, 7.0);
}

TEST(DataModule, ShowProgramErrorPutsItsPhraseFirstWithoutBlank) {
    RecordingMessageSink sink;
    TDMBrekka dm(sink);
    dm.ShowProgramError("Something broke");
    EXPECT_EQ(sink.messages, std::vector<std::string>{"A program error occurred.Something broke"});
}

TEST(DataModule, ChangeFileExtReplacesOnlyTheLastComponentsExtension) {
    EXPECT_EQ(ChangeFileExt("/data/field.inp", ".out"), "/data/field.out");
    EXPECT_EQ(ChangeFileExt("/data/run.2/field", ".var"), "/data/run.2/field.var");
    EXPECT_EQ(ChangeFileExt("field.x.inp", ".out"), "field.x.out");
    EXPECT_EQ(ChangeFileExt("/data/.hidden", ".out"), "/data/.hidden.out");
    EXPECT_EQ(ChangeFileExt("C:\\data\\field.inp", ".var"), "C:\\data\\field.var");
    EXPECT_EQ(ChangeFileExt("field.inp", ""), "field");
}
