#pragma once
// One whole calculation on the data set: the engine for one or two independent
// variables, then the analysis of variance. Shared by the window and brekka-calc.
#include <array>
#include <functional>
#include <string>

#include "data/DataModule.h"
#include "data/RunSettings.h"
#include "engine/CalculationState.h"
#include "engine/OneVariableRegression.h"
#include "engine/TwoVariableRegression.h"

namespace brekka {

enum class CalculationStatus {
    Completed,       // report and table written
    Refused,         // the engine refused the data (its message was shown)
    ResultFileError, // a result file could not be written
    TableFailed      // the report is written, the table could not be made (message shown)
};

// What a completed run found, for one line of a batch summary.
struct RunSummary {
    int variables = 1;
    int nrOfData = 0;
    // Two variables: 1 when the first relation is on X, 2 when it is on Z.
    int sequence = 1;
    // The reported function type of the (first and second) relation, and its
    // breakpoint when it has one.
    std::array<int, 2> types{};
    std::array<bool, 2> withBreakpoint{};
    std::array<double, 2> breakpoints{};
    // The coefficient of explanation of the function (two variables: the overall one).
    double ce = 0;
};

class Calculation {
public:
    Calculation(TDMBrekka& data, RunSettings& settings);

    using ProgressFn = std::function<void(const std::string&)>;
    // Runs the engine chosen by VarOption (3 both variables, otherwise one) and,
    // when asked, the analysis of variance. FileName must name the input file;
    // afterwards it names the report (.out) when the run completed.
    CalculationStatus Run(bool withVarianceAnalysis, const ProgressFn& progress = nullptr);

    const CalculationState& State() const { return state_; }
    // Of the last completed run.
    RunSummary Summary() const;
    const TwoVariableState& TwoVariables() const { return two_.State(); }

private:
    TDMBrekka& data_;
    RunSettings& settings_;
    CalculationState state_;
    OneVariableEngine one_;
    TwoVariableEngine two_;

    // False when the table could not be made (no variation in Y is not a failure).
    bool RunVarianceAnalysisFor(const std::string& inputName);
};

} // namespace brekka
