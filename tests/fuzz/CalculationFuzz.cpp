// The whole calculation on every input file the reader accepts (up to a few
// hundred rows): the engines, the analysis of variance and the output tab's read
// of the report and the graphs' read of it. No written file may show a value that is not a finite
// number.
#include <cstdint>
#include <filesystem>
#include <string>

#include "FuzzSupport.h"
#include "GraphChecks.h"
#include "data/DataModule.h"
#include "data/GraphReader.h"
#include "data/RunSettings.h"
#include "engine/Calculation.h"

using namespace brekka;
using namespace brekka::fuzz;

namespace {

constexpr int kMaxRows = 300;

bool ShowsNonFiniteWord(const std::string& text) {
    return FindNonFiniteWord(text) != std::string::npos;
}

void CheckWrittenFiles(const ProcessTempDir& dir) {
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path(), ignored)) {
        if (entry.path().extension() == ".inp") {
            continue;
        }
        const std::string text = ReadBytes(entry.path());
        const size_t pos = FindNonFiniteWord(text);
        FUZZ_CHECK(pos == std::string::npos, entry.path().filename().string() + ": ..." +
                                                 text.substr(pos < 60 ? 0 : pos - 60, 120) + "...");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    const ProcessTempDir& dir = TempDir();
    dir.Clear();
    const std::string path = dir.File("data.inp");
    WriteBytes(path, bytes, size);

    RecordingMessageSink sink;
    TDMBrekka data(sink);
    data.FileName = path;
    if (!data.ReadInputFile() || data.NrOfData > kMaxRows) {
        return 0;
    }
    // The reports repeat the titles; a title that reads "nan" is the user's text.
    if (ShowsNonFiniteWord(data.Title1) || ShowsNonFiniteWord(data.Title2) ||
        ShowsNonFiniteWord(path)) {
        return 0;
    }
    // The lengths of the titles choose what the window would: which variable of two
    // (or both), and the minimum confidence.
    if (data.NrOfVar == 2) {
        static constexpr int kOptions[] = {3, 1, 2};
        data.VarOption = kOptions[data.Title2.size() % 3];
    } else {
        data.VarOption = 0;
    }
    static constexpr int kConfidences[] = {90, 95, 98};
    RunSettings settings;
    settings.CriticalValue = CriticalValueForConfidence(kConfidences[data.Title1.size() % 3]);

    Calculation calculation(data, settings);
    const CalculationStatus status = calculation.Run(true);
    CheckWrittenFiles(dir);
    if (status == CalculationStatus::Refused) {
        FUZZ_CHECK(!sink.messages.empty(), "refused without a message");
        return 0;
    }
    FUZZ_CHECK(status != CalculationStatus::ResultFileError, "result files not written");
    FUZZ_CHECK(status != CalculationStatus::TableFailed,
               sink.messages.empty() ? "" : sink.messages.back());
    FUZZ_CHECK(data.FileName == dir.File("data.out"), data.FileName);
    FUZZ_CHECK(data.ReadResultFile(data.FileName, ".out", true),
               sink.messages.empty() ? "" : sink.messages.back());

    // Every report the calculation writes can be drawn from.
    GraphData graphData;
    GraphState graphState;
    try {
        ReadOutputForGraph(data.FileName, graphData, graphState);
    } catch (const ReportReadError& error) {
        Fail("the graphs cannot read the report just written:", error.what());
    }
    PlanEveryGraph(graphState, graphData, GraphChoice{});
    return 0;
}
