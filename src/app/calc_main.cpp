// brekka-calc: the whole calculation of Brekka from the command line.
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>

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

} // namespace

int main(int argc, char** argv) {
    int confidence = 90;
    bool withAnova = true;
    std::string inputFile;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            PrintUsage(std::cout);
            return kExitOk;
        }
        if (arg == "--version") {
            std::cout << "brekka-calc " << BREKKA_VERSION << "\n";
            return kExitOk;
        }
        if (arg == "--no-anova") {
            withAnova = false;
        } else if (arg == "--confidence" || arg.rfind("--confidence=", 0) == 0) {
            std::string value;
            if (arg == "--confidence") {
                if (i + 1 >= argc) {
                    return BadArguments("--confidence needs a value: 90, 95 or 98");
                }
                value = argv[++i];
            } else {
                value = arg.substr(std::string("--confidence=").size());
            }
            if (value != "90" && value != "95" && value != "98") {
                return BadArguments("the confidence must be 90, 95 or 98, not \"" + value + "\"");
            }
            confidence = std::atoi(value.c_str());
        } else if (!arg.empty() && arg[0] == '-' && arg != "-") {
            return BadArguments("unknown option \"" + arg + "\"");
        } else if (!inputFile.empty()) {
            return BadArguments("only one input file can be given");
        } else {
            inputFile = arg;
        }
    }
    if (inputFile.empty()) {
        return BadArguments("no input file given");
    }
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
