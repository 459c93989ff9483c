#include "engine/Calculation.h"

#include "engine/VarianceAnalysis.h"

namespace brekka {

Calculation::Calculation(TDMBrekka& data, RunSettings& settings)
    : data_(data), settings_(settings) {}

int Calculation::ReportedType() const {
    return state_.chosenType;
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

    OneVariableEngine engine(data_, settings_, state_);
    const RunStatus status = engine.RunOneVariableRegression();
    if (status == RunStatus::Refused) {
        data_.FileName = inputName;
        return CalculationStatus::Refused;
    }
    if (status == RunStatus::FileError) {
        data_.FileName = inputName;
        return CalculationStatus::ResultFileError;
    }

    report(" Calculating ....");
    if (withVarianceAnalysis) {
        report(" Anova table ....");
        VarianceAnalysisInput input;
        input.varFileName = ChangeFileExt(inputName, ".var");
        input.varOption = data_.VarOption;
        input.reportedType = ReportedType();
        input.separationFlag = state_.SeparationFlag;
        input.secondSeparationFlag = true;
        input.criticalValue = settings_.CriticalValue;
        RunVarianceAnalysis(input, data_.Messages());
    }
    report(" Progress 75% ...");
    data_.FileName = ChangeFileExt(inputName, ".out");
    return CalculationStatus::Completed;
}

} // namespace brekka
