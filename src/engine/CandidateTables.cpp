#include "engine/CandidateTables.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <limits>
#include <thread>

#include "engine/WideKernels.h"

namespace brekka {

namespace {

// Every request the searches make of the kernel, with its method.
struct Request {
    int type, method;
};
constexpr std::array<Request, 10> kRequests{{{0, 0},
                                             {1, 0},
                                             {3, 1},
                                             {3, 2},
                                             {4, 1},
                                             {4, 2},
                                             {5, 0},
                                             {kRequestType2, 1},
                                             {kRequestType2, 2},
                                             {kRequestType6, 0}}};

// Below this many datum-candidate pairs a second thread costs more than it saves.
constexpr long kPairsPerExtraThread = 2000000;

bool SameLine(const FunctionLine& a, const FunctionLine& b) {
    return std::bit_cast<std::uint64_t>(a.Xc) == std::bit_cast<std::uint64_t>(b.Xc) &&
           std::bit_cast<std::uint64_t>(a.Yc) == std::bit_cast<std::uint64_t>(b.Yc) &&
           std::bit_cast<std::uint64_t>(a.slope) == std::bit_cast<std::uint64_t>(b.slope);
}

// Runs work(lo, hi) over [0, slots) cut into `threads` contiguous ranges. Each slot's
// sums are formed by one thread over all data, so the cut changes nothing in them.
template <typename Work> void ForSlotRanges(int slots, int threads, const Work& work) {
    threads = std::clamp(threads, 1, std::max(slots, 1));
    std::vector<std::jthread> helpers;
    helpers.reserve(threads - 1);
    for (int t = 1; t < threads; ++t) {
        const int lo = slots * t / threads;
        const int hi = slots * (t + 1) / threads;
        helpers.emplace_back([&work, lo, hi] { work(lo, hi); });
    }
    work(0, slots / threads);
}

// A number asked for is taken as it is; otherwise small searches stay on one thread.
int ThreadsFor(long data, int slots, int requested) {
    if (requested > 0) {
        return requested;
    }
    const long useful = 1 + data * slots / kPairsPerExtraThread;
    return static_cast<int>(std::min<long>(SearchThreadCount(0), useful));
}

// The passes over the data, compiled for the widest vector units the machine may
// have and chosen when the program starts. Vectors run across candidates, never
// within one sum, and no multiply is fused with an add (the build forbids
// contraction), so every lane performs the IEEE operations of the plain loop in
// the same order.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__) &&                             \
    !defined(__SANITIZE_ADDRESS__)
#define BREKKA_VECTOR_CLONES __attribute__((target_clones("avx512f", "avx2", "default")))
#else
#define BREKKA_VECTOR_CLONES
#endif

// The six side sums of SideSums, one row each per side, for a range of `width`
// slots whose values are `values`; rows[(side * 6 + which) * width + k].
BREKKA_VECTOR_CLONES
void SumPass(std::span<const double> y, std::span<const double> x, const double* values, int width,
             double* rows) {
    for (size_t i = 0; i < y.size(); ++i) {
        const double yi = y[i];
        const double xi = x[i];
        const double yy = yi * yi;
        const double xx = xi * xi;
        const double xy = xi * yi;
        // Slots at or below x[i] have it on side 2, the others on side 1.
        const int m = static_cast<int>(std::upper_bound(values, values + width, xi) - values);
        for (int side = 0; side < 2; ++side) {
            double* __restrict ns = rows + (side * 6 + 0) * width;
            double* __restrict ys = rows + (side * 6 + 1) * width;
            double* __restrict xs = rows + (side * 6 + 2) * width;
            double* __restrict yys = rows + (side * 6 + 3) * width;
            double* __restrict xxs = rows + (side * 6 + 4) * width;
            double* __restrict xys = rows + (side * 6 + 5) * width;
            const int from = side == 1 ? 0 : m;
            const int to = side == 1 ? m : width;
            for (int k = from; k < to; ++k) {
                ns[k] += 1.0;
                ys[k] += yi;
                xs[k] += xi;
                yys[k] += yy;
                xxs[k] += xx;
                xys[k] += xy;
            }
        }
    }
}

// The residual sums of `lines[side]` lines per slot, their parameters and sums in
// rows of `width`: row j of side s at ((s ? lines[0] : 0) + j) * width.
BREKKA_VECTOR_CLONES
void ResidualPass(std::span<const double> y, std::span<const double> x, const double* values,
                  int width, const int* lines, const double* xcRows, const double* ycRows,
                  const double* slopeRows, double* sumRows) {
    for (size_t i = 0; i < y.size(); ++i) {
        const double yi = y[i];
        const double xi = x[i];
        const int m = static_cast<int>(std::upper_bound(values, values + width, xi) - values);
        for (int side = 0; side < 2; ++side) {
            const int from = side == 1 ? 0 : m;
            const int to = side == 1 ? m : width;
            const int first = side == 1 ? lines[0] : 0;
            for (int j = first; j < first + lines[side]; ++j) {
                const double* __restrict xc = xcRows + j * width;
                const double* __restrict yc = ycRows + j * width;
                const double* __restrict sl = slopeRows + j * width;
                double* __restrict sum = sumRows + j * width;
                for (int k = from; k < to; ++k) {
                    // Exactly the residual of SumResiduals: y - ((x - Xc) * slope + Yc).
                    const double r = yi - ((xi - xc[k]) * sl[k] + yc[k]);
                    sum[k] += r * r;
                }
            }
        }
    }
}

} // namespace

int SearchThreadCount(int requested) {
    if (requested > 0) {
        return requested;
    }
    const unsigned machine = std::thread::hardware_concurrency();
    return machine == 0 ? 1 : static_cast<int>(std::min(machine, 64u));
}

void CandidateTables::Build(std::span<const double> y, std::span<const double> x,
                            std::span<const double> candidates, double xmin, int threads,
                            bool wideVectors) {
    wide_ = wideVectors && wide::Available();
    values_.assign(candidates.begin(), candidates.end());
    values_.push_back(xmin);
    std::sort(values_.begin(), values_.end());
    values_.erase(std::unique(values_.begin(), values_.end()), values_.end());
    const int workers = ThreadsFor(static_cast<long>(y.size()), SlotCount(), threads);
    FormSums(y, x, workers);
    CollectLines(xmin);
    FormResiduals(y, x, workers);
}

int CandidateTables::SlotOf(double bp) const {
    const auto it = std::lower_bound(values_.begin(), values_.end(), bp);
    if (it == values_.end() || *it != bp) {
        return -1;
    }
    return static_cast<int>(it - values_.begin());
}

const std::array<SideSums, 2>* CandidateTables::SumsAt(double bp) const {
    const int k = SlotOf(bp);
    return k < 0 ? nullptr : &sums_[k];
}

bool CandidateTables::ResidualSum(double bp, int side, const FunctionLine& line,
                                  double& sum) const {
    const int k = SlotOf(bp);
    if (k < 0) {
        return false;
    }
    const int slots = SlotCount();
    for (int j = 0; j < lineCount_[side][k]; ++j) {
        if (SameLine(lines_[side][j * slots + k], line)) {
            sum = residuals_[side][j * slots + k];
            return true;
        }
    }
    return false;
}

void CandidateTables::FormSums(std::span<const double> y, std::span<const double> x, int threads) {
    const int slots = SlotCount();
    sums_.assign(slots, {});
    ForSlotRanges(slots, threads, [&](int lo, int hi) {
        const int width = hi - lo;
        // A thread's own rows keep the threads off each other's cache lines.
        std::vector<double> rows(12 * static_cast<size_t>(width), 0.0);
        if (wide_) {
            for (int t = 0; t < width; t += kLanes) {
                const std::array<double, kLanes> values = TileValues(lo + t, hi);
                std::array<double, 12 * kLanes> tile;
                wide::SumTile(y.data(), x.data(), y.size(), values.data(), tile.data());
                for (int lane = 0; lane < kLanes && t + lane < width; ++lane) {
                    for (int which = 0; which < 12; ++which) {
                        rows[which * width + t + lane] = tile[which * kLanes + lane];
                    }
                }
            }
        } else {
            SumPass(y, x, values_.data() + lo, width, rows.data());
        }
        for (int k = 0; k < width; ++k) {
            for (int side = 0; side < 2; ++side) {
                const double* r = rows.data() + side * 6 * width + k;
                sums_[lo + k][side] = SideSums{r[0],         r[width],     r[2 * width],
                                               r[3 * width], r[4 * width], r[5 * width]};
            }
        }
    });
}

void CandidateTables::CollectLines(double xmin) {
    const int slots = SlotCount();
    std::array<std::vector<std::vector<FunctionLine>>, 2> found;
    for (auto& side : found) {
        side.assign(slots, {});
    }
    auto record = [&](int side, int k, const FunctionLine& line) {
        auto& list = found[side][k];
        if (std::none_of(list.begin(), list.end(),
                         [&](const FunctionLine& l) { return SameLine(l, line); })) {
            list.push_back(line);
        }
    };
    for (int k = 0; k < slots; ++k) {
        const double bp = values_[k];
        const auto& s = sums_[k];
        // The kernel moves such a candidate to xmin before it shapes anything.
        if (bp > xmin && (s[0].n < 3 || s[1].n < 3)) {
            continue;
        }
        for (const Request& request : kRequests) {
            CalculationState shaped;
            shaped.sums = s;
            shaped.ShapeSideRegressions(request.type);
            int type = request.type;
            shaped.ConstructFunction(type, request.method, bp);
            for (int side = 0; side < 2; ++side) {
                record(side, k, shaped.line[side]);
                if (request.type == kRequestType6) {
                    // The slope may be removed as insignificant, depending on the
                    // standard errors of the evaluation before.
                    FunctionLine flat = shaped.line[side];
                    flat.slope = 0;
                    record(side, k, flat);
                }
            }
        }
    }
    for (int side = 0; side < 2; ++side) {
        int most = 1;
        for (const auto& list : found[side]) {
            most = std::max(most, static_cast<int>(list.size()));
        }
        linesPerSlot_[side] = most;
        lines_[side].assign(static_cast<size_t>(most) * slots, FunctionLine{});
        lineCount_[side].assign(slots, 0);
        for (int k = 0; k < slots; ++k) {
            const auto& list = found[side][k];
            lineCount_[side][k] = static_cast<int>(list.size());
            for (int j = 0; j < most; ++j) {
                const size_t at = static_cast<size_t>(j) * slots + k;
                if (j < static_cast<int>(list.size())) {
                    lines_[side][at] = list[j];
                } else if (!list.empty()) {
                    lines_[side][at] = list[0];
                }
            }
        }
    }
}

void CandidateTables::FormResiduals(std::span<const double> y, std::span<const double> x,
                                    int threads) {
    const int slots = SlotCount();
    for (int side = 0; side < 2; ++side) {
        residuals_[side].assign(static_cast<size_t>(linesPerSlot_[side]) * slots, 0.0);
    }
    ForSlotRanges(slots, threads, [&](int lo, int hi) {
        const int width = hi - lo;
        // The line parameters of this thread's slots as rows, side 1's lines first,
        // and the thread's own sums.
        const int rowCount = linesPerSlot_[0] + linesPerSlot_[1];
        const size_t size = static_cast<size_t>(rowCount) * width;
        std::vector<double> xc(size), yc(size), slope(size), sum(size, 0.0);
        for (int side = 0, row = 0; side < 2; ++side) {
            for (int j = 0; j < linesPerSlot_[side]; ++j, ++row) {
                for (int k = 0; k < width; ++k) {
                    const FunctionLine& l = lines_[side][static_cast<size_t>(j) * slots + lo + k];
                    xc[row * width + k] = l.Xc;
                    yc[row * width + k] = l.Yc;
                    slope[row * width + k] = l.slope;
                }
            }
        }
        if (wide_) {
            WideResiduals(y, x, lo, hi, xc, yc, slope, sum);
        } else {
            ResidualPass(y, x, values_.data() + lo, width, linesPerSlot_.data(), xc.data(),
                         yc.data(), slope.data(), sum.data());
        }
        for (int side = 0, row = 0; side < 2; ++side) {
            for (int j = 0; j < linesPerSlot_[side]; ++j, ++row) {
                for (int k = 0; k < width; ++k) {
                    residuals_[side][static_cast<size_t>(j) * slots + lo + k] =
                        sum[row * width + k];
                }
            }
        }
    });
}

std::array<double, CandidateTables::kLanes> CandidateTables::TileValues(int from, int to) const {
    // Lanes beyond the last slot see every datum on side 1; their sums are dropped.
    std::array<double, kLanes> values;
    values.fill(std::numeric_limits<double>::infinity());
    for (int lane = 0; lane < kLanes && from + lane < to; ++lane) {
        values[lane] = values_[from + lane];
    }
    return values;
}

void CandidateTables::WideResiduals(std::span<const double> y, std::span<const double> x, int lo,
                                    int hi, const std::vector<double>& xc,
                                    const std::vector<double>& yc, const std::vector<double>& slope,
                                    std::vector<double>& sum) const {
    const int width = hi - lo;
    const int most = std::max(linesPerSlot_[0], linesPerSlot_[1]);
    std::vector<double> tileXc(most * kLanes), tileYc(most * kLanes), tileSlope(most * kLanes),
        tileSum(most * kLanes);
    for (int t = 0; t < width; t += kLanes) {
        const std::array<double, kLanes> values = TileValues(lo + t, hi);
        for (int side = 0, firstRow = 0; side < 2; firstRow += linesPerSlot_[side], ++side) {
            const int lines = linesPerSlot_[side];
            std::fill(tileXc.begin(), tileXc.end(), 0.0);
            std::fill(tileYc.begin(), tileYc.end(), 0.0);
            std::fill(tileSlope.begin(), tileSlope.end(), 0.0);
            for (int j = 0; j < lines; ++j) {
                for (int lane = 0; lane < kLanes && t + lane < width; ++lane) {
                    const size_t from = static_cast<size_t>(firstRow + j) * width + t + lane;
                    tileXc[j * kLanes + lane] = xc[from];
                    tileYc[j * kLanes + lane] = yc[from];
                    tileSlope[j * kLanes + lane] = slope[from];
                }
            }
            wide::ResidualTile(y.data(), x.data(), y.size(), values.data(), side, lines,
                               tileXc.data(), tileYc.data(), tileSlope.data(), tileSum.data());
            for (int j = 0; j < lines; ++j) {
                for (int lane = 0; lane < kLanes && t + lane < width; ++lane) {
                    sum[static_cast<size_t>(firstRow + j) * width + t + lane] =
                        tileSum[j * kLanes + lane];
                }
            }
        }
    }
}

} // namespace brekka
