#pragma once
// The sums a breakpoint search needs, formed for every candidate in two passes
// over the data instead of two passes per evaluation.
//
// A search evaluates each of its candidate breakpoints up to nine times (once per
// requested type and method), and every evaluation used to run over the data
// twice: once for the side sums, which depend only on the candidate, and once for
// the residuals of the shaped lines, of which a candidate has only a handful that
// differ. The tables hold both, formed with exactly the arithmetic of a single
// evaluation: every sum is accumulated over the data in data order, starting from
// zero, with the same operations. A tabulated evaluation is therefore bit for bit
// the evaluation over the data, whatever the number of threads that formed it.
#include <array>
#include <span>
#include <vector>

#include "engine/CalculationState.h"

namespace brekka {

class CandidateTables {
public:
    // Forms the side sums at every distinct candidate value (and at xmin, where
    // candidates with a side of fewer than 3 data restart), then the residual sums
    // of every line the kernel can shape there for any request, the type-6 slopes
    // with and without their removal. `threads` 0 means as many as the machine has;
    // `wideVectors` lets the passes use 512-bit vector units where there are any.
    void Build(std::span<const double> y, std::span<const double> x,
               std::span<const double> candidates, double xmin, int threads,
               bool wideVectors = true);

    // The side sums at `bp`, or null when `bp` is not a tabulated candidate.
    const std::array<SideSums, 2>* SumsAt(double bp) const;

    // The sum of squared residuals of the data on `side` of `bp` about `line`, or
    // false when that line was not tabulated there.
    bool ResidualSum(double bp, int side, const FunctionLine& line, double& sum) const;

    int SlotCount() const { return static_cast<int>(values_.size()); }

private:
    // Candidate values in increasing order: the data on side 2 (x >= bp) of slot k
    // are then those of every slot below some index, which keeps the passes free
    // of per-slot tests.
    std::vector<double> values_;
    std::vector<std::array<SideSums, 2>> sums_;
    // Per side: lines_[side][j * slots + k] is line j at slot k, residuals_ alike;
    // lineCount_[side][k] of them are real, the rest repeat line 0.
    std::array<std::vector<FunctionLine>, 2> lines_;
    std::array<std::vector<double>, 2> residuals_;
    std::array<std::vector<int>, 2> lineCount_;
    std::array<int, 2> linesPerSlot_{};
    bool wide_ = false;
    static constexpr int kLanes = 8;

    int SlotOf(double bp) const;
    void FormSums(std::span<const double> y, std::span<const double> x, int threads);
    void CollectLines(double xmin);
    void FormResiduals(std::span<const double> y, std::span<const double> x, int threads);
    // The values of the slots from `from` on, at most 8 and none from `to` on.
    std::array<double, kLanes> TileValues(int from, int to) const;
    void WideResiduals(std::span<const double> y, std::span<const double> x, int lo, int hi,
                       const std::vector<double>& xc, const std::vector<double>& yc,
                       const std::vector<double>& slope, std::vector<double>& sum) const;
};

// The number of threads a search may use: `requested`, or with 0 the machine's.
int SearchThreadCount(int requested);

} // namespace brekka
