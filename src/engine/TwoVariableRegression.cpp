#include "engine/TwoVariableRegression.h"

#include <algorithm>
#include <utility>

#include "text/NumberFormat.h"

namespace brekka {

double TwoVariableWeightFactor(int nrOfData) {
    if (nrOfData <= 20) {
        return 1.1;
    }
    if (nrOfData <= 29) {
        return 1.08;
    }
    if (nrOfData <= 49) {
        return 1.05;
    }
    if (nrOfData <= 99) {
        return 1.01;
    }
    return 1.0;
}

TwoVariableEngine::TwoVariableEngine(TDMBrekka& data, RunSettings& settings,
                                     CalculationState& state)
    : data_(data), settings_(settings), state_(state) {}

const CandidateTables* TwoVariableEngine::Tables() const {
    return settings_.TabulatedSearch ? &tables_ : nullptr;
}

void TwoVariableEngine::ExchangeXZ() {
    std::swap_ranges(data_.XData.begin(), data_.XData.end(), data_.ZData.begin());
    std::swap(state_.Xmin, two_.Zmin);
    std::swap(state_.Xmax, two_.Zmax);
}

void TwoVariableEngine::ExchangeCandidates() {
    std::swap_ranges(two_.CandidatesX.begin(), two_.CandidatesX.end(), two_.CandidatesZ.begin());
}

void TwoVariableEngine::ExchangeYAndResiduals() {
    std::swap_ranges(data_.YData.begin(), data_.YData.end(), two_.FirstResiduals.begin());
}

void TwoVariableEngine::SearchStage(std::array<double, 101>& candidates, int requestType,
                                    int method, double& threshold, bool needsAboveXmin,
                                    int acceptedType, VariableSearchResult& result) {
    for (int k = 0; k < 100; ++k) {
        int type = requestType;
        double ce = 0;
        state_.FitBreakpoint(Y(), X(), candidates[k], ce, type, method, Tables());
        const bool accepted = needsAboveXmin ? (ce > threshold && candidates[k] > state_.Xmin)
                                             : (type == acceptedType && ce > threshold);
        if (accepted) {
            result.BestBP = candidates[k];
            threshold = ce;
            result.BestCE = ce;
            result.chosenType = acceptedType;
            if (method != 0) {
                result.chosenMethod = method;
            }
        }
    }
}

void TwoVariableEngine::SearchBestFunction(std::array<double, 101>& candidates,
                                           const TypeChoices& choices,
                                           VariableSearchResult& result) {
    const double W = state_.WeightFactor;
    result = VariableSearchResult{};
    candidates[0] = state_.Xmin;
    if (settings_.TabulatedSearch) {
        tables_.Build(Y(), X(), std::span<const double>(candidates.data(), 100), state_.Xmin,
                      settings_.SearchThreads, settings_.WideVectors);
    }
    double ce = 0;
    result.chosenType = 1;
    state_.FitBreakpoint(Y(), X(), candidates[0], ce, result.chosenType, 0, Tables());
    // A CE a hair below 0 by rounding would give negative thresholds that let
    // candidates that failed their tests (CE 0) win.
    result.CE1 = ce < 0 ? 0 : ce;
    // The sequence choice compares the lines' CEs as computed.
    result.BestCE = ce;
    result.BestBP = candidates[0];

    if (choices.excluded[3]) {
        result.M3 = result.CE1;
    } else {
        result.M3 = W * result.CE1;
        for (int method = 1; method <= 2; ++method) {
            SearchStage(candidates, 3, method, result.M3, true, 3, result);
        }
    }
    result.M4 = result.M3;
    if (!choices.excluded[4]) {
        for (int method = 1; method <= 2; ++method) {
            SearchStage(candidates, 4, method, result.M4, true, 4, result);
        }
    }
    if (choices.excluded[5]) {
        result.M5 = result.M4;
    } else {
        result.M5 = 1.1 * W * result.M4;
        SearchStage(candidates, 5, 0, result.M5, true, 5, result);
    }
    if (choices.excluded[2]) {
        result.M2 = result.M5;
    } else {
        result.M2 = 1.1 * W * result.M5;
        for (int method = 1; method <= 2; ++method) {
            SearchStage(candidates, kRequestType2, method, result.M2, false, 2, result);
        }
    }
    if (!choices.excluded[6]) {
        // A type-6 winner is taken like every other stage's, so the result always
        // describes one function.
        result.M6 = 1.2 * W * result.M2;
        SearchStage(candidates, kRequestType6, 0, result.M6, false, 6, result);
    }
}

RunStatus TwoVariableEngine::RunTwoVariableRegression() {
    const int N = data_.NrOfData;
    state_ = CalculationState{};
    two_ = TwoVariableState{};
    state_.CriticalValue = settings_.CriticalValue;
    state_.WeightFactor = TwoVariableWeightFactor(N);
    MessageSink& messages = data_.Messages();

    if (RefuseUnmanageableValues(data_, true, messages)) {
        settings_.NoVariationFlag = true;
        return RunStatus::Refused;
    }

    // The extremes start at the first values: any fixed start would lie inside or
    // beyond the range of data far from 0.
    state_.Xmin = state_.Xmax = N > 0 ? data_.XData[0] : 0;
    two_.Zmin = two_.Zmax = N > 0 ? data_.ZData[0] : 0;
    for (int i = 1; i < N; ++i) {
        const double x = data_.XData[i];
        const double z = data_.ZData[i];
        if (x < state_.Xmin) {
            state_.Xmin = x;
        }
        if (x > state_.Xmax) {
            state_.Xmax = x;
        }
        if (z < two_.Zmin) {
            two_.Zmin = z;
        }
        if (z > two_.Zmax) {
            two_.Zmax = z;
        }
    }
    if (state_.Xmax - state_.Xmin < 0.001 || two_.Zmax - two_.Zmin < 0.001) {
        messages.ShowMessage("The database is not fit for regression analysis. There is no "
                             "variation in X or Z-values. Please correct the input file.");
        settings_.NoVariationFlag = true;
        return RunStatus::Refused;
    }
    settings_.NoVariationFlag = false;

    const double step = (state_.Xmax - state_.Xmin) / 100;
    two_.StepZ = (two_.Zmax - two_.Zmin) / 100;
    for (int j = 1; j < 100; ++j) {
        two_.CandidatesX[j] = j * step + state_.Xmin;
        two_.CandidatesZ[j] = j * two_.StepZ + two_.Zmin;
    }

    SearchBestFunction(two_.CandidatesX, settings_.XChoices, two_.resultX);
    ExchangeXZ();
    SearchBestFunction(two_.CandidatesZ, settings_.ZChoices, two_.resultZ);
    ExchangeXZ();

    inputName_ = data_.FileName; // the report names it, a column file included
    const std::string outName = ChangeFileExt(data_.FileName, ".out");
    const std::string varName = ChangeFileExt(data_.FileName, ".var");
    auto cannotOpen = [&](const std::string& name) {
        messages.ShowMessage("The file \"" + name +
                             "\"could not be opened. It may be in use by another program,  or "
                             "the programmer should incorporate more time.");
        return RunStatus::FileError;
    };
    data_.FileName = outName;
    if (!out_.Open(outName)) {
        data_.FileName = varName;
        return cannotOpen(outName);
    }
    if (!var_.Open(varName)) {
        out_.Close();
        data_.FileName = varName;
        return cannotOpen(varName);
    }

    two_.Sequence = 0;
    WriteTwoVariableHeader();

    const bool xFirst = two_.resultX.BestCE > two_.resultZ.BestCE;
    const VariableSearchResult& firstResult = xFirst ? two_.resultX : two_.resultZ;
    two_.Sequence = xFirst ? 1 : 2;
    two_.first = StageResult{firstResult.chosenType, firstResult.chosenMethod, firstResult.BestBP};
    two_.FirstMin = xFirst ? state_.Xmin : two_.Zmin;

    two_.HeaderKind = 0;
    WriteTwoVariableHeader();
    state_.SeparationFlag = true;
    two_.SecondSeparationFlag = true;
    two_.KeepResidualsFlag = true;
    two_.FirstResiduals.assign(N, 0.0);
    if (two_.Sequence == 2) {
        ExchangeXZ();
    }

    two_.DetailStage = 1;
    WriteTwoVariableDetails(1, two_.FirstMin);
    var_.WriteLine(IntField(2, 5));
    var_.WriteLine(IntField(N, 5));
    var_.WriteLine(FormatPattern("%12.3e", two_.lastSSYall));
    var_.WriteLine(FormatPattern("%12.3e", two_.lastSSDline));
    var_.WriteLine(IntField(two_.Sequence, 5));
    var_.WriteLine(two_.first.type >= 2 ? RealField(two_.first.bp, 10, 3) : " -99999");

    if (two_.first.type >= 2) {
        two_.HeaderKind = 1;
        two_.reportMethod = two_.first.method;
        WriteTwoVariableHeader();
        WriteTwoVariableDetails(two_.first.type, two_.first.bp);
    }
    if (two_.Sequence == 2) {
        ExchangeXZ();
    }
    two_.ResidualStageFlag = true;
    RunAuxiliaryRegression();
    two_.ResidualStageFlag = false;

    ExchangeYAndResiduals();
    if (two_.Sequence == 1) {
        ExchangeXZ();
        ExchangeCandidates();
    }

    const TypeChoices& secondChoices = two_.Sequence == 1 ? settings_.ZChoices : settings_.XChoices;
    SearchBestFunction(two_.CandidatesX, secondChoices, two_.resultX);
    two_.second =
        StageResult{two_.resultX.chosenType, two_.resultX.chosenMethod, two_.resultX.BestBP};

    two_.HeaderKind = 2;
    WriteTwoVariableHeader();
    two_.DetailStage = 3;
    WriteTwoVariableDetails(1, state_.Xmin);
    var_.WriteLine(FormatPattern("%12.3e", two_.lastSSYall));
    var_.WriteLine(FormatPattern("%12.3e", two_.lastSSDline));
    if (two_.second.type >= 2) {
        two_.HeaderKind = 3;
        two_.reportMethod = two_.second.method;
        WriteTwoVariableHeader();
        WriteTwoVariableDetails(two_.second.type, two_.second.bp);
        var_.WriteLine(RealField(two_.second.bp, 10, 3));
        var_.WriteLine(FormatPattern("%12.3e", two_.lastSSDfunction));
    } else {
        var_.WriteLine(" -99999");
    }

    ExchangeYAndResiduals();
    if (two_.Sequence == 1) {
        ExchangeXZ();
        ExchangeCandidates();
    }

    WriteTwoVariableSummary();
    data_.FileName = varName;
    const bool outOk = out_.Close();
    const bool varOk = var_.Close();
    if (!outOk || !varOk) {
        messages.ShowMessage("The results could not be written completely to \"" +
                             (outOk ? varName : outName) +
                             "\". The disk may be full or the file in use.");
        return RunStatus::FileError;
    }
    return RunStatus::Completed;
}

void TwoVariableEngine::RunAuxiliaryRegression() {
    // The straight line between the independent variables: X on Z for sequence 1,
    // Z on X for sequence 2. Every datum lies right of the variable's minimum.
    two_.KeptY = data_.YData;
    double minimum;
    if (two_.Sequence == 1) {
        two_.KeptX = data_.XData;
        data_.YData = data_.XData;
        data_.XData = data_.ZData;
        minimum = two_.Zmin;
    } else {
        two_.KeptX = data_.ZData;
        data_.YData = data_.ZData;
        data_.ZData = data_.XData;
        minimum = state_.Xmin;
    }
    WriteTwoVariableHeader();
    two_.KeepResidualsFlag = false;
    two_.DetailStage = 2;
    WriteTwoVariableDetails(1, minimum);
    std::copy(two_.KeptY.begin(), two_.KeptY.end(), data_.YData.begin());
    if (two_.Sequence == 1) {
        std::copy(two_.KeptX.begin(), two_.KeptX.end(), data_.XData.begin());
    } else {
        std::copy(two_.KeptX.begin(), two_.KeptX.end(), data_.ZData.begin());
    }
}

} // namespace brekka
