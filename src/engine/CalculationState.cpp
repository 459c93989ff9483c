#include "engine/CalculationState.h"

#include <cmath>

#include "engine/CandidateTables.h"

namespace brekka {

double RootOrUndefined(double radicand) {
    // An overflowed variance (huge Y over X values that differ only by rounding)
    // is as undefined as a negative one; neither may reach a file.
    return (radicand >= 0 && std::isfinite(radicand)) ? std::sqrt(radicand) : kUndefinedVariance;
}

namespace {
// A slope variance SSD / ((n - 2) * SSX), undefined when it cannot be formed.
double SlopeVariance(double ssd, double n, double ssx) {
    if (n <= 2 || ssx == 0) {
        return kUndefinedVariance;
    }
    const double v = ssd / ((n - 2) * ssx);
    return std::isfinite(v) ? v : kUndefinedVariance;
}
} // namespace

void CalculationState::ClearSums() {
    SSDside = {0, 0};
    sums = {};
}

void CalculationState::AddSums(std::span<const double> y, std::span<const double> x, double bp) {
    for (size_t i = 0; i < y.size(); ++i) {
        SideSums& s = sums[x[i] < bp ? 0 : 1];
        const double yi = y[i];
        const double xi = x[i];
        s.n += 1.0;
        s.sumY += yi;
        s.sumX += xi;
        s.sumYY += yi * yi;
        s.sumXX += xi * xi;
        s.sumXY += xi * yi;
    }
}

void CalculationState::ComputeSideStatistics() {
    for (int k = 0; k < 2; ++k) {
        const SideSums& s = sums[k];
        if (s.n < 3) {
            continue;
        }
        SideStatistics& t = stats[k];
        const double n = s.n;
        t.AvY = s.sumY / n;
        t.AvX = s.sumX / n;
        t.SSY = s.sumYY - n * (t.AvY * t.AvY);
        if (t.SSY < 0) {
            t.SSY = 0;
        }
        t.SSX = s.sumXX - n * (t.AvX * t.AvX);
        if (t.SSX < 0) {
            t.SSX = 0;
        }
        t.SXY = s.sumXY - (n * t.AvY) * t.AvX;
        t.RC = t.SSX > 0 ? t.SXY / t.SSX : 0;
        if (t.SSY > 0 && t.SSX > 0) {
            // The product overflows for values near 1E150; the roots taken
            // apart then still give the correlation.
            const double product = t.SSY * t.SSX;
            const double root =
                std::isfinite(product) ? std::sqrt(product) : std::sqrt(t.SSY) * std::sqrt(t.SSX);
            t.CC = t.SXY / root;
        } else {
            t.CC = 0;
        }
        t.CCsq = t.CC * t.CC;
        t.Y0 = t.AvY - t.RC * t.AvX;
        t.StDevY = RootOrUndefined(t.SSY / (n - 1));
        t.SSD = (1 - t.CCsq) * t.SSY;
        t.StDevYr = RootOrUndefined(t.SSD / (n - 1));
        t.StDevX = RootOrUndefined(t.SSX / (n - 1));
        t.StDevRC = (t.SSD >= 0 && t.SSX > 0) ? RootOrUndefined(t.SSD / ((n - 2) * t.SSX))
                                              : kUndefinedVariance;
    }
}

void CalculationState::SetLinesToSideRegressions() {
    for (int k = 0; k < 2; ++k) {
        line[k] = FunctionLine{stats[k].AvX, stats[k].AvY, stats[k].RC};
    }
}

void CalculationState::ConstructFunction(int& type, int method, double bp) {
    const SideStatistics& s1 = stats[0];
    const SideStatistics& s2 = stats[1];
    switch (type) {
    case kRequestType2:
        if (method == 1) {
            Ybp = (bp - s1.AvX) * s1.RC + s1.AvY;
            if (bp != s2.AvX) {
                line[1].slope = (Ybp - s2.AvY) / (bp - s2.AvX);
            } else {
                type = 1;
            }
        } else {
            Ybp = (bp - s2.AvX) * s2.RC + s2.AvY;
            if (bp != s1.AvX) {
                line[0].slope = (Ybp - s1.AvY) / (bp - s1.AvX);
            } else {
                type = 1;
            }
        }
        break;
    case 3:
        line[0].slope = 0;
        if (method == 1) {
            line[0].Yc = (bp - s2.AvX) * s2.RC + s2.AvY;
        } else {
            line[1].slope = (s2.AvX != bp) ? (s2.AvY - s1.AvY) / (s2.AvX - bp) : 0;
        }
        break;
    case 4:
        line[1].slope = 0;
        if (method == 1) {
            line[1].Yc = (bp - s1.AvX) * s1.RC + s1.AvY;
        } else {
            line[0].slope = (bp != s1.AvX) ? (s2.AvY - s1.AvY) / (bp - s1.AvX) : 0;
        }
        break;
    case 5:
        line[0].slope = 0;
        line[1].slope = 0;
        break;
    default:
        break;
    }
}

void CalculationState::ConstructReportedFunction(int type, int method, double bp) {
    if (type >= 2 && type <= 5) {
        int request = type == 2 ? kRequestType2 : type;
        ConstructFunction(request, method, bp);
    }
}

void CalculationState::SumResiduals(std::span<const double> y, std::span<const double> x,
                                    double bp) {
    for (size_t i = 0; i < y.size(); ++i) {
        const int k = x[i] < bp ? 0 : 1;
        const double r = y[i] - line[k].At(x[i]);
        SSDside[k] += r * r;
    }
}

double CalculationState::ExplainedFraction(double ssd) const {
    return SSYtot == 0 ? 0.0 : 1 - ssd / SSYtot;
}

void CalculationState::ShapeSideRegressions(int type) {
    ComputeSideStatistics();
    SetLinesToSideRegressions();
    if (type == 0) {
        line[1].slope = 0;
    }
}

bool CalculationState::TabulatedResiduals(const CandidateTables& tables, double bp) {
    double side1 = 0;
    double side2 = 0;
    if (!tables.ResidualSum(bp, 0, line[0], side1) || !tables.ResidualSum(bp, 1, line[1], side2)) {
        return false;
    }
    SSDside = {side1, side2};
    return true;
}

void CalculationState::FitBreakpoint(std::span<const double> y, std::span<const double> x,
                                     double& bp, double& ce, int& type, int method,
                                     const CandidateTables* tables) {
    bool restarted = false;
    for (;;) {
        ClearSums();
        stats = {};
        const std::array<SideSums, 2>* tabulated = tables ? tables->SumsAt(bp) : nullptr;
        if (tabulated) {
            sums = *tabulated;
        } else {
            AddSums(y, x, bp);
        }
        if (bp > Xmin && (sums[0].n < 3 || sums[1].n < 3) && !restarted) {
            bp = Xmin;
            type = 1;
            restarted = true;
            continue;
        }
        break;
    }
    ShapeSideRegressions(type);
    if (type < 2) {
        SSYtot = stats[1].SSY;
        SSXtot = stats[1].SSX;
    }
    ConstructFunction(type, method, bp);

    // The margins use the standard errors of the previous evaluation: this one's
    // statistics do not exist yet.
    const double T = CriticalValue;
    marginLower1 = std::fabs(line[0].slope) - T * SE[0];
    marginLower2 = std::fabs(line[1].slope) - T * SE[1];
    const double upper1 = std::fabs(line[0].slope) + T * SE[0];
    const double upper2 = std::fabs(line[1].slope) + T * SE[1];
    if (type == kRequestType6) {
        if (marginLower1 < 0 && upper1 > 0) {
            line[0].slope = 0;
        }
        if (marginLower2 < 0 && upper2 > 0) {
            line[1].slope = 0;
        }
    }

    if (!tables || !TabulatedResiduals(*tables, bp)) {
        SumResiduals(y, x, bp);
    }
    ce = ExplainedFraction(SSDside[0] + SSDside[1]);
    if (type >= 6 && (stats[0].SSX == 0 || stats[1].SSX == 0)) {
        ce = 0;
    }
    if (stats[0].SSX == 0 && stats[1].SSX == 0) {
        ce = 0;
    }
    if (type < 2) {
        return;
    }
    BreakpointStatistics(type, method, bp);
    ApplyAcceptanceTests(type, ce, bp);
}

double CalculationState::MinSideCount() const {
    const double f = 0.1 * (sums[0].n + sums[1].n);
    return f < 5 ? 5 : f;
}

bool CalculationState::SidesLargeEnough() const {
    const double f = MinSideCount();
    return sums[0].n >= f && sums[1].n >= f;
}

double CalculationState::StDevDifferenceOfAverages() const {
    const double n1 = sums[0].n;
    const double n2 = sums[1].n;
    if (n1 > 0 && n2 > 0) {
        const double sd1 = stats[0].StDevY;
        const double sd2 = stats[1].StDevY;
        return std::sqrt((sd1 * sd1) / n1 + (sd2 * sd2) / n2);
    }
    return 0;
}

double CalculationState::DifferenceOfAverages() const {
    return std::fabs(stats[0].AvY - stats[1].AvY) - CriticalValue * StDevDifferenceOfAverages();
}

void CalculationState::EvaluateSidesForReport(std::span<const double> y, std::span<const double> x,
                                              double bp) {
    ClearSums();
    AddSums(y, x, bp);
    ComputeSideStatistics();
    SetLinesToSideRegressions();
}

CalculationState::Margins CalculationState::RegressionMargins() const {
    Margins m;
    for (int k = 0; k < 2; ++k) {
        m.lower[k] = std::fabs(line[k].slope) - CriticalValue * stats[k].StDevRC;
        m.upper[k] = std::fabs(line[k].slope) + CriticalValue * stats[k].StDevRC;
    }
    return m;
}

void CalculationState::RemoveInsignificantSlopes(const Margins& margins) {
    for (int k = 0; k < 2; ++k) {
        if (margins.lower[k] < 0 && margins.upper[k] > 0) {
            line[k].slope = 0;
        }
    }
}

double CalculationState::DifferenceOfSlopes() const {
    const double seDiff = std::sqrt(SE[0] * SE[0] + SE[1] * SE[1]);
    return std::fabs(line[0].slope - line[1].slope) - CriticalValue * seDiff;
}

bool CalculationState::ValuesAtBreakpointSeparated(double bp) const {
    const double T = CriticalValue;
    const double y1 = line[0].At(bp);
    const double y2 = line[1].At(bp);
    const double den1 = (sums[0].n - 2) * stats[1].SSX;
    const double den2 = (sums[1].n - 2) * stats[0].SSX;
    const double d1 = den1 > 0 ? SSDside[0] / den1 : kUndefinedVariance;
    const double d2 = den2 > 0 ? SSDside[1] / den2 : kUndefinedVariance;
    const double o1 = bp - line[0].Xc;
    const double o2 = bp - line[1].Xc;
    const double e1 = std::sqrt((o1 * o1) * (SE[0] * SE[0]) + d1);
    const double e2 = std::sqrt((o2 * o2) * (SE[1] * SE[1]) + d2);
    return (y1 - T * e1 > y2 + T * e2) || (y1 + T * e1 < y2 - T * e2);
}

bool CalculationState::SideIsFlat(int side) const {
    // The constructed slope of a horizontal side is 0 by construction and tells
    // nothing; the side's own regression does.
    const SideStatistics& t = stats[side];
    return std::fabs(t.RC) - CriticalValue * t.StDevRC <= 0;
}

void CalculationState::ApplyAcceptanceTests(int& type, double& ce, double bp) {
    const double T = CriticalValue;
    const double s1 = line[0].slope;
    const double s2 = line[1].slope;
    switch (type) {
    case 3:
        if (!(marginLower1 < 0 && marginLower2 > 0 && SidesLargeEnough() && SideIsFlat(0))) {
            ce = 0;
        }
        break;
    case 4:
        if (!(marginLower1 > 0 && marginLower2 < 0 && SidesLargeEnough() && SideIsFlat(1))) {
            ce = 0;
        }
        break;
    case 5:
        if (!(marginLower1 < 0 && marginLower2 < 0 && DifferenceOfAverages() > 0 &&
              SidesLargeEnough() && SideIsFlat(0) && SideIsFlat(1))) {
            ce = 0;
        }
        break;
    case kRequestType2: {
        const bool slopesSignificant =
            std::fabs(s1) - T * SE[0] > 0 && std::fabs(s2) - T * SE[1] > 0;
        const bool opposite = (s1 > 0 && s2 < 0) || (s1 < 0 && s2 > 0);
        const bool sameSign = (s1 > 0 && s2 > 0) || (s1 < 0 && s2 < 0);
        const bool different = 1.2 * s2 < s1 || 1.2 * s1 < s2;
        if (slopesSignificant && DifferenceOfSlopes() > 0 && SidesLargeEnough() &&
            (opposite || (sameSign && different))) {
            type = 2;
        }
        break;
    }
    case kRequestType6:
        if (ValuesAtBreakpointSeparated(bp) && SidesLargeEnough()) {
            type = 6;
        }
        break;
    default:
        break;
    }
}

void CalculationState::BreakpointStatistics(int type, int method, double bp) {
    const double n1 = sums[0].n;
    const double n2 = sums[1].n;
    const SideStatistics& st1 = stats[0];
    const SideStatistics& st2 = stats[1];

    double vY1 = n1 > 1 ? st1.SSY / ((n1 - 1) * n1) : kUndefinedVariance;
    double vY2 = n2 > 1 ? st2.SSY / ((n2 - 1) * n2) : kUndefinedVariance;
    const double vX1 = n1 > 2 ? st1.SSX / ((n1 - 1) * n1) : kUndefinedVariance;
    const double vX2 = n2 > 2 ? st2.SSX / ((n2 - 1) * n2) : kUndefinedVariance;
    const double dAv = st2.AvY - st1.AvY;
    const double dY2 = dAv * dAv;

    Vs[0] = SlopeVariance(SSDside[0], n1, st1.SSX);
    Vs[1] = SlopeVariance(SSDside[1], n2, st2.SSX);
    SE[0] = std::sqrt(Vs[0]);
    SE[1] = std::sqrt(Vs[1]);
    SSDfun = SSDside[0] + SSDside[1];

    const double nAll = n1 + n2;
    const double q0Den = nAll * (nAll - 4);
    const double q0 = q0Den > 0 ? SSDfun / q0Den : kUndefinedVariance;
    Xav = nAll > 0 ? (n1 * st1.AvX + n2 * st2.AvX) / nAll : 0;
    const double qxDen = (nAll - 4) * SSXtot;
    const double qx = qxDen != 0 ? SSDfun / qxDen : 0;
    const double dXav = Xav - bp;
    StDevYbp = RootOrUndefined((dXav * dXav) * qx + q0);

    StErrBP = 0;
    double eY1 = 0;
    double eY2 = 0;
    if (type == 3 && n2 > 2) {
        const double d = st2.AvX - bp;
        eY2 = std::sqrt(SSDfun / ((n2 - 1) * n2) + (d * d) * (SE[1] * SE[1]));
    }
    if (type == 4 && n1 > 2) {
        const double d = st1.AvX - bp;
        eY1 = std::sqrt(SSDfun / ((n1 - 1) * n1) + (d * d) * (SE[0] * SE[0]));
    }
    if (type == 3 && method == 1) {
        vY1 = eY2 * eY2;
    }
    if (type == 4 && method == 1) {
        vY2 = eY1 * eY1;
    }

    // Standard error of the crossing point xStar of two lines with slopes s1 and s2,
    // each taken around its side's centre, where its level and its slope are
    // independent: moving a level by dY moves the crossing by dY / (s1 - s2), and
    // turning a slope by ds moves it by (xStar - AvX) * ds / (s1 - s2). The result
    // is in units of X and does not depend on the units of Y or on where X starts.
    auto crossingError = [&](double s1, double s2, double xStar) {
        const double ds = std::fabs(s1 - s2);
        if (ds == 0) {
            return 0.0; // parallel lines have no intersection to be uncertain about
        }
        const double v1 = n1 > 2 ? SSDside[0] / ((n1 - 2) * n1) : kUndefinedVariance;
        const double v2 = n2 > 2 ? SSDside[1] / ((n2 - 2) * n2) : kUndefinedVariance;
        const double u1 = xStar - st1.AvX;
        const double u2 = xStar - st2.AvX;
        const double radicand = v1 + v2 + (u1 * u1) * Vs[0] + (u2 * u2) * Vs[1];
        const double error = std::sqrt(radicand) / ds;
        return std::isfinite(error) ? error : 0.0;
    };

    if (type == 2) {
        // The constructed lines meet at the breakpoint itself.
        StErrBP = crossingError(line[0].slope, line[1].slope, bp);
    } else if (type == 3 || type == 4) {
        const bool three = type == 3;
        const double s = three ? line[1].slope : line[0].slope;
        const double se = three ? SE[1] : SE[0];
        double eBP;
        if (three) {
            const double den = st2.RC - SE[1];
            const double xAt = den == 0 ? kUndefinedVariance : (st1.AvY - st2.AvY) / den + st2.AvX;
            eBP = bp - xAt;
        } else {
            const double den = st1.RC - SE[0];
            const double xAt = den == 0 ? kUndefinedVariance : (st2.AvY - st1.AvY) / den + st1.AvX;
            eBP = xAt - bp;
        }
        const double h1 = (s + se) == 0 ? kUndefinedVariance : 1 / (s + se);
        const double h2 = (s - se) == 0 ? kUndefinedVariance : 1 / (s - se);
        const double half = std::fabs(h1 - h2) / 2;
        const double q = half * half;
        const double vXs = three ? vX2 : vX1;
        const double s2 = s * s;
        if (s2 > 0) {
            StErrBP = RootOrUndefined(dY2 * q + vXs + (vY1 + vY2) / s2);
        }
        if (eBP > 0 && eBP < StErrBP) {
            StErrBP = eBP;
        }
        SEsloping = se;
    } else if (type == 6) {
        if (stats[0].RC == stats[1].RC) {
            stats[0].RC = 1.01 * stats[1].RC;
        }
        const double rc1 = stats[0].RC;
        const double rc2 = stats[1].RC;
        const double xStar =
            rc1 != rc2 ? (st2.AvY - rc2 * st2.AvX - st1.AvY + rc1 * st1.AvX) / (rc1 - rc2) : bp;
        StErrBP = crossingError(rc1, rc2, xStar);
    }
}

} // namespace brekka
