// Reading a report of 2000 rows back for its graph, planning the graph, and
// drawing it onto the 623 x 465 picture.
#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "FieldData.h"
#include "data/DataModule.h"
#include "data/GraphReader.h"
#include "data/Messages.h"
#include "data/RunSettings.h"
#include "engine/Calculation.h"
#include "graphs/drawing/GraphDrawing.h"

namespace {

// A real report of `rows` rows made by a whole calculation, once per variable count.
const std::string& ReportText(int rows, int variables) {
    static std::string texts[3];
    std::string& text = texts[variables];
    if (!text.empty()) {
        return text;
    }
    const auto dir = std::filesystem::temp_directory_path() / "brekka-bench";
    std::filesystem::create_directories(dir);
    brekka::RecordingMessageSink messages;
    brekka::TDMBrekka data(messages);
    brekka::RunSettings settings;
    FillFieldData(data, rows, variables, 4242);
    const std::string base = (dir / ("graph" + std::to_string(variables))).string();
    data.FileName = base + ".inp";
    brekka::Calculation calculation(data, settings);
    calculation.Run(false);
    std::ifstream in(base + ".out", std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    text = content.str();
    return text;
}

void EnsureGuiApplication() {
    static int argc = 1;
    static char name[] = "brekka_bench";
    static char* argv[] = {name, nullptr};
    if (QGuiApplication::instance() == nullptr) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        new QGuiApplication(argc, argv);
    }
}

void BM_ReadReportForGraph(benchmark::State& state) {
    const std::string& text = ReportText(2000, static_cast<int>(state.range(0)));
    for (auto _ : state) {
        brekka::GraphData data;
        brekka::GraphState graph;
        brekka::ReadOutputTextForGraph(text, "bench.out", data, graph);
        benchmark::DoNotOptimize(data.NrOfData);
    }
}

void BM_ReadPlanAndDrawGraph(benchmark::State& state) {
    EnsureGuiApplication();
    const int variables = static_cast<int>(state.range(0));
    const std::string& text = ReportText(2000, variables);
    brekka::GraphChoice choice;
    choice.GraphKind = variables == 1 ? 0 : 1;
    for (auto _ : state) {
        brekka::GraphData data;
        brekka::GraphState graph;
        brekka::ReadOutputTextForGraph(text, "bench.out", data, graph);
        brekka::GraphPlanResult plan = brekka::PlanGraph(graph, data, choice);
        QImage image = brekka::DrawGraph(*plan.plan);
        benchmark::DoNotOptimize(image.constBits());
    }
}

} // namespace

BENCHMARK(BM_ReadReportForGraph)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadPlanAndDrawGraph)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
