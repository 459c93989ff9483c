// brekka-calc as users run it: arguments, exit statuses, messages and files.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "support/CalcCommand.h"

namespace {

using brekka::testing::CommandResult;
using brekka::testing::ReadWhole;
using brekka::testing::RunCalc;
using brekka::testing::TempDir;

void CopyExample(const TempDir& dir, const std::string& name) {
    std::filesystem::copy_file(std::filesystem::path(BREKKA_EXAMPLES_DIR) / name, dir.File(name));
}

void WriteText(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// A one-variable input file with the given data rows (serial, Y, X already laid out).
std::string OneVariableFile(const std::string& rows) {
    return "title one\r\ntitle two\r\n File name:  x.inp\r\n"
           " Number of independent variables:  1\r\n Number of data sets:  12\r\n"
           "\r\n\r\n          Dependent    independent\r\nSerial    variable     variable\r\n"
           "number    Y            X\r\n----------------------------------\r\n" +
           rows;
}

std::string Rows(int count, double x0, double dx, double yScale) {
    std::ostringstream rows;
    for (int i = 0; i < count; ++i) {
        rows << i + 1 << ' ' << (i % 3) * yScale + i * 0.1 << ' ' << x0 + i * dx << "\r\n";
    }
    return rows.str();
}

TEST(CalcCommand, HelpAndVersionSucceed) {
    TempDir dir;
    CommandResult help = RunCalc(dir, "--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("--confidence"), std::string::npos);
    CommandResult version = RunCalc(dir, "--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.rfind("brekka-calc ", 0), 0u);
}

TEST(CalcCommand, BadArgumentsExitWithStatusTwo) {
    TempDir dir;
    CopyExample(dir, "yield-watertable.inp");
    EXPECT_EQ(RunCalc(dir, "").status, 2);
    EXPECT_EQ(RunCalc(dir, "--confidence 80 yield-watertable.inp").status, 2);
    EXPECT_EQ(RunCalc(dir, "--confidence").status, 2);
    EXPECT_EQ(RunCalc(dir, "--fast yield-watertable.inp").status, 2);
    EXPECT_EQ(RunCalc(dir, "--jobs 0 yield-watertable.inp").status, 2);
    EXPECT_EQ(RunCalc(dir, "--threads -1 yield-watertable.inp").status, 2);
    EXPECT_EQ(RunCalc(dir, "--jobs").status, 2);
    EXPECT_EQ(RunCalc(dir, "missing.inp").status, 2);
    EXPECT_FALSE(std::filesystem::exists(dir.File("yield-watertable.out")));
}

TEST(CalcCommand, DamagedInputIsRefusedWithTheMessageAndNoFiles) {
    TempDir dir;
    WriteText(dir.File("bad.inp"), OneVariableFile(Rows(11, 1, 1, 1) + "   12   4.5   nan\r\n"));
    CommandResult result = RunCalc(dir, "bad.inp");
    EXPECT_EQ(result.status, 2);
    EXPECT_NE(result.err.find("A program error occurred.Real numbers in the inputfile \""),
              std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir.File("bad.out")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("bad.var")));
}

TEST(CalcCommand, ResultFileNamesAreRefusedAsInputAndStayUnchanged) {
    // The report and the table take the input's name with .out and .var: run on
    // such a file, the program would overwrite its own data with its results.
    TempDir dir;
    const std::string content = OneVariableFile(Rows(12, 1, 1, 1));
    for (const std::string name : {"data.out", "data.var", "DATA.OUT"}) {
        WriteText(dir.File(name), content);
        CommandResult result = RunCalc(dir, name);
        EXPECT_EQ(result.status, 2) << name;
        EXPECT_NE(result.err.find("\"" + name + "\""), std::string::npos) << result.err;
        EXPECT_EQ(ReadWhole(dir.File(name)), content) << name;
        std::filesystem::remove(dir.File(name));
    }
    EXPECT_FALSE(std::filesystem::exists(dir.File("data.out")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("data.var")));
}

TEST(CalcCommand, DataWithoutVariationOrWithHugeValuesExitWithStatusThree) {
    TempDir dir;
    WriteText(dir.File("flat.inp"), OneVariableFile(Rows(12, 5, 0.00001, 1)));
    CommandResult flat = RunCalc(dir, "flat.inp");
    EXPECT_EQ(flat.status, 3);
    EXPECT_NE(flat.err.find("There is no variation in X-values."), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir.File("flat.out")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("flat.var")));

    WriteText(dir.File("huge.inp"), OneVariableFile(Rows(11, 1, 1, 1) + "   12 2E151 3\r\n"));
    CommandResult huge = RunCalc(dir, "huge.inp");
    EXPECT_EQ(huge.status, 3);
    EXPECT_NE(huge.err.find("Values above 1E150 in magnitude cannot be handled."),
              std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir.File("huge.out")));
}

TEST(CalcCommand, WholeRunWritesReportAndTableNamingAbsolutePaths) {
    TempDir dir;
    CopyExample(dir, "yield-watertable.inp");
    CommandResult result = RunCalc(dir, "--confidence 95 yield-watertable.inp");
    EXPECT_EQ(result.status, 0) << result.err;
    const std::string report = ReadWhole(dir.File("yield-watertable.out"));
    const std::string absolute = std::filesystem::canonical(dir.Path()).string();
    EXPECT_NE(report.find(" Name of this output file:  " + absolute + "/yield-watertable.out\r\n"),
              std::string::npos);
    EXPECT_NE(report.find(" Name of input file used :  " + absolute + "/yield-watertable.inp\r\n"),
              std::string::npos);
    EXPECT_NE(report.find(" Minimum confidence % : 95\r\n"), std::string::npos);
    const std::string table = ReadWhole(dir.File("yield-watertable.var"));
    EXPECT_EQ(table.rfind(" Variance Analysis, ANOVA table, Regression Type:", 0), 0u);
    EXPECT_FALSE(std::filesystem::exists(dir.File("yield-watertable.Anova.tmp")));
}

TEST(CalcCommand, NoAnovaLeavesTheSumsOfSquares) {
    TempDir dir;
    CopyExample(dir, "yield-watertable.inp");
    ASSERT_EQ(RunCalc(dir, "--no-anova yield-watertable.inp").status, 0);
    const std::string records = ReadWhole(dir.File("yield-watertable.var"));
    EXPECT_EQ(records.rfind(" 1\r\n   40\r\n", 0), 0u);
}

TEST(CalcCommand, RepeatedRunsGiveIdenticalFiles) {
    for (const char* name : {"yield-watertable.inp", "yield-watertable-salinity.inp"}) {
        TempDir dir;
        CopyExample(dir, name);
        const std::string base = std::filesystem::path(name).stem().string();
        ASSERT_EQ(RunCalc(dir, name).status, 0);
        const std::string report = ReadWhole(dir.File(base + ".out"));
        const std::string table = ReadWhole(dir.File(base + ".var"));
        ASSERT_EQ(RunCalc(dir, name).status, 0);
        EXPECT_EQ(report, ReadWhole(dir.File(base + ".out"))) << name;
        EXPECT_EQ(table, ReadWhole(dir.File(base + ".var"))) << name;
        EXPECT_EQ(report.find("nan"), std::string::npos);
        EXPECT_EQ(report.find("inf"), std::string::npos);
    }
}

TEST(CalcCommand, SimultaneousRunsInOneDirectoryKeepTheirOwnTables) {
    TempDir dir;
    CopyExample(dir, "yield-watertable.inp");
    CopyExample(dir, "yield-watertable-salinity.inp");
    for (int round = 0; round < 10; ++round) {
        const std::string calc = "'" BREKKA_CALC_PATH "' ";
        const std::string command = "cd '" + dir.Path().string() + "' && (" + calc +
                                    "yield-watertable.inp & " + calc +
                                    "yield-watertable-salinity.inp & wait) 2> stderr.txt";
        ASSERT_EQ(std::system(command.c_str()), 0);
        EXPECT_EQ(ReadWhole(dir.File("yield-watertable.var"))
                      .rfind(" Variance Analysis, ANOVA table, Regression Type:", 0),
                  0u);
        EXPECT_EQ(ReadWhole(dir.File("yield-watertable-salinity.var"))
                      .rfind(" Variance Analysis, ANOVA table, Regression Types:", 0),
                  0u);
        EXPECT_EQ(ReadWhole(dir.File("stderr.txt")).find("renamed"), std::string::npos);
    }
}

TEST(CalcCommand, TwoVariableRunWritesItsOwnLayout) {
    TempDir dir;
    CopyExample(dir, "yield-watertable-salinity.inp");
    CommandResult result = RunCalc(dir, "yield-watertable-salinity.inp");
    ASSERT_EQ(result.status, 0) << result.err;
    const std::string report = ReadWhole(dir.File("yield-watertable-salinity.out"));
    EXPECT_EQ(
        report.rfind(" Results of program BREKKA2 for the segmented linear regression of\r\n", 0),
        0u);
    EXPECT_NE(report.find(" The overall coefficient of explanation is:"), std::string::npos);
    const std::string table = ReadWhole(dir.File("yield-watertable-salinity.var"));
    EXPECT_EQ(table.rfind(" Variance Analysis, ANOVA table, Regression Types: 1st Type:", 0), 0u);
}

} // namespace
