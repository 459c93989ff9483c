#pragma once
// The two-variable engine: explains Y by X and Z in two stages. The first stage
// regresses Y on whichever variable explains more; the second stage regresses
// the residuals of the first on the other variable. The kernel only regresses
// the series in the Y place on the one in the X place, so the engine moves
// columns into those places and back, always restoring the data set.
#include <array>
#include <span>
#include <vector>

#include "data/DataModule.h"
#include "data/RunSettings.h"
#include "engine/CalculationState.h"
#include "engine/CandidateTables.h"
#include "engine/OneVariableRegression.h"
#include "text/TextFile.h"

namespace brekka {

double TwoVariableWeightFactor(int nrOfData);

struct VariableSearchResult {
    double CE1 = 0;
    double M3 = 0, M4 = 0, M5 = 0, M2 = 0, M6 = 0;
    double BestBP = 0, BestCE = 0;
    int chosenType = 1, chosenMethod = 0;
};

struct StageResult {
    int type = 1, method = 0;
    double bp = 0;
};

struct TwoVariableState {
    double Zmin = 0, Zmax = 0, StepZ = 0;
    std::array<double, 101> CandidatesX{}, CandidatesZ{};
    VariableSearchResult resultX, resultZ;
    int Sequence = 0; // 0 while the file header is written, then 1 (Y-X-Z) or 2 (Y-Z-X)
    StageResult first, second;
    double FirstMin = 0;
    std::vector<double> FirstResiduals, KeptY, KeptX;
    int HeaderKind = 0, DetailStage = 0;
    bool ResidualStageFlag = false, KeepResidualsFlag = false;
    bool SecondSeparationFlag = true;
    int reportMethod = 0;
    double OverallCE = 0;
    // Sums of squares the details writer leaves for the .var records.
    double lastSSYall = 0, lastSSDline = 0, lastSSDfunction = 0;
};

class TwoVariableEngine {
public:
    TwoVariableEngine(TDMBrekka& data, RunSettings& settings, CalculationState& state);

    RunStatus RunTwoVariableRegression();
    const TwoVariableState& State() const { return two_; }

private:
    TDMBrekka& data_;
    RunSettings& settings_;
    CalculationState& state_;
    TwoVariableState two_;
    TextFileWriter out_, var_;
    CandidateTables tables_;
    std::string inputName_;

    std::span<const double> Y() const { return data_.YData; }
    std::span<const double> X() const { return data_.XData; }
    const CandidateTables* Tables() const;

    void ExchangeXZ();
    void ExchangeCandidates();
    void ExchangeYAndResiduals();

    void SearchBestFunction(std::array<double, 101>& candidates, const TypeChoices& choices,
                            VariableSearchResult& result);
    void SearchStage(std::array<double, 101>& candidates, int requestType, int method,
                     double& threshold, bool needsAboveXmin, int acceptedType,
                     VariableSearchResult& result);
    void RunAuxiliaryRegression();

    bool StageVariableIsZ() const;
    void WriteTwoVariableHeader();
    void WriteFileHeader();
    void WriteTwoVariableDetails(int t, double bp);
    void WriteParameterBlock(int t, int method, double bp, double ce, double stDevDiffYav);
    void WriteTwoVariableSummary();
    // The reported function of one stage, rebuilt and shaped for the summary.
    std::array<FunctionLine, 2> StageFunction(std::span<const double> y, std::span<const double> x,
                                              double minimum, double maximum,
                                              const StageResult& stage);
};

} // namespace brekka
