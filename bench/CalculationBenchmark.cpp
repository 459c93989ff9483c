// Whole calculations (search, report, .var records and the analysis of variance)
// on synthetic field data of growing size.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <string>

#include "FieldData.h"
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
