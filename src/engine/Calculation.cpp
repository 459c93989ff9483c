#include "engine/Calculation.h"

#include "data/InputFileName.h"
#include "engine/VarianceAnalysis.h"

namespace brekka {

Calculation::Calculation(TDMBrekka& data, RunSettings& settings)
    : data_(data), settings_(settings), one_(data, settings, state_), two_(data, settings, state_) {
}

CalculationStatus Calculation::Run(bool withVarianceAnalysis, const ProgressFn& progress) {
    auto report = [&](const char* text) {
        if (progress) {
            progress(text);
        }
    };
    report(" Progress 25% ....");
    if (data_.NrOfData > 2000) {
        report(" Many data ......");
        report(" This takes time ...");
    }
    settings_.DecimalSeparator = '.';
    const std::string inputName = data_.FileName;
    // The results are named by replacing the extension: they would overwrite such
    // an input file.
    if (IsResultFileName(inputName)) {
        data_.Messages().ShowMessage(ResultFileAsInputMessage(inputName));
        return CalculationStatus::Refused;
    }

    const RunStatus status =
        data_.VarOption == 3 ? two_.RunTwoVariableRegression() : one_.RunOneVariableRegression();
    if (status != RunStatus::Completed) {
        data_.FileName = inputName;
        return status == RunStatus::Refused ? CalculationStatus::Refused
                                            : CalculationStatus::ResultFileError;
    }

    report(" Calculating ....");
    bool tableFailed = false;
    if (withVarianceAnalysis) {
        report(" Anova table ....");
        tableFailed = !RunVarianceAnalysisFor(inputName);
    }
    report(" Progress 75% ...");
    data_.FileName = ChangeFileExt(inputName, ".out");
    return tableFailed ? CalculationStatus::TableFailed : CalculationStatus::Completed;
}

RunSummary Calculation::Summary() const {
    RunSummary summary;
    summary.nrOfData = data_.NrOfData;
    if (data_.VarOption == 3) {
        const TwoVariableState& two = two_.State();
        summary.variables = 2;
        summary.sequence = two.Sequence;
        const std::array<const StageResult*, 2> stages{&two.first, &two.second};
        for (int k = 0; k < 2; ++k) {
            summary.types[k] = stages[k]->type;
            summary.withBreakpoint[k] = stages[k]->type >= 2;
            summary.breakpoints[k] = stages[k]->bp;
        }
        summary.ce = two.OverallCE;
    } else {
        summary.types[0] = one_.ReportedType();
        summary.withBreakpoint[0] = state_.chosenType >= 2;
        summary.breakpoints[0] = state_.BestBP;
        summary.ce = one_.ReportedCE;
    }
    return summary;
}

bool Calculation::RunVarianceAnalysisFor(const std::string& inputName) {
    VarianceAnalysisInput input;
    input.varFileName = ChangeFileExt(inputName, ".var");
    input.varOption = data_.VarOption;
    input.reportedType = state_.chosenType;
    input.separationFlag = state_.SeparationFlag;
    if (data_.VarOption == 3) {
        const TwoVariableState& two = two_.State();
        input.type1 = two.first.type;
        input.type2 = two.second.type;
        input.secondSeparationFlag = two.SecondSeparationFlag;
    }
    input.criticalValue = settings_.CriticalValue;
    return !RunVarianceAnalysis(input, data_.Messages()).failed;
}

} // namespace brekka
