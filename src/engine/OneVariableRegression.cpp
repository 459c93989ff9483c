#include "engine/OneVariableRegression.h"

#include <cmath>
#include <utility>

namespace brekka {

double OneVariableWeightFactor(int nrOfData) {
    if (nrOfData <= 20) {
        return 1.1;
    }
    if (nrOfData <= 29) {
        return 1.05;
    }
    if (nrOfData <= 49) {
        return 1.02;
    }
    if (nrOfData <= 99) {
        return 1.01;
    }
    return 1.0;
}

bool RefuseUnmanageableValues(const TDMBrekka& data, bool withZ, MessageSink& messages) {
    // Squares of larger values overflow the sums of the kernel.
    auto tooLarge = [&](const std::vector<double>& column) {
        for (int i = 0; i < data.NrOfData && i < static_cast<int>(column.size()); ++i) {
            if (!(std::fabs(column[i]) <= 1e150)) {
                return true;
            }
        }
        return false;
    };
    if (tooLarge(data.YData) || tooLarge(data.XData) || (withZ && tooLarge(data.ZData))) {
        messages.ShowMessage("The database is not fit for regression analysis. Values above 1E150 "
                             "in magnitude cannot be handled. Please correct the input file.");
        return true;
    }
    return false;
}

OneVariableEngine::OneVariableEngine(TDMBrekka& data, RunSettings& settings,
                                     CalculationState& state)
    : data_(data), settings_(settings), state_(state) {}

int OneVariableEngine::ReportedType() const {
    if (state_.chosenType != 6) {
        return state_.chosenType;
    }
    return Type6Kind == 2 ? 6 : (Type6Kind == 3 ? 7 : 8);
}

const CandidateTables* OneVariableEngine::Tables() const {
    return settings_.TabulatedSearch ? &tables_ : nullptr;
}

const TypeChoices& OneVariableEngine::Choices() const {
    return settings_.XChoices;
}

RunStatus OneVariableEngine::RunOneVariableRegression() {
    const int N = data_.NrOfData;
    state_ = CalculationState{};
    state_.CriticalValue = settings_.CriticalValue;
    state_.WeightFactor = OneVariableWeightFactor(N);

    // With the second variable alone, Z takes the X place for the whole run.
    std::vector<double> keptX;
    if (ZInXPlace()) {
        keptX = data_.XData;
        data_.XData = data_.ZData;
    }
    auto restoreX = [&] {
        if (ZInXPlace()) {
            data_.XData = std::move(keptX);
        }
    };

    if (RefuseUnmanageableValues(data_, false, data_.Messages())) {
        settings_.NoVariationFlag = true;
        restoreX();
        return RunStatus::Refused;
    }

    // The extremes start at the first value: any fixed start would lie inside or
    // beyond the range of data far from 0.
    state_.Xmin = state_.Xmax = N > 0 ? data_.XData[0] : 0;
    for (int i = 1; i < N; ++i) {
        const double x = data_.XData[i];
        if (x < state_.Xmin) {
            state_.Xmin = x;
        }
        if (x > state_.Xmax) {
            state_.Xmax = x;
        }
    }
    if (state_.Xmax - state_.Xmin < 0.001) {
        data_.Messages().ShowMessage("The database is not fit for regression analysis. There is no "
                                     "variation in X-values. Please correct the input file.");
        settings_.NoVariationFlag = true;
        restoreX();
        return RunStatus::Refused;
    }
    settings_.NoVariationFlag = false;

    const double step = (state_.Xmax - state_.Xmin) / 100;
    candidates_[0] = state_.Xmin;
    for (int j = 1; j < 100; ++j) {
        candidates_[j] = j * step + state_.Xmin;
    }

    SearchBestFunction();
    const bool written = WriteReport();
    restoreX();
    return written ? RunStatus::Completed : RunStatus::FileError;
}

void OneVariableEngine::SearchStage(int requestType, int method, double& threshold,
                                    bool needsAboveXmin, int acceptedType) {
    for (int k = 0; k < 100; ++k) {
        int type = requestType;
        double ce = 0;
        state_.FitBreakpoint(Y(), X(), candidates_[k], ce, type, method, Tables());
        const bool accepted = needsAboveXmin ? (ce > threshold && candidates_[k] > state_.Xmin)
                                             : (type == acceptedType && ce > threshold);
        if (accepted) {
            state_.BestBP = candidates_[k];
            threshold = ce;
            state_.chosenType = acceptedType;
            if (method != 0) {
                state_.chosenMethod = method;
            }
        }
    }
}

void OneVariableEngine::SearchBestFunction() {
    const double W = state_.WeightFactor;
    const TypeChoices& choices = Choices();
    OneVariableSearch& s = search_;
    s = OneVariableSearch{};

    if (settings_.TabulatedSearch) {
        tables_.Build(Y(), X(), candidates_, state_.Xmin, settings_.SearchThreads,
                      settings_.WideVectors);
    }
    state_.chosenType = 1;
    state_.chosenMethod = 0;
    state_.FitBreakpoint(Y(), X(), candidates_[0], s.CE1, state_.chosenType, 0, Tables());
    // Without any linear relation the CE can come out a hair below 0 by rounding;
    // a negative threshold would let candidates that failed their tests (CE 0) win.
    if (s.CE1 < 0) {
        s.CE1 = 0;
    }
    state_.BestBP = state_.Xmin;

    s.M3 = choices.preferred[3] ? s.CE1 : W * s.CE1;
    if (!choices.excluded[3]) {
        for (int method = 1; method <= 2; ++method) {
            SearchStage(3, method, s.M3, true, 3);
        }
    } else {
        s.M3 = W * s.CE1;
    }

    s.M4 = s.M3;
    if (!choices.excluded[4]) {
        for (int method = 1; method <= 2; ++method) {
            SearchStage(4, method, s.M4, true, 4);
        }
    }

    if (!choices.excluded[5]) {
        s.M5 = 1.1 * W * s.M4;
        SearchStage(5, 0, s.M5, true, 5);
    } else {
        s.M5 = s.M4;
    }

    if (!choices.excluded[2]) {
        s.M2 = 1.1 * W * s.M5;
        for (int method = 1; method <= 2; ++method) {
            SearchStage(kRequestType2, method, s.M2, false, 2);
        }
    } else {
        s.M2 = s.M5;
    }

    if (!choices.excluded[6]) {
        s.M6 = 1.1 * W * s.M2;
        SearchStage(kRequestType6, 0, s.M6, false, 6);
    }
}

bool OneVariableEngine::WriteReport() {
    // The report names the file the data came from, a column file included.
    inputName_ = data_.FileName;
    const std::string outName = ChangeFileExt(data_.FileName, ".out");
    const std::string varName = ChangeFileExt(data_.FileName, ".var");
    data_.FileName = varName;
    auto cannotOpen = [&](const std::string& name) {
        data_.Messages().ShowMessage("The file \"" + name +
                                     "\"could not be opened. It may be in use by another "
                                     "program,  or the programmer should incorporate more time.");
        return false;
    };
    if (!out_.Open(outName)) {
        return cannotOpen(outName);
    }
    if (!var_.Open(varName)) {
        out_.Close();
        return cannotOpen(varName);
    }

    WriteReportHeader(1);
    WriteReportHeader(2);
    state_.SeparationFlag = true;
    WriteReportDetails(state_.Xmin, 1);
    if (state_.chosenType > 1) {
        WriteReportHeader(3);
        WriteReportDetails(state_.BestBP, state_.chosenType);
    }
    WriteSummary();

    const bool outOk = out_.Close();
    const bool varOk = var_.Close();
    if (!outOk || !varOk) {
        data_.Messages().ShowMessage("The results could not be written completely to \"" +
                                     (outOk ? varName : outName) +
                                     "\". The disk may be full or the file in use.");
        return false;
    }
    return true;
}

} // namespace brekka
