#include "app/calc_batch.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <filesystem>
#include <iostream>
#include <map>
#include <mutex>
#include <optional>
#include <thread>

#include "data/DataModule.h"
#include "data/InputFileName.h"
#include "data/RunSettings.h"
#include "engine/Calculation.h"
#include "engine/CandidateTables.h"
#include "text/NumberFormat.h"

namespace brekka {

namespace {

// Every message the window would show in a box is kept for standard error.
class CollectingMessageSink : public MessageSink {
public:
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    bool AskYesNo(const std::string& question) override {
        messages.push_back(question + " (answered yes)");
        return true;
    }
    std::vector<std::string> messages;
};

std::string AbsoluteName(const std::string& file) {
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(file, ec);
    return ec ? file : absolute.lexically_normal().string();
}

std::string Decimals(double value) {
    const std::string text = RealField(value, 0, 3);
    return text.substr(text.find_first_not_of(' '));
}

std::string BreakpointText(const RunSummary& s, int k) {
    return s.withBreakpoint[k] ? Decimals(s.breakpoints[k]) : "none";
}

std::string SummaryLine(const std::string& file, const RunSummary& s) {
    std::string line = file + ": " + std::to_string(s.nrOfData) + " data, ";
    if (s.variables == 1) {
        line += "type " + std::to_string(s.types[0]) + ", breakpoint " + BreakpointText(s, 0);
    } else {
        const bool onX = s.sequence != 2;
        line += "types " + std::to_string(s.types[0]) + (onX ? " (Y-X) and " : " (Y-Z) and ") +
                std::to_string(s.types[1]) + (onX ? " (YXr-Z)" : " (YZr-X)") + ", breakpoints " +
                BreakpointText(s, 0) + " and " + BreakpointText(s, 1);
    }
    return line + ", CE " + Decimals(s.ce);
}

int StatusOf(CalculationStatus status) {
    switch (status) {
    case CalculationStatus::Refused:
        return kExitRefused;
    case CalculationStatus::ResultFileError:
    case CalculationStatus::TableFailed:
        return kExitWriteFailed;
    case CalculationStatus::Completed:
        break;
    }
    return kExitOk;
}

void Print(const std::string& file, const FileOutcome& outcome, bool several) {
    for (const std::string& message : outcome.messages) {
        std::cerr << (several ? file + ": " : std::string()) << message << '\n';
    }
    std::cout << outcome.summary << '\n';
}

} // namespace

FileOutcome CalculateFile(const std::string& inputFile, const BatchOptions& options) {
    FileOutcome outcome;
    auto fail = [&](int status) {
        outcome.status = status;
        outcome.summary = inputFile + ": no result (status " + std::to_string(status) + ")";
        return outcome;
    };
    if (IsResultFileName(inputFile)) {
        outcome.messages.push_back(ResultFileAsInputMessage(inputFile));
        return fail(kExitBadInput);
    }
    CollectingMessageSink messages;
    TDMBrekka data(messages);
    RunSettings settings;
    data.FileName = AbsoluteName(inputFile);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(data.FileName, ec)) {
        outcome.messages.push_back("The file \"" + data.FileName +
                                   "\" does not exist or is not a file.");
        return fail(kExitBadInput);
    }
    if (!data.ReadInputFile()) {
        outcome.messages = messages.messages;
        return fail(kExitBadInput);
    }
    data.VarOption = data.NrOfVar == 1 ? 0 : 3;
    settings.CriticalValue = CriticalValueForConfidence(options.confidence);
    settings.SearchThreads = options.threads;

    Calculation calculation(data, settings);
    const CalculationStatus result = calculation.Run(options.withAnova);
    const int status = StatusOf(result);
    outcome.messages = messages.messages;
    // Without a report there is nothing to sum up; a report without its table is.
    if (result != CalculationStatus::Completed && result != CalculationStatus::TableFailed) {
        return fail(status);
    }
    outcome.status = status;
    outcome.summary = SummaryLine(inputFile, calculation.Summary());
    return outcome;
}

std::string SharedResultFiles(const std::vector<std::string>& inputFiles) {
    std::map<std::string, std::string> reports;
    for (const std::string& file : inputFiles) {
        const std::string report = ChangeFileExt(AbsoluteName(file), ".out");
        const auto [it, added] = reports.emplace(report, file);
        if (!added) {
            return "\"" + it->second + "\" and \"" + file + "\" would both write \"" + report +
                   "\"; calculate them in separate runs.";
        }
    }
    return {};
}

int CalculateFiles(const std::vector<std::string>& inputFiles, const BatchOptions& options) {
    const bool several = inputFiles.size() > 1;
    const int jobs = std::clamp(options.jobs, 1, std::max(1, static_cast<int>(inputFiles.size())));
    BatchOptions each = options;
    if (each.threads == 0 && jobs > 1) {
        // The cores are shared among the files calculated at the same time.
        each.threads = std::max(1, SearchThreadCount(0) / jobs);
    }
    int worst = kExitOk;
    if (jobs == 1) {
        for (const std::string& file : inputFiles) {
            const FileOutcome outcome = CalculateFile(file, each);
            Print(file, outcome, several);
            worst = std::max(worst, outcome.status);
        }
        return worst;
    }

    // Workers take the files in turn; the outcomes are printed in the files' order.
    std::vector<std::optional<FileOutcome>> outcomes(inputFiles.size());
    std::mutex mutex;
    std::condition_variable done;
    std::atomic<size_t> next{0};
    std::vector<std::jthread> workers;
    for (int w = 0; w < jobs; ++w) {
        workers.emplace_back([&] {
            for (size_t k = next++; k < inputFiles.size(); k = next++) {
                FileOutcome outcome = CalculateFile(inputFiles[k], each);
                std::lock_guard lock(mutex);
                outcomes[k] = std::move(outcome);
                done.notify_all();
            }
        });
    }
    for (size_t k = 0; k < inputFiles.size(); ++k) {
        std::unique_lock lock(mutex);
        done.wait(lock, [&] { return outcomes[k].has_value(); });
        Print(inputFiles[k], *outcomes[k], several);
        worst = std::max(worst, outcomes[k]->status);
    }
    return worst;
}

} // namespace brekka
