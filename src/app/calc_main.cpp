// brekka-calc: the whole calculation of Brekka from the command line, and the
// graphs of its reports (subcommand graph).
#include <CLI/CLI.hpp>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "app/calc_graph.h"
#include "data/DataModule.h"
#include "data/InputFileName.h"
#include "data/RunSettings.h"
#include "engine/Calculation.h"

namespace {

constexpr int kExitOk = 0;
constexpr int kExitWriteFailed = 1;
constexpr int kExitBadInput = 2;
constexpr int kExitRefused = 3;

// Every message the window would show in a box goes to standard error, one per line.
class StderrMessageSink : public brekka::MessageSink {
public:
    void ShowMessage(const std::string& text) override { std::cerr << text << '\n'; }
    bool AskYesNo(const std::string& question) override {
        std::cerr << question << " (answered yes)\n";
        return true;
    }
};

void PrintUsage(std::ostream& out) {
    out << "Usage: brekka-calc [--confidence 90|95|98] [--no-anova] FILE.inp\n"
           "\n"
           "Finds the best broken line of Y on X (or on X and Z) for the data of\n"
           "FILE.inp and writes the report FILE.out and the analysis-of-variance\n"
           "table FILE.var beside it.\n"
           "\n"
           "  --confidence N  minimum confidence in per cent: 90 (default), 95 or 98\n"
           "  --no-anova      leave the sums of squares in FILE.var, without the table\n"
           "  --help          show this text\n"
           "  --version       show the version\n"
           "\n"
           "Exit status: 0 done (warnings included), 1 a result file could not be\n"
           "written, 2 bad arguments or an unreadable or damaged input file, 3 the\n"
           "data cannot be regressed.\n";
}

int BadArguments(const std::string& message) {
    std::cerr << "brekka-calc: " << message << "\n";
    PrintUsage(std::cerr);
    return kExitBadInput;
}

int RunCalculation(const std::string& inputFile, int confidence, bool withAnova) {
    if (brekka::IsResultFileName(inputFile)) {
        std::cerr << brekka::ResultFileAsInputMessage(inputFile) << "\n";
        return kExitBadInput;
    }
    StderrMessageSink messages;
    brekka::TDMBrekka data(messages);
    brekka::RunSettings settings;
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(inputFile, ec);
    data.FileName = ec ? inputFile : absolute.lexically_normal().string();
    if (!std::filesystem::is_regular_file(data.FileName, ec)) {
        std::cerr << "The file \"" << data.FileName << "\" does not exist or is not a file.\n";
        return kExitBadInput;
    }
    if (!data.ReadInputFile()) {
        return kExitBadInput;
    }
    data.VarOption = data.NrOfVar == 1 ? 0 : 3;
    settings.CriticalValue = brekka::CriticalValueForConfidence(confidence);

    brekka::Calculation calculation(data, settings);
    switch (calculation.Run(withAnova)) {
    case brekka::CalculationStatus::Refused:
        return kExitRefused;
    case brekka::CalculationStatus::ResultFileError:
    case brekka::CalculationStatus::TableFailed:
        return kExitWriteFailed;
    case brekka::CalculationStatus::Completed:
        break;
    }
    return kExitOk;
}

} // namespace

int main(int argc, char** argv) {
    CLI::App app("brekka-calc");
    app.set_help_flag();
    app.allow_extras();
    bool help = false;
    bool version = false;
    bool noAnova = false;
    std::vector<std::string> confidence;
    std::vector<std::string> inputs;
    app.add_flag("-h,--help", help);
    app.add_flag("--version", version);
    app.add_flag("--no-anova", noAnova);
    app.add_option("--confidence", confidence)
        ->allow_extra_args(false)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    app.add_option("FILE", inputs);
    brekka::GraphCommandOptions graphOptions;
    CLI::App* graph = brekka::AddGraphCommand(app, graphOptions);

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        if (graph->parsed()) {
            std::cerr << "brekka-calc graph: " << error.what() << "\n";
            brekka::PrintGraphUsage(std::cerr);
            return kExitBadInput;
        }
        if (std::string(error.what()).find("--confidence") != std::string::npos) {
            return BadArguments("--confidence needs a value: 90, 95 or 98");
        }
        return BadArguments(error.what());
    }
    if (graph->parsed()) {
        return brekka::RunGraphCommand(graphOptions, argc, argv, graph->remaining());
    }
    if (help) {
        PrintUsage(std::cout);
        return kExitOk;
    }
    if (version) {
        std::cout << "brekka-calc " << BREKKA_VERSION << "\n";
        return kExitOk;
    }
    for (const std::string& extra : app.remaining()) {
        if (!extra.empty() && extra[0] == '-' && extra != "-") {
            return BadArguments("unknown option \"" + extra + "\"");
        }
        inputs.push_back(extra);
    }
    int percent = 90;
    for (const std::string& value : confidence) {
        if (value != "90" && value != "95" && value != "98") {
            return BadArguments("the confidence must be 90, 95 or 98, not \"" + value + "\"");
        }
        percent = std::atoi(value.c_str());
    }
    if (inputs.size() > 1) {
        return BadArguments("only one input file can be given");
    }
    if (inputs.empty()) {
        return BadArguments("no input file given");
    }
    return RunCalculation(inputs.front(), percent, !noAnova);
}
