#include "graphs/geometry/PlotPreparation.h"

#include <cmath>
#include <utility>
#include <vector>

namespace brekka {

namespace {

// Half-way values go to the even neighbour. Far-out values (which the graph
// refuses afterwards) are held where the ladder's multiples of 50 still fit.
int RoundToInt(double value) {
    constexpr double kLimit = 40000000;
    const double rounded = std::nearbyint(value);
    if (!(rounded > -kLimit)) {
        return -static_cast<int>(kLimit);
    }
    if (rounded > kLimit) {
        return static_cast<int>(kLimit);
    }
    return static_cast<int>(rounded);
}

void SwapRows(std::vector<double>& a, std::vector<double>& b, int rows) {
    for (int i = 0; i < rows; ++i) {
        std::swap(a[i], b[i]);
    }
}

std::string AxisText(const char* plain, const char* scaled, int factor) {
    if (factor == 10) {
        return std::string(scaled) + " * 10";
    }
    if (factor == 100) {
        return std::string(scaled) + " * 100";
    }
    return plain;
}

std::string XText(int factor) {
    return AxisText("X-Data", "X-data", factor);
}
std::string ZText(int factor) {
    return AxisText("Z-Data", "Z-data", factor);
}

// Runs the factor tests in order, each on the values the one before left; when two
// hold, the last one decides (the range is multiplied by that factor only).
class FactorTests {
public:
    FactorTests(double& min, double& max) : min_(min), max_(max), origMin_(min), origMax_(max) {}
    void Test(bool holds, int factor) {
        if (holds) {
            factor_ = factor;
            min_ = origMin_ * factor;
            max_ = origMax_ * factor;
        }
    }
    int Factor() const { return factor_; }

private:
    double& min_;
    double& max_;
    double origMin_;
    double origMax_;
    int factor_ = 1;
};

bool NegativeDominated(double min, double max) {
    return min < 0 && std::abs(min) > std::abs(max);
}

} // namespace

void SelectRelation(GraphState& state, int graphKind) {
    if (graphKind != 1 && graphKind != 2) {
        return;
    }
    const KeptWholeData& kept = state.Kept[graphKind - 1];
    state.AvXAll = kept.AvX;
    state.StDevRC = kept.StDevRC;
    state.StDevYr = kept.StDevYr;
}

void UseSecondRelation(GraphState& s) {
    const SecondRelationValues& r = s.Second;
    s.N1 = r.N1;
    s.N2 = r.N2;
    s.AvY1 = r.AvY1;
    s.AvX1 = r.AvX1;
    s.AvY2 = r.AvY2;
    s.AvX2 = r.AvX2;
    s.StDevRC1 = r.StDevRC1;
    s.StDevRC2 = r.StDevRC2;
    s.StDevY1 = r.StDevY1;
    s.StDevY2 = r.StDevY2;
    s.StDevYr1 = r.StDevYr1;
    s.StDevYr2 = r.StDevYr2;
    s.AvY = r.AvY;
    s.AvX = r.AvX;
    s.StDevRC = r.StDevRC;
    s.StDevYr = r.StDevYr;
    s.StDevX = r.StDevX;
    s.RC1 = s.RCz1;
    s.RC2 = s.RCz2;
    s.BP = s.BP2;
    s.Ybp = s.Ybp2;
    s.StErrBP = s.StErrBP2;
    s.ExplCoeff = s.ExplCoeff2;
}

void PrepareGraphData(GraphState& s, GraphData& d) {
    const int rows = d.NrOfData;
    const bool yx = d.SummaryKey == " Y-X";
    s.PlotMode = 0;
    switch (s.GraphKind) {
    case 0:
    case 1:
        s.ShownType = s.FuncType;
        s.ShownMethod = s.CalcMethod;
        if (d.IsTwoVariable()) {
            if (yx) {
                s.PlotMode = s.ShownType >= 2 ? 10 : 11;
            } else {
                s.PlotMode = s.ShownType >= 2 ? 12 : 13;
                SwapRows(d.GraphX, d.GraphZ, rows);
            }
            if (s.ShownType < 2) {
                s.RC1 = s.RC2;
            }
        }
        break;
    case 2:
        s.ShownType = s.FuncType2;
        s.ShownMethod = s.CalcMethod2;
        if (yx) {
            s.PlotMode = s.ShownType >= 2 ? 14 : 15;
            SwapRows(d.GraphX, d.GraphZ, rows);
            SwapRows(d.GraphY, d.GraphRes, rows);
        } else {
            s.PlotMode = s.ShownType >= 2 ? 16 : 17;
            SwapRows(d.GraphY, d.GraphRes, rows);
        }
        if (d.IsTwoVariable()) {
            UseSecondRelation(s);
        }
        if (s.ShownType < 2) {
            s.RC1 = s.RCz2;
        }
        break;
    case 3:
        s.PlotMode = 18;
        d.GraphX = d.GraphYCalc;
        s.ShownType = 1;
        s.ShownMethod = 0;
        break;
    case 4:
        s.ShownType = 1;
        s.ShownMethod = 0;
        if (yx) {
            s.PlotMode = 19;
            SwapRows(d.GraphX, d.GraphZ, rows);
        } else {
            s.PlotMode = 20;
        }
        break;
    case 5:
        s.ShownType = 1;
        s.ShownMethod = 0;
        if (yx) {
            s.PlotMode = 21;
            for (int i = 0; i < rows; ++i) {
                d.GraphY[i] = d.GraphX[i];
                d.GraphX[i] = d.GraphZ[i];
                d.GraphZ[i] = d.GraphRes[i];
            }
        } else {
            s.PlotMode = 22;
            SwapRows(d.GraphY, d.GraphZ, rows);
        }
        break;
    default:
        break;
    }
}

int HorizontalFactor(double& min, double& max) {
    FactorTests t(min, max);
    if (!NegativeDominated(min, max)) {
        t.Test(max < 0.01, 1000);
        t.Test(0.01 < max && max < 0.1, 100);
        t.Test(0.1 < max && max < 1, 10);
    } else if (max < 0) {
        t.Test(min > -0.01, 1000);
        t.Test(-0.1 < min && min < -0.01, 100);
        t.Test(-1 < min && min < -0.1, 10);
    }
    return t.Factor();
}

int VerticalFactor(double& min, double& max) {
    FactorTests t(min, max);
    if (!NegativeDominated(min, max)) {
        t.Test(min < -0.01 && max < 0.1, 10);
        t.Test(min < -0.001 && max < 0.01, 100);
        t.Test(min > 0 && max < 0.01, 1000);
        t.Test(min > 0 && 0.01 < max && max < 0.1, 100);
        t.Test(min > 0 && 0.1 < max && max < 1, 10);
    } else if (max < 0) {
        t.Test(min > -0.01, 1000);
        t.Test(-0.1 < min && min < -0.01, 100);
        t.Test(-1 < min && min < -0.1, 10);
    }
    return t.Factor();
}

AxisScale ScaleAxis(double min, double max, bool vertical) {
    AxisScale a;
    const double m = max;
    int step = 1;
    auto plain = [&](int margin, int divisor) {
        const int used = vertical ? 0 : margin;
        a.Low = RoundToInt(min) - used;
        a.High = RoundToInt(max) + used;
        step = divisor;
    };
    auto stepped = [&](double unit, double low, double high, int divisor) {
        a.Low = static_cast<int>(unit) * RoundToInt(low);
        a.High = static_cast<int>(unit) * RoundToInt(high);
        step = divisor;
    };
    if (m >= 50000) {
        plain(5000, 10000);
    } else if (m >= 25000) {
        plain(2500, 5000);
    } else if (m >= 10000) {
        plain(1000, 2500);
    } else if (m >= 5000) {
        plain(0, 1000);
    } else if (m >= 2500) {
        plain(0, 500);
    } else if (m >= 1000) {
        plain(0, 250);
    } else if (m >= 500) {
        plain(0, 100);
    } else if (m >= 250) {
        stepped(50, (min - 25) / 50, (max + 25) / 50, 50);
    } else if (m >= 100) {
        stepped(25, (2 * min - 25) / 50, (2 * max + 25) / 50, 25);
    } else if (m >= 50) {
        stepped(10, (min - 5) / 10, (max + 5) / 10, 10);
    } else if (m >= 25) {
        stepped(5, (min - 2.5) / 5, (max + 2.5) / 5, 5);
        a.Decimals = 1;
    } else if (m >= 10) {
        stepped(4, (min - 2) / 4, (max + 2) / 4, 4);
        a.Decimals = 1;
    } else {
        a.Low = RoundToInt(min - 0.5);
        a.High = RoundToInt(max + 0.5);
        a.Decimals = 1;
    }
    const long long span = static_cast<long long>(a.High) - a.Low;
    long long intervals = span / step;
    if (vertical && m < 10 && intervals >= 11) {
        intervals /= 2;
    }
    if (intervals > 10) {
        intervals = 10;
        ++a.Decimals;
    } else if (intervals < 4) {
        intervals = 4;
        if (a.High < 100) {
            ++a.Decimals;
        }
    }
    a.Intervals = static_cast<int>(intervals);
    return a;
}

void ScaleAxes(GraphState& s, GraphData& d) {
    s.YMax = -1000000;
    s.YMin = 10000000;
    s.XMax = -1000000;
    s.XMin = 10000000;
    for (int i = 0; i < d.NrOfData; ++i) {
        if (d.GraphY[i] > s.YMax) {
            s.YMax = d.GraphY[i];
        }
        if (d.GraphY[i] < s.YMin) {
            s.YMin = d.GraphY[i];
        }
        if (d.GraphX[i] > s.XMax) {
            s.XMax = d.GraphX[i];
        }
        if (d.GraphX[i] < s.XMin) {
            s.XMin = d.GraphX[i];
        }
    }
    s.XMax = s.XMax + 0.1 * (s.XMax - s.XMin);
    s.XMin = s.XMin - 0.05 * (s.XMax - s.XMin);
    s.YMax = s.YMax + 0.1 * (s.YMax - s.YMin);
    s.YMin = s.YMin - 0.05 * (s.YMax - s.YMin);

    s.XFactor = HorizontalFactor(s.XMin, s.XMax);
    for (int i = 0; i < d.NrOfData; ++i) {
        d.GraphX[i] *= s.XFactor;
    }
    const AxisScale x = ScaleAxis(s.XMin, s.XMax, false);
    s.XLow = x.Low;
    s.XHigh = x.High;
    s.XIntervals = x.Intervals;
    s.XDecimals = x.Decimals;

    s.YFactor = VerticalFactor(s.YMin, s.YMax);
    for (int i = 0; i < d.NrOfData; ++i) {
        d.GraphY[i] *= s.YFactor;
    }
    const AxisScale y = ScaleAxis(s.YMin, s.YMax, true);
    s.YLow = y.Low;
    s.YHigh = y.High;
    s.YIntervals = y.Intervals;
    s.YDecimals = y.Decimals;
}

void MakeAxisLabels(GraphState& s, const GraphData& d) {
    const int pm = s.PlotMode;
    s.XLabel = d.VarTag == " BPz" ? ZText(s.XFactor) : XText(s.XFactor);
    if ((pm >= 12 && pm <= 15) || pm == 19 || pm == 21 || d.VarOption == 2) {
        s.XLabel = ZText(s.XFactor);
    }
    if (pm == 16 || pm == 17 || d.VarOption == 1) {
        s.XLabel = XText(s.XFactor);
    }
    s.YLabel = AxisText("Y-Data", "Y-data", s.YFactor);
    if (pm == 14 || pm == 15) {
        s.YLabel = AxisText("YXr residuals", "YXr residuals", s.YFactor);
    } else if (pm == 16 || pm == 17) {
        s.YLabel = AxisText("YZr residuals", "YZr residuals", s.YFactor);
    } else if (pm == 18) {
        s.XLabel = AxisText("Ycalc", "Ycalc", s.XFactor);
        s.YLabel = AxisText("Yobs", "Yobs", s.YFactor);
    } else if (pm == 20) {
        s.XLabel = XText(s.XFactor);
    } else if (pm == 21) {
        // The vertical values were multiplied by the vertical factor, so the
        // label names that one.
        s.YLabel = XText(s.YFactor);
    } else if (pm == 22) {
        s.XLabel = XText(s.XFactor);
        s.YLabel = ZText(s.YFactor);
    }
}

} // namespace brekka
