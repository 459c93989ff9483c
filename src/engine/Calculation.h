#pragma once
// One whole calculation on the data set: the engine for one or two independent
// variables, then the analysis of variance. Shared by the window and brekka-calc.
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

class Calculation {
public:
    Calculation(TDMBrekka& data, RunSettings& settings);

    using ProgressFn = std::function<void(const std::string&)>;
    // Runs the engine chosen by VarOption (3 both variables, otherwise one) and,
    // when asked, the analysis of variance. FileName must name the input file;
    // afterwards it names the report (.out) when the run completed.
    CalculationStatus Run(bool withVarianceAnalysis, const ProgressFn& progress = nullptr);

    const CalculationState& State() const { return state_; }
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
