#pragma once
// The one-variable engine: searches the best broken line of Y on X over 100
// candidate breakpoints and writes the report (.out) and the sums-of-squares
// record (.var) beside the input file.
#include <array>
#include <span>
#include <string>

#include "data/DataModule.h"
#include "data/RunSettings.h"
#include "engine/CalculationState.h"
#include "engine/CandidateTables.h"
#include "text/TextFile.h"

namespace brekka {

enum class RunStatus {
    Completed, // report and .var written
    Refused,   // the data cannot be regressed; NoVariationFlag is set, no files
    FileError, // a result file could not be written (a message was shown)
};

// Weight factor that favours simpler function types on small data sets.
double OneVariableWeightFactor(int nrOfData);

// True (after the message) when a value is too large in magnitude to square.
bool RefuseUnmanageableValues(const TDMBrekka& data, bool withZ, MessageSink& messages);

// Result of the breakpoint search over one variable.
struct OneVariableSearch {
    double CE1 = 0;
    double M3 = 0, M4 = 0, M5 = 0, M2 = 0, M6 = 0;
};

class OneVariableEngine {
public:
    OneVariableEngine(TDMBrekka& data, RunSettings& settings, CalculationState& state);

    // The whole run; leaves data.FileName ending in ".var".
    RunStatus RunOneVariableRegression();

    // 1 two disconnected sloping segments, 2 one of them horizontal, 3 parallel.
    int Type6Kind = 1;
    // The coefficient of explanation of the reported function.
    double ReportedCE = 0;
    // The function type as the report names it (a type 6 by its kind: 6, 7 or 8).
    int ReportedType() const;
    const OneVariableSearch& Search() const { return search_; }

private:
    TDMBrekka& data_;
    RunSettings& settings_;
    CalculationState& state_;
    OneVariableSearch search_;
    std::array<double, 100> candidates_{};
    CandidateTables tables_;
    std::string inputName_;
    TextFileWriter out_;
    TextFileWriter var_;

    std::span<const double> Y() const { return data_.YData; }
    std::span<const double> X() const { return data_.XData; }
    bool ZInXPlace() const { return data_.VarOption == 2; }
    const TypeChoices& Choices() const;
    const CandidateTables* Tables() const;

    void SearchBestFunction();
    void SearchStage(int requestType, int method, double& threshold, bool needsAboveXmin,
                     int acceptedType);
    bool WriteReport();

    // Report writers.
    void WriteReportHeader(int kind);
    void WriteReportDetails(double bp, int t);
    void WriteParameterBlock(int t, int method, double bp, double ce, double stDevDiffYav);
    void WriteSummary();
};

} // namespace brekka
