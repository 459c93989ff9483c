// brekka-calc: the whole calculation of Brekka from the command line, and the
// graphs of its reports (subcommand graph).
#include <CLI/CLI.hpp>

#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "app/calc_batch.h"
#include "app/calc_graph.h"

namespace {

using brekka::kExitBadInput;
using brekka::kExitOk;

void PrintUsage(std::ostream& out) {
    out << "Usage: brekka-calc [--confidence 90|95|98] [--no-anova] [--jobs N] [--threads N] "
           "FILE...\n"
           "       brekka-calc graph [--kind KIND] [--bw] [--no-belt] [--no-block] REPORT.out "
           "IMAGE\n"
           "\n"
           "Finds the best broken line of Y on X (or on X and Z) for the data of each\n"
           "input FILE (.inp, or .csv/.txt columns Y, X and Z) and writes the report\n"
           "FILE.out and the analysis-of-variance table FILE.var beside it. Prints one\n"
           "summary line per file: its number of data, function type, breakpoint\n"
           "(or \"none\") and coefficient of explanation (CE).\n"
           "\n"
           "  --confidence N  minimum confidence in per cent: 90 (default), 95 or 98\n"
           "  --no-anova      leave the sums of squares in FILE.var, without the table\n"
           "  --jobs N        calculate N files at the same time (default 1)\n"
           "  --threads N     threads of one calculation (default: all cores, shared\n"
           "                  among the jobs); the results do not depend on it\n"
           "  --help          show this text (brekka-calc graph --help: the graphs)\n"
           "  --version       show the version\n"
           "\n"
           "Exit status, the highest of the files': 0 done (warnings included), 1 a\n"
           "result file could not be written, 2 bad arguments or an unreadable or\n"
           "damaged input file, 3 the data cannot be regressed.\n";
}

int BadArguments(const std::string& message) {
    std::cerr << "brekka-calc: " << message << "\n";
    PrintUsage(std::cerr);
    return kExitBadInput;
}

// A whole number of at least 1 for --jobs or --threads, or -1.
int PositiveCount(const std::string& text) {
    if (text.empty() || text.size() > 4 ||
        text.find_first_not_of("0123456789") != std::string::npos) {
        return -1;
    }
    const int value = std::atoi(text.c_str());
    return value >= 1 ? value : -1;
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
    std::string jobs = "1";
    std::string threads;
    std::vector<std::string> inputs;
    app.add_flag("-h,--help", help);
    app.add_flag("--version", version);
    app.add_flag("--no-anova", noAnova);
    app.add_option("--confidence", confidence)
        ->allow_extra_args(false)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    app.add_option("--jobs", jobs)->allow_extra_args(false);
    app.add_option("--threads", threads)->allow_extra_args(false);
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
        const std::string what = error.what();
        if (what.find("--confidence") != std::string::npos) {
            return BadArguments("--confidence needs a value: 90, 95 or 98");
        }
        for (const char* option : {"--jobs", "--threads"}) {
            if (what.find(option) != std::string::npos) {
                return BadArguments(std::string(option) + " needs a number of at least 1");
            }
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
    brekka::BatchOptions options;
    options.withAnova = !noAnova;
    for (const std::string& value : confidence) {
        if (value != "90" && value != "95" && value != "98") {
            return BadArguments("the confidence must be 90, 95 or 98, not \"" + value + "\"");
        }
        options.confidence = std::atoi(value.c_str());
    }
    options.jobs = PositiveCount(jobs);
    if (options.jobs < 0) {
        return BadArguments("--jobs needs a number of at least 1, not \"" + jobs + "\"");
    }
    if (!threads.empty()) {
        options.threads = PositiveCount(threads);
        if (options.threads < 0) {
            return BadArguments("--threads needs a number of at least 1, not \"" + threads + "\"");
        }
    }
    if (inputs.empty()) {
        return BadArguments("no input file given");
    }
    if (const std::string shared = brekka::SharedResultFiles(inputs); !shared.empty()) {
        return BadArguments(shared);
    }
    return brekka::CalculateFiles(inputs, options);
}
