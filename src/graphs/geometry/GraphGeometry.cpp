#include "graphs/geometry/GraphGeometry.h"

#include <algorithm>
#include <cmath>

namespace brekka {

namespace {

struct Line {
    double x0, y0, slope;
    double At(double x) const { return (x - x0) * slope + y0; }
    // The point of the line at the border y; only for a sloping line.
    GraphPoint AtY(double y) const { return {x0 + (y - y0) / slope, y}; }
};

// An end of the function outside the vertical range moves along its line to the
// border it crossed; a horizontal line cannot reach it and stays.
GraphPoint ClipAlongLine(GraphPoint p, const Line& line, const GraphState& s) {
    if (line.slope == 0) {
        return p;
    }
    if (p.y > s.YMax) {
        return line.AtY(s.YMax);
    }
    if (p.y < s.YMin) {
        return line.AtY(s.YMin);
    }
    return p;
}

double Ratio(double numerator, double denominator) {
    return denominator != 0 ? numerator / denominator : 0.0;
}

// Rescaling of the statistics of a relation with a breakpoint to the axis factors.
void RescaleBroken(GraphState& s) {
    const double fX = s.XFactor;
    const double fY = s.YFactor;
    s.RC1 *= fY / fX;
    s.RC2 *= fY / fX;
    s.AvY1 *= fY;
    s.AvY2 *= fY;
    s.Ybp *= fY;
    s.AvX1 *= fX;
    s.AvX2 *= fX;
    s.AvXAll *= fX;
    const bool residual = s.PlotMode >= 14 && s.PlotMode <= 17;
    s.BPScaled = (residual ? s.BP2 : s.BP) * fX;
    if (residual) {
        s.ShownType = s.FuncType2;
    }
}

} // namespace

void LineAndBeltNoBreak(GraphState& s, const GraphData& d) {
    const double fX = s.XFactor;
    const double fY = s.YFactor;
    if (s.PlotMode == 18) {
        s.LineStart = {s.XMin, s.XMin * fY / fX};
        s.LineBreak = {s.XMax, s.XMax * fY / fX};
        if (s.LineStart.y < s.YMin) {
            s.LineStart = {s.YMin * fX / fY, s.YMin};
        }
        if (s.LineBreak.y > s.YMax) {
            s.LineBreak = {s.YMax * fX / fY, s.YMax};
        }
        return;
    }
    if (s.PlotMode > 18) {
        return;
    }
    s.RC1 *= fY / fX;
    s.StDevRC *= fY / fX;
    s.AvY *= fY;
    s.StDevYr *= fY;
    s.AvX *= fX;
    const double rc = s.RC1;
    const Line line{s.AvX, s.AvY, rc};

    if (s.ShownType == 0) {
        s.LineStart = {s.XMin, s.AvY};
        s.LineBreak = {s.XMax, s.AvY};
    } else {
        s.LineStart = ClipAlongLine({s.XMin, line.At(s.XMin)}, line, s);
        s.LineBreak = ClipAlongLine({s.XMax, line.At(s.XMax)}, line, s);
    }

    const double lo = rc - 1.75 * s.StDevRC;
    const double hi = rc + 1.75 * s.StDevRC;
    const double u = d.NrOfData > 0 ? 1.75 * s.StDevYr / std::sqrt(d.NrOfData) : 0.0;
    const double w = 1.4 * u;
    const Line low{s.AvX, s.AvY, lo};
    const Line high{s.AvX, s.AvY, hi};
    auto along = [&](const Line& l, double x) { return GraphPoint{x, l.At(x)}; };
    auto offset = [&](double slope) { return slope - rc != 0 ? s.AvX + w / (slope - rc) : s.AvX; };
    auto offsetBack = [&](double slope) {
        return slope - rc != 0 ? s.AvX - w / (slope - rc) : s.AvX;
    };
    auto& U = s.UpperBelt;
    auto& L = s.LowerBelt;

    U[0] = along(low, s.XMin);
    if (U[0].y > s.YMax && lo != 0) {
        U[0] = low.AtY(s.YMax);
    }
    U[1] = along(low, offset(lo));
    if (U[1].x < s.XMin) {
        U[1] = U[0];
    }
    U[4] = along(high, offset(hi));
    U[5] = along(high, s.XMax);
    if (U[5].y > s.YMax && hi != 0) {
        U[5] = high.AtY(s.YMax);
    }
    if (U[4].x > s.XMax) {
        U[4] = U[5];
    }
    double x3 = s.AvX - 0.2 * (s.XMax - s.XMin);
    if (x3 < U[1].x) {
        x3 = (s.AvX + U[1].x) / 2;
    }
    U[2] = {x3, line.At(x3) + u};
    double x4 = s.AvX + 0.2 * (s.XMax - s.XMin);
    if (x4 > U[4].x) {
        x4 = (s.AvX + U[4].x) / 2;
    }
    U[3] = {x4, line.At(x4) + u};

    L[0] = along(high, s.XMin);
    if (L[0].y < s.YMin && hi != 0) {
        L[0] = high.AtY(s.YMin);
    }
    L[1] = along(high, offsetBack(hi));
    if (L[1].x < s.XMin) {
        L[1] = L[0];
    }
    L[4] = along(low, offsetBack(lo));
    if (L[4].x < s.AvX) {
        L[4] = {s.AvX, s.AvY - w};
    }
    L[5] = along(low, s.XMax);
    if (L[5].y < s.YMin && lo != 0) {
        L[5] = low.AtY(s.YMin);
    }
    if (L[4].x > s.XMax) {
        L[4] = L[5];
    }
    double l3 = U[2].x;
    if (l3 < L[1].x) {
        l3 = (s.AvX + L[1].x) / 2;
    }
    L[2] = {l3, line.At(l3) - u};
    double l4 = U[3].x;
    if (l4 > L[4].x) {
        l4 = (s.AvX + L[4].x) / 2;
    }
    L[3] = {l4, line.At(l4) - u};
}

void LineBeltAndBlock(GraphState& s) {
    RescaleBroken(s);
    const double fX = s.XFactor;
    const double fY = s.YFactor;
    const double b = s.BPScaled;
    const bool residual = s.PlotMode >= 14 && s.PlotMode <= 17;
    // The method of the relation drawn, so that the line is the reported function.
    const int method = residual ? s.CalcMethod2 : s.CalcMethod;
    auto y1 = [&](double x) { return (x - s.AvX1) * s.RC1 + s.AvY1; };
    auto y2 = [&](double x) { return (x - s.AvX2) * s.RC2 + s.AvY2; };
    auto adjust = [](double& slope, double rise, double run) {
        if (run != 0) {
            slope = rise / run;
        }
    };
    switch (s.ShownType) {
    case 3:
        if (method == 1) {
            s.AvY1 = y2(b);
        } else {
            adjust(s.RC2, s.AvY2 - s.AvY1, s.AvX2 - b);
        }
        break;
    case 4:
        if (method == 1) {
            s.AvY2 = y1(b);
        } else {
            adjust(s.RC1, s.AvY2 - s.AvY1, b - s.AvX1);
        }
        break;
    case 2:
        if (method == 1) {
            adjust(s.RC2, s.Ybp - s.AvY2, b - s.AvX2);
        } else {
            adjust(s.RC1, s.Ybp - s.AvY1, b - s.AvX1);
        }
        break;
    default:
        break;
    }
    const Line left{s.AvX1, s.AvY1, s.RC1};
    const Line right{s.AvX2, s.AvY2, s.RC2};
    s.LineStart = ClipAlongLine({s.XMin, y1(s.XMin)}, left, s);
    s.LineBreak = {b, y1(b)};
    s.LineEnd = ClipAlongLine({s.XMax, y2(s.XMax)}, right, s);

    const double n = s.N1 + s.N2;
    const double ssy1 = std::pow(fY * s.StDevY1, 2) * (s.N1 - 1);
    const double ssy2 = std::pow(fY * s.StDevY2, 2) * (s.N2 - 1);
    const double q = (1 - s.ExplCoeff) * (ssy1 + ssy2);
    const double e = Ratio(q, n * (n - 2));
    const double dd = Ratio(q, (n - 1) * (n - 1) * std::pow(fX * s.StDevX, 2));
    auto halfWidth = [&](double x) {
        const double radicand = e + dd * (x - s.AvXAll) * (x - s.AvXAll);
        return radicand > 0 ? std::sqrt(radicand) : 0.0;
    };

    for (int side = 0; side < 2; ++side) {
        const double sign = side == 0 ? 1.0 : -1.0;
        auto& p = side == 0 ? s.UpperBelt : s.LowerBelt;
        auto onLeft = [&](double x) { return GraphPoint{x, y1(x) + sign * 1.75 * halfWidth(x)}; };
        auto onRight = [&](double x) { return GraphPoint{x, y2(x) + sign * 1.75 * halfWidth(x)}; };
        p[0] = onLeft(s.XMin);
        p[1] = onLeft(s.AvX1);
        p[2] = onLeft(std::min(s.AvXAll, b));
        const double x4 = std::max(s.AvXAll, b);
        p[3] = s.AvXAll > b ? onRight(x4) : onLeft(x4);
        p[4] = onRight(s.AvX2);
        p[5] = onRight(s.XMax);

        // An end point outside the range moves along the piece towards its inner
        // neighbour; where that piece cannot reach the border it takes the
        // neighbour's place.
        auto clipEnd = [&](GraphPoint& end, const GraphPoint& inner, double upperLimit) {
            double border;
            if (end.y > upperLimit) {
                border = s.YMax;
            } else if (end.y < s.YMin) {
                border = s.YMin;
            } else {
                return;
            }
            const double run = inner.x - end.x;
            const double slope = run != 0 ? (inner.y - end.y) / run : 0.0;
            if (slope == 0) {
                end = inner;
            } else {
                end = {end.x + (border - end.y) / slope, border};
            }
        };
        clipEnd(p[0], p[1], s.YMax);
        clipEnd(p[5], p[4], 1.05 * s.YMax);
        auto outside = [&](const GraphPoint& q) { return q.y < s.YMin || q.y > s.YMax; };
        if (p[1].x < p[0].x || outside(p[1])) {
            p[1] = p[0];
        }
        if (p[4].x > p[5].x || outside(p[4])) {
            p[4] = p[5];
        }
        if (p[1].x > p[2].x) {
            p[1] = p[2];
        }
        if (p[0].x > p[1].x) {
            p[0] = p[1];
        }
        if (p[4].x < p[3].x) {
            p[4] = p[3];
        }
        if (p[5].x < p[4].x) {
            p[5] = p[4];
        }
    }

    double a = 0, c = 0;
    switch (s.ShownType) {
    case 2:
        a = 1.8, c = 1.8;
        break;
    case 3:
        a = 2, c = 1.75;
        break;
    default:
        a = 1.75, c = 2;
        break;
    }
    s.BlockLeft = std::max(b - a * fX * s.StErrBP, s.XMin);
    s.BlockRight = std::min(b + c * fX * s.StErrBP, s.XMax);
    s.BlockLow = y1(b) - 1.75 * halfWidth(b);
    s.BlockHigh = y1(b) + 1.75 * halfWidth(b);
}

void LinesDisjoint(GraphState& s) {
    RescaleBroken(s);
    const double fX = s.XFactor;
    const double fY = s.YFactor;
    const double b = s.BPScaled;
    const bool level = s.ShownType == 5;
    auto y1 = [&](double x) { return level ? s.AvY1 : (x - s.AvX1) * s.RC1 + s.AvY1; };
    auto y2 = [&](double x) { return level ? s.AvY2 : (x - s.AvX2) * s.RC2 + s.AvY2; };
    s.LineStart = {s.XMin, y1(s.XMin)};
    s.LineBreak = {b, y1(b)};
    s.LineEnd = {b, y2(b)};
    s.LineEnd2 = {s.XMax, y2(s.XMax)};
    if (!level) {
        const Line left{s.AvX1, s.AvY1, s.RC1};
        const Line right{s.AvX2, s.AvY2, s.RC2};
        s.LineStart = ClipAlongLine(s.LineStart, left, s);
        s.LineBreak = ClipAlongLine(s.LineBreak, left, s);
        s.LineEnd = ClipAlongLine(s.LineEnd, right, s);
        s.LineEnd2 = ClipAlongLine(s.LineEnd2, right, s);
    }

    const double ssr = s.StDevYr1 * s.StDevYr1 * (s.N1 - 2) + s.StDevYr2 * s.StDevYr2 * (s.N2 - 2);
    const double n = s.N1 + s.N2;
    const double e = Ratio(ssr, n * (n - 2));
    const double dd = Ratio(ssr, (n - 2) * s.N1 * std::pow(fX * s.StDevX, 2));
    auto halfWidth = [&](double x) {
        const double radicand = e + dd * (x - s.AvXAll) * (x - s.AvXAll);
        return radicand > 0 ? fY * std::sqrt(radicand) : 0.0;
    };
    auto inRange = [&](double y) { return y >= s.YMin && y <= s.YMax; };

    // One belt of one segment: its outer end, middle and breakpoint end.
    auto belt = [&](bool leftSegment, double sign, GraphPoint& outer, GraphPoint& middle,
                    GraphPoint& inner) {
        auto f = [&](double x) {
            return GraphPoint{x, (leftSegment ? y1(x) : y2(x)) + sign * 1.75 * halfWidth(x)};
        };
        const double outerX = leftSegment ? s.LineStart.x : s.LineEnd2.x;
        const double innerX = leftSegment ? s.LineBreak.x : s.LineEnd.x;
        outer = f(outerX);
        inner = f(innerX);
        middle = f(leftSegment ? s.AvX1 : s.AvX2);
        auto beyondOuter = [&](double x) { return leftSegment ? x < outerX : x > outerX; };
        auto beyondInner = [&](double x) { return leftSegment ? x > innerX : x < innerX; };
        if (!inRange(middle.y)) {
            const double moved = middle.x + (middle.x - outerX) / 2;
            middle = f(moved);
            if (middle.y > s.YMax) {
                middle = f(moved - (moved - outerX) / 2);
            }
            if (!inRange(middle.y)) {
                middle = outer;
            }
        }
        if (beyondOuter(middle.x)) {
            middle = outer;
        }
        if (beyondInner(middle.x)) {
            middle = inner;
        }
        if (sign < 0 && outer.y < s.YMin) {
            outer = {(outer.x + middle.x) / 2, (outer.y + middle.y) / 2};
        }
    };
    auto& U = s.UpperBelt;
    auto& L = s.LowerBelt;
    belt(true, 1.0, U[0], U[1], U[2]);
    belt(true, -1.0, L[0], L[1], L[2]);
    belt(false, 1.0, U[5], U[4], U[3]);
    belt(false, -1.0, L[5], L[4], L[3]);
}

} // namespace brekka
