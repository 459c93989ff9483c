#pragma once
// The segment regression kernel: one candidate breakpoint is evaluated by fitting
// a least-squares line on each side of it, shaping the broken line that the
// requested function type prescribes, and measuring how much of the variation of
// Y that function explains. Both engines drive this one kernel.
#include <array>
#include <span>

namespace brekka {

class CandidateTables;

// Stands for an undefined variance or standard deviation throughout the engines.
inline constexpr double kUndefinedVariance = 1000000.0;

// Type codes passed to the kernel besides the plain types 0..6.
inline constexpr int kRequestType2 = 20;
inline constexpr int kRequestType6 = 60;

struct SideSums {
    double n = 0, sumY = 0, sumX = 0, sumYY = 0, sumXX = 0, sumXY = 0;
};

struct SideStatistics {
    double AvY = 0, AvX = 0, SSY = 0, SSX = 0, SXY = 0, RC = 0, CC = 0, CCsq = 0;
    double Y0 = 0; // intercept Y(X=0)
    double StDevY = 0, SSD = 0, StDevYr = 0, StDevX = 0, StDevRC = 0;
};

// The function on one side: Ycalc = (X - Xc) * slope + Yc.
struct FunctionLine {
    double Xc = 0, Yc = 0, slope = 0;
    double At(double x) const { return (x - Xc) * slope + Yc; }
};

class CalculationState {
public:
    // Extremes of the variable in the X place.
    double Xmin = 0, Xmax = 0;
    // Index 0 is side 1 (X < BP), index 1 side 2 (X >= BP).
    std::array<SideSums, 2> sums{};
    std::array<SideStatistics, 2> stats{};
    std::array<FunctionLine, 2> line{};
    std::array<double, 2> SSDside{};
    // Totals of the regression without breakpoint; the denominator of every CE.
    double SSYtot = 0, SSXtot = 0;

    // Results of BreakpointStatistics.
    std::array<double, 2> Vs{};
    std::array<double, 2> SE{}; // slope standard errors
    double SSDfun = 0, Xav = 0, StDevYbp = 0, StErrBP = 0, SEsloping = 0;

    // Slope margins of the last evaluation (taken with the standard errors held
    // before that evaluation's statistics).
    double marginLower1 = 0, marginLower2 = 0;

    // Ybp of a type-2 construction: the value at BP of the line kept unchanged.
    double Ybp = 0;

    double CriticalValue = 1.75; // T
    double WeightFactor = 1.0;   // W

    // Result of a run.
    int chosenType = 1, chosenMethod = 0;
    double BestBP = 0;
    // Whether the line without breakpoint is reported as significant.
    bool SeparationFlag = true;
    // Kept by the report of the regression without breakpoint.
    double AverageXAll = 0, NTimesVarXAll = 0;

    // Evaluates one breakpoint of Y on X. May set `bp` to Xmin and `type` to 1
    // when a side holds fewer than 3 data; returns the CE in `ce`. With `tables`
    // built for these data, the sums come from them instead of from passes over
    // the data; the result is the same to the last bit.
    void FitBreakpoint(std::span<const double> y, std::span<const double> x, double& bp, double& ce,
                       int& type, int method, const CandidateTables* tables = nullptr);

    // Standard errors of the slopes, St.Dev.Ybp and St.Err.BP of the function
    // currently held for `type`, `method` and `bp`.
    void BreakpointStatistics(int type, int method, double bp);

    // --- steps shared with the report writers ---
    void ClearSums();
    void AddSums(std::span<const double> y, std::span<const double> x, double bp);
    // Statistics of every side with at least 3 data (other sides keep theirs).
    void ComputeSideStatistics();
    void SetLinesToSideRegressions();
    // From the sums held: the side statistics and the side regressions as lines,
    // the second one horizontal for a request of type 0.
    void ShapeSideRegressions(int type);
    // The reported function of type 2..5 shaped from the side regressions (other
    // types keep them).
    void ConstructReportedFunction(int type, int method, double bp);
    // Reshapes the lines for request 20, 3, 4 or 5; may turn a request 20 into 1.
    void ConstructFunction(int& type, int method, double bp);
    void SumResiduals(std::span<const double> y, std::span<const double> x, double bp);
    // The evaluation the reports repeat for one breakpoint: sums, the statistics
    // of every side with at least 3 data (no restart) and the side regressions as
    // function lines.
    void EvaluateSidesForReport(std::span<const double> y, std::span<const double> x, double bp);
    // Margins |slope| -/+ T * St.Dev.RC of each side's own regression.
    struct Margins {
        std::array<double, 2> lower{}, upper{};
    };
    Margins RegressionMargins() const;
    // A type-6 slope whose margins straddle 0 is not significant: it becomes 0.
    void RemoveInsignificantSlopes(const Margins& margins);
    // 1 - SSD / SSYtot, 0 when Y has no variation.
    double ExplainedFraction(double ssd) const;

    // Significance helpers.
    double MinSideCount() const;
    bool SidesLargeEnough() const;
    // sqrt(St.Dev.Y1^2/n1 + St.Dev.Y2^2/n2), 0 when a side is empty.
    double StDevDifferenceOfAverages() const;
    double DifferenceOfAverages() const;
    double DifferenceOfSlopes() const;
    bool ValuesAtBreakpointSeparated(double bp) const;
    // Whether the own regression of side 0 or 1 has no significant slope, so that
    // a function may make that side horizontal.
    bool SideIsFlat(int side) const;

private:
    // Takes both sides' residual sums from `tables`; false when one is missing.
    bool TabulatedResiduals(const CandidateTables& tables, double bp);
    void ApplyAcceptanceTests(int& type, double& ce, double bp);
};

// sqrt of a variance, or the undefined value when the radicand is negative.
double RootOrUndefined(double radicand);

} // namespace brekka
