#pragma once
// One whole calculation on the data set: the engine for one or two independent
// variables, then the analysis of variance. Shared by the window and brekka-calc.
#include <functional>
#include <string>

#include "data/DataModule.h"
#include "data/RunSettings.h"
#include "engine/CalculationState.h"
#include "engine/OneVariableRegression.h"

namespace brekka {

enum class CalculationStatus {
    Completed,      // report and table written
    Refused,        // the engine refused the data (its message was shown)
    ResultFileError // a result file could not be written or read back
};

class Calculation {
  public:
    Calculation(TDMBrekka& data, RunSettings& settings);

    using ProgressFn = std::function<void(const std::string&)>;
    // Runs the engine chosen by VarOption (0 one variable, 3 two) and, when asked,
    // the analysis of variance. FileName must name the input file; afterwards it
    // names the report (.out) when the run completed.
    CalculationStatus Run(bool withVarianceAnalysis, const ProgressFn& progress = nullptr);

    const CalculationState& State() const { return state_; }
    // The function type the report shows (0..6).
    int ReportedType() const;

  private:
    TDMBrekka& data_;
    RunSettings& settings_;
    CalculationState state_;
};

} // namespace brekka
