// The tabulated search must write exactly the files of the plain search, in which
// every evaluation runs over the data itself, whatever the number of threads.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "EngineTestSupport.h"
#include "data/DataModule.h"
#include "data/Messages.h"
#include "data/RunSettings.h"
#include "engine/Calculation.h"
#include "engine/CandidateTables.h"

namespace brekka::testing {
namespace {

struct Files {
    std::string out, var, messages;
    CalculationStatus status{};
};

struct Shape {
    const char* name;
    // y of x before noise; z only matters for two variables.
    double (*y)(double x, double z);
};

// A shape for every function type, including jumps and slopes that barely differ.
const std::array<Shape, 10> kShapes{{
    {"flat", [](double, double) { return 3.0; }},
    {"line", [](double x, double) { return 1.0 + 0.4 * x; }},
    {"bend", [](double x, double) { return x < 55 ? 0.5 * x : 27.5 - 0.3 * (x - 55); }},
    {"flat then rising", [](double x, double) { return x < 40 ? 2.0 : 2.0 + 0.2 * (x - 40); }},
    {"rising then flat", [](double x, double) { return x < 70 ? 0.1 * x : 7.0; }},
    {"step", [](double x, double) { return x < 50 ? 1.0 : 4.0; }},
    {"jump with slopes", [](double x, double) { return x < 45 ? 0.2 * x : 20.0 - 0.1 * x; }},
    {"parallel jump", [](double x, double) { return x < 60 ? 0.3 * x : 0.3 * x + 6.0; }},
    {"slight bend", [](double x, double) { return x < 50 ? 0.30 * x : 15.0 + 0.33 * (x - 50); }},
    {"with z",
     [](double x, double z) { return (x < 60 ? 0.2 * x : 12.0) - 0.3 * std::max(z - 8, 0.0); }},
}};

class TabulatedSearch : public ::testing::Test {
protected:
    ScratchDirectory dir;

    Files Run(const std::vector<double>& y, const std::vector<double>& x,
              const std::vector<double>& z, int variables, double criticalValue, bool tabulated,
              int threads, bool wide = true) {
        RecordingMessageSink messages;
        TDMBrekka data(messages);
        FillDataSet(data, y, x);
        if (variables == 2) {
            data.ZData = z;
            data.NrOfVar = 2;
            data.VarOption = 3;
        }
        data.FileName = dir.File("set.inp");
        RunSettings settings;
        settings.CriticalValue = criticalValue;
        settings.TabulatedSearch = tabulated;
        settings.SearchThreads = threads;
        settings.WideVectors = wide;
        Calculation calculation(data, settings);
        Files files;
        files.status = calculation.Run(true);
        files.out = ReadWhole(dir.File("set.out"));
        files.var = ReadWhole(dir.File("set.var"));
        for (const std::string& m : messages.messages) {
            files.messages += m + "\n";
        }
        std::filesystem::remove(dir.File("set.out"));
        std::filesystem::remove(dir.File("set.var"));
        return files;
    }

