// Reading a report of 2000 rows back for its graph, planning the graph, and
// drawing it onto the 623 x 465 picture.
#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

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
    std::mt19937 generator(4242);
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
