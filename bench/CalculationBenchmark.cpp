// Whole calculations (search, report, .var records and the analysis of variance)
// on synthetic field data of growing size.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "FieldData.h"
#include "data/DataModule.h"
#include "data/Messages.h"
#include "data/RunSettings.h"
#include "engine/Calculation.h"
#include "engine/CandidateTables.h"

namespace {

std::string BenchDirectory() {
    const auto dir = std::filesystem::temp_directory_path() / "brekka-bench";
    std::filesystem::create_directories(dir);
    return dir.string();
}

void RunWholeCalculation(benchmark::State& state, int variables, bool tabulated = true) {
    brekka::RecordingMessageSink messages;
    brekka::TDMBrekka data(messages);
    brekka::RunSettings settings;
    settings.TabulatedSearch = tabulated;
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
// Every evaluation over the data itself: what the tables save.
void BM_OneVariableRunPlainSearch(benchmark::State& state) {
    RunWholeCalculation(state, 1, false);
}

// The search's passes over the data alone: side sums and residual sums of every
// candidate, on range(1) threads (0: all cores).
void BM_CandidateTables(benchmark::State& state) {
    brekka::RecordingMessageSink messages;
    brekka::TDMBrekka data(messages);
    FillFieldData(data, static_cast<int>(state.range(0)), 1);
    const auto [low, high] = std::minmax_element(data.XData.begin(), data.XData.end());
    std::vector<double> candidates(100);
    for (int j = 0; j < 100; ++j) {
        candidates[j] = j * ((*high - *low) / 100) + *low;
    }
    for (auto _ : state) {
        brekka::CandidateTables tables;
        tables.Build(data.YData, data.XData, candidates, *low, static_cast<int>(state.range(1)));
        benchmark::DoNotOptimize(tables.SumsAt(candidates[50]));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

} // namespace

BENCHMARK(BM_OneVariableRun)->Arg(2000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TwoVariableRun)->Arg(2000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OneVariableRunPlainSearch)->Arg(2000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CandidateTables)
    ->Args({2000, 1})
    ->Args({100000, 1})
    ->Args({100000, 0})
    ->Unit(benchmark::kMillisecond);
