// Whole calculations (search, report, .var records and the analysis of variance)
// on synthetic field data of growing size.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <string>

#include "data/DataModule.h"
#include "data/Messages.h"
#include "data/RunSettings.h"
#include "engine/Calculation.h"

namespace {

std::string BenchDirectory() {
    const auto dir = std::filesystem::temp_directory_path() / "brekka-bench";
    std::filesystem::create_directories(dir);
    return dir.string();
}

// Yield rising with the depth of the water table up to a breakpoint, then flat,
// lowered by salinity above a threshold, with field noise.
void FillFieldData(brekka::TDMBrekka& data, int rows, int variables) {
    std::mt19937 generator(12345);
    std::uniform_real_distribution<double> depth(20.0, 160.0);
    std::uniform_real_distribution<double> salinity(1.0, 16.0);
    std::normal_distribution<double> noise(0.0, 0.25);
    data.Resize(rows);
    data.NrOfVar = variables;
    data.VarOption = variables == 1 ? 0 : 3;
    for (int i = 0; i < rows; ++i) {
        const double x = depth(generator);
        const double z = salinity(generator);
        double y = x < 80 ? 1.5 + 0.05 * (x - 20) : 4.5;
        if (variables == 2 && z > 6) {
            y -= 0.15 * (z - 6);
        }
        data.SerialNr[i] = i + 1;
        data.YData[i] = y + noise(generator);
        data.XData[i] = x;
        data.ZData[i] = z;
    }
}

void RunWholeCalculation(benchmark::State& state, int variables) {
    brekka::RecordingMessageSink messages;
    brekka::TDMBrekka data(messages);
    brekka::RunSettings settings;
    FillFieldData(data, static_cast<int>(state.range(0)), variables);
    const std::string input = BenchDirectory() + "/bench" + std::to_string(variables) + ".inp";
    for (auto _ : state) {
        data.FileName = input;
        brekka::Calculation calculation(data, settings);
        benchmark::DoNotOptimize(calculation.Run(true));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_OneVariableRun(benchmark::State& state) {
    RunWholeCalculation(state, 1);
}
void BM_TwoVariableRun(benchmark::State& state) {
    RunWholeCalculation(state, 2);
}

} // namespace

BENCHMARK(BM_OneVariableRun)->Arg(2000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TwoVariableRun)->Arg(2000)->Arg(100000)->Unit(benchmark::kMillisecond);
