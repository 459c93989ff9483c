// brekka-calc over several input files: the worst status, a summary line per
// file in the order given, and parallel runs that write what sequential ones do.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/CalcCommand.h"

using brekka::testing::CommandResult;
using brekka::testing::ReadWhole;
using brekka::testing::RunCalc;
using brekka::testing::TempDir;

namespace {

void CopyExample(const TempDir& dir, const std::string& name, const std::string& as) {
    std::filesystem::copy_file(std::filesystem::path(BREKKA_EXAMPLES_DIR) / name, dir.File(as));
}

// The lines of a text, without their ends.
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

// Eight field plots: the two examples under several names, and a column file.
std::vector<std::string> FillPlots(const TempDir& dir) {
    std::vector<std::string> names;
    for (int k = 0; k < 3; ++k) {
        names.push_back("plot" + std::to_string(k) + ".inp");
        CopyExample(dir, "yield-watertable.inp", names.back());
        names.push_back("plot" + std::to_string(k) + "z.inp");
        CopyExample(dir, "yield-watertable-salinity.inp", names.back());
    }
    std::ofstream csv(dir.File("columns.csv"), std::ios::binary);
    csv << "yield;depth\n";
    for (int i = 0; i < 30; ++i) {
        csv << (i < 18 ? 1.0 + 0.2 * i : 4.6) + 0.01 * (i % 3) << ';' << 10 + 3 * i << '\n';
    }
    names.push_back("columns.csv");
    return names;
}

std::string Joined(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) {
        text += name + " ";
    }
    return text;
}

} // namespace

TEST(CalcBatch, EveryFileGetsItsFilesAndASummaryLineInOrder) {
    TempDir dir;
    const std::vector<std::string> names = FillPlots(dir);
    const CommandResult result = RunCalc(dir, Joined(names));
    ASSERT_EQ(result.status, 0) << result.err;
    const std::vector<std::string> lines = Lines(result.out);
    ASSERT_EQ(lines.size(), names.size()) << result.out;
    EXPECT_EQ(lines[0], "plot0.inp: 40 data, type 4, breakpoint 81.520, CE 0.934");
    EXPECT_EQ(lines[1], "plot0z.inp: 48 data, types 1 (Y-X) and 3 (YXr-Z), breakpoints none "
                        "and 7.870, CE 0.829");
    EXPECT_EQ(lines.back().rfind("columns.csv: 30 data, type ", 0), 0u) << lines.back();
    for (const std::string& name : names) {
        const std::string base = name.substr(0, name.find('.'));
        EXPECT_TRUE(std::filesystem::exists(dir.File(base + ".out"))) << name;
        EXPECT_TRUE(std::filesystem::exists(dir.File(base + ".var"))) << name;
    }
    // A column file's report names it, not an input file that does not exist.
    EXPECT_NE(ReadWhole(dir.File("columns.out"))
                  .find(" Name of input file used :  " + dir.File("columns.csv").string() + "\r\n"),
              std::string::npos);
    // With several files each message says which file it is about.
    for (const std::string& message : Lines(result.err)) {
        EXPECT_NE(message.find(".inp: "), std::string::npos) << message;
    }
}

TEST(CalcBatch, ParallelJobsAndThreadsWriteTheFilesOfASequentialRun) {
    TempDir sequential;
    TempDir parallel;
    const std::vector<std::string> names = FillPlots(sequential);
    FillPlots(parallel);
    const CommandResult one = RunCalc(sequential, "--threads 1 " + Joined(names));
    const CommandResult many = RunCalc(parallel, "--jobs 3 --threads 2 " + Joined(names));
    ASSERT_EQ(one.status, 0);
    ASSERT_EQ(many.status, 0);
    EXPECT_EQ(one.out, many.out);
    EXPECT_EQ(one.err, many.err);
    for (const std::string& name : names) {
        const std::string base = name.substr(0, name.find('.'));
        for (const char* kind : {".out", ".var"}) {
            // The reports name their own folder; compare the rest.
            std::string a = ReadWhole(sequential.File(base + kind));
            std::string b = ReadWhole(parallel.File(base + kind));
            const std::string from = sequential.Path().string();
            const std::string to = parallel.Path().string();
            for (size_t at = a.find(from); at != std::string::npos; at = a.find(from, at)) {
                a.replace(at, from.size(), to);
            }
            EXPECT_EQ(a, b) << base << kind;
        }
    }
}

TEST(CalcBatch, TheWorstStatusWinsAndTheOtherFilesAreStillCalculated) {
    TempDir dir;
    CopyExample(dir, "yield-watertable.inp", "good.inp");
    std::ofstream(dir.File("flat.csv"), std::ios::binary) << "1,5\n2,5\n3,5\n4,5\n";
    std::ofstream(dir.File("damaged.inp"), std::ios::binary) << "only a title\r\n";

    const CommandResult refused = RunCalc(dir, "good.inp flat.csv damaged.inp");
    EXPECT_EQ(refused.status, 3);
    const std::vector<std::string> lines = Lines(refused.out);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1], "flat.csv: no result (status 3)");
    EXPECT_EQ(lines[2], "damaged.inp: no result (status 2)");
    EXPECT_NE(refused.err.find("flat.csv: The database is not fit"), std::string::npos)
        << refused.err;
    EXPECT_TRUE(std::filesystem::exists(dir.File("good.out")));

    EXPECT_EQ(RunCalc(dir, "--jobs 2 good.inp missing.inp").status, 2);
    EXPECT_EQ(RunCalc(dir, "good.inp").status, 0);
}

TEST(CalcBatch, TwoInputsThatWouldWriteOneReportAreRefusedBeforeAnyRun) {
    TempDir dir;
    CopyExample(dir, "yield-watertable.inp", "plot.inp");
    std::ofstream(dir.File("plot.csv"), std::ios::binary) << "1,1\n2,2\n3,3\n4,5\n";
    const CommandResult result = RunCalc(dir, "plot.inp plot.csv");
    EXPECT_EQ(result.status, 2);
    EXPECT_NE(result.err.find("would both write"), std::string::npos) << result.err;
    EXPECT_FALSE(std::filesystem::exists(dir.File("plot.out")));
}