    void ExpectSameFiles(const std::vector<double>& y, const std::vector<double>& x,
                         const std::vector<double>& z, int variables, double criticalValue,
                         const std::string& what) {
        const Files plain = Run(y, x, z, variables, criticalValue, false, 1);
        for (int threads : {1, 2, 3}) {
            const Files tabulated = Run(y, x, z, variables, criticalValue, true, threads);
            ASSERT_EQ(tabulated.status, plain.status) << what << ", " << threads << " threads";
            ASSERT_EQ(tabulated.out, plain.out) << what << ", " << threads << " threads";
            ASSERT_EQ(tabulated.var, plain.var) << what << ", " << threads << " threads";
            ASSERT_EQ(tabulated.messages, plain.messages) << what << ", " << threads << " threads";
        }
        // The portable passes, for processors without wide vector units.
        const Files portable = Run(y, x, z, variables, criticalValue, true, 2, false);
        ASSERT_EQ(portable.out, plain.out) << what << ", portable passes";
        ASSERT_EQ(portable.var, plain.var) << what << ", portable passes";
    }
};

TEST_F(TabulatedSearch, WritesThePlainSearchFilesForEveryShapeSizeAndConfidence) {
    std::mt19937 generator(2026);
    const std::array<int, 7> sizes{3, 7, 12, 25, 60, 240, 900};
    const std::array<double, 3> criticalValues{1.75, 2.1, 2.5};
    int sets = 0;
    for (const Shape& shape : kShapes) {
        for (int n : sizes) {
            for (int variables : {1, 2}) {
                std::uniform_real_distribution<double> depth(0.0, 100.0);
                std::uniform_real_distribution<double> salinity(0.0, 20.0);
                std::normal_distribution<double> noise(0.0, n < 20 ? 0.05 : 0.8);
                std::vector<double> x(n), y(n), z(n);
                for (int i = 0; i < n; ++i) {
                    // Every fourth set lies on a coarse grid: ties and data exactly on
                    // candidate breakpoints.
                    x[i] = sets % 4 == 0 ? std::round(depth(generator) / 5) * 5 : depth(generator);
                    z[i] = salinity(generator);
                    y[i] = shape.y(x[i], z[i]) + noise(generator);
                }
                const double t = criticalValues[sets % 3];
                ExpectSameFiles(y, x, z, variables, t,
                                std::string(shape.name) + ", " + std::to_string(n) + " data, " +
                                    std::to_string(variables) + " variables");
                ++sets;
            }
        }
    }
    EXPECT_EQ(sets, 140);
}

TEST_F(TabulatedSearch, WritesThePlainSearchFilesForAwkwardData) {
    // Exact lines (residuals of zero), X far from zero, tiny and huge values, a
    // single outlying datum, data where most candidates restart at the minimum.
    std::vector<std::vector<double>> xs, ys;
    auto add = [&](std::vector<double> x, std::vector<double> y) {
        xs.push_back(std::move(x));
        ys.push_back(std::move(y));
    };
    std::vector<double> x, y;
    for (int i = 0; i < 50; ++i) {
        x.push_back(i);
        y.push_back(i < 30 ? 2.0 * i : 60.0);
    }
    add(x, y);
    for (double& v : x) {
        v += 2.0e6;
    }
    add(x, y);
    for (double& v : y) {
        v *= 1e-9;
    }
    add(x, y);
    x.clear();
    y.clear();
    for (int i = 0; i < 40; ++i) {
        x.push_back(i == 39 ? 1000.0 : i * 0.01);
        y.push_back(std::sin(i) + (i == 39 ? 50 : 0));
    }
    add(x, y);
    x.clear();
    y.clear();
    for (int i = 0; i < 30; ++i) {
        x.push_back(i % 2 == 0 ? 1.0 : 2.0);
        y.push_back(i % 2 == 0 ? 5.0 + Wobble(i) : 9.0 + Wobble(i));
    }
    add(x, y);
    x.clear();
    y.clear();
    for (int i = 0; i < 60; ++i) {
        x.push_back(1e140 * (i + 1));
        y.push_back(-1e140 * (i < 20 ? i : 40 - i));
    }
    add(x, y);
    for (size_t k = 0; k < xs.size(); ++k) {
        const std::vector<double> z(xs[k].size(), 0.0);
        ExpectSameFiles(ys[k], xs[k], z, 1, 1.75, "awkward set " + std::to_string(k));
        std::vector<double> zs = xs[k];
        std::reverse(zs.begin(), zs.end());
        ExpectSameFiles(ys[k], xs[k], zs, 2, 2.1, "awkward two-variable set " + std::to_string(k));
    }
}

TEST(CandidateTablesLookup, AnswersOnlyForTabulatedCandidatesAndLines) {
    const std::vector<double> x{1, 2, 3, 4, 5, 6, 7, 8};
    const std::vector<double> y{1, 3, 2, 5, 4, 6, 8, 7};
    const std::vector<double> candidates{1, 4.5};
    CandidateTables tables;
    tables.Build(y, x, candidates, 1, 2);
    EXPECT_EQ(tables.SlotCount(), 2);
    ASSERT_NE(tables.SumsAt(4.5), nullptr);
    EXPECT_EQ(tables.SumsAt(4.5)->at(0).n, 4);
    EXPECT_EQ(tables.SumsAt(4.5)->at(1).sumY, 4 + 6 + 8 + 7);
    EXPECT_EQ(tables.SumsAt(4.0), nullptr);
    double sum = -1;
    // A line no request shapes is not in the tables: the kernel then sums itself.
    EXPECT_FALSE(tables.ResidualSum(4.5, 0, FunctionLine{0.5, 0.25, 123.0}, sum));
    EXPECT_FALSE(tables.ResidualSum(3.0, 0, FunctionLine{}, sum));
    EXPECT_EQ(sum, -1);
}

} // namespace
} // namespace brekka::testing
