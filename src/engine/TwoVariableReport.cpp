// The two-variable report. The graph reader reads it back by line position and
// users' scripts depend on its layout, so every text stands exactly as users
// know it, slips included.
#include <cmath>
#include <initializer_list>

#include "engine/ReportFormat.h"
#include "engine/TwoVariableRegression.h"
#include "text/NumberFormat.h"

namespace brekka {

namespace {

std::string E(const char* pattern, double value) {
    return FormatPattern(pattern, value);
}

const char* const kTableBelow =
    " The table below gives the following series of values respectively:";

// " k " for the first type 2..6 set in `flags`, or the text for none.
std::string FirstTypeMark(const std::array<bool, 7>& flags, const char* none) {
    for (int k = 2; k <= 6; ++k) {
        if (flags[k]) {
            std::string mark(3, ' ');
            mark[1] = static_cast<char>('0' + k);
            return mark;
        }
    }
    return none;
}

} // namespace

bool TwoVariableEngine::StageVariableIsZ() const {
    // The first stage regresses on Z in sequence 2, the second stage and the
    // line between the variables on Z in sequence 1.
    if (two_.DetailStage == 1) {
        return two_.Sequence == 2;
    }
    return two_.Sequence == 1;
}

void TwoVariableEngine::WriteFileHeader() {
    auto line = [&](const std::string& text) { out_.WriteLine(text); };
    line(" Results of program BREKKA2 for the segmented linear regression of");
    line(" Y upon X and Z with X-breakpoint BP1 and Z-breakpoint BPz.");
    line(" The regression sequences are either:");
    line(" - Y upon X followed by the residuals YXr upon Z, or");
    line(" - Y upon Z followed by the residuals YXr upon X,");
    line(" whichever gives the best statistical explanation.");
    line(" There can be different types of functions ranging from type 0 to type 6");
    line(" and (for types 2, 3 and 4) two methods of calculation.");
    line(" The types and methods are determined with the procedure of best fit.");
    line(" For explanations, use the symbols function in the output scroll menu.");
    line("");
    line(" Name of this output file:  " + data_.FileName);
    line(" Name of input file used :  " + inputName_);
    line("");
    line(" " + data_.Title1);
    line(" " + data_.Title2);
    line(" Minimum confidence % : " +
         std::to_string(ConfidenceForCriticalValue(state_.CriticalValue)));
    const TypeChoices& x = settings_.XChoices;
    const TypeChoices& z = settings_.ZChoices;
    if (x.AnyPreferred() || z.AnyPreferred()) {
        line(" X-type preferred:" + FirstTypeMark(x.preferred, " Best of all"));
        line(" Z-type preferred:" + FirstTypeMark(z.preferred, " Best of all"));
    }
    if (x.AnyExcluded() || z.AnyExcluded()) {
        line(" X-type excluded:" + FirstTypeMark(x.excluded, " None"));
        line(" Z-type excluded:" + FirstTypeMark(z.excluded, " None"));
    }
    line("");
}

void TwoVariableEngine::WriteTwoVariableHeader() {
    if (two_.Sequence == 0) {
        WriteFileHeader();
        return;
    }
    auto lines = [&](std::initializer_list<const char*> texts) {
        for (const char* text : texts) {
            out_.WriteLine(text);
        }
    };
    const bool seq1 = two_.Sequence == 1;
    switch (two_.HeaderKind) {
    case 2:
        if (seq1) {
            lines({"", " Regression of Y residuals (Yr) on Z without breakpoint (BPz=Zmin).",
                   " The second (Z) of two independent variables is used secondly.", kTableBelow,
                   "    Breakpoint(BPz)    number of data        Av.Yr         Av.Z",
                   "    Regr.Coeff.(RC)    Corr.Coeff.Sq.      St.Dev.RC       Yr(Z=0)",
                   "      St.Dev.Yr          St.Dev.Yrr         St.Dev.Z", ""});
        } else {
            lines({"", " Regression of Y residuals (Yr) upon X without breakpoint (BPx=Xmin).",
                   " The first (X) of two independent variables is used secondly.", kTableBelow,
                   "    Breakpoint(BPx)    number of data        Av.Yr         Av.X",
                   "    Regr.Coeff.(RC)    Corr.Coeff.Sq.      St.Dev.RC       Yr(X=0)",
                   "      St.Dev.Yr          St.Dev.Yrr         St.Dev.X", ""});
        }
        return;
    case 3:
        if (seq1) {
            lines({"", " Regression of Y residuals (Yr) on Z with optimal breakpoint (BPz).",
                   " The second (Z) of two independent variables is used secondly.", kTableBelow,
                   "    Breakpoint(BPz)    number of data        Av.Yr         Av.Z",
                   "    Regr.Coeff.(RC)    Corr.Coeff.Sq.      St.Dev.RC       Yr(Z=0)",
                   "      St.Dev.Yr          St.Dev.Yrr         St.Dev.Z",
                   " for the data with Z-values smaller and greater than BPz followed",
                   " by the function parameters.", ""});
        } else {
            lines({"", " Regression of Y residuals (Yr) on X with optimal breakpoint (BPx)",
                   " The first (X) of two independent variables is used secondly.", kTableBelow,
                   "    Breakpoint(BPx)    number of data        Av.Yr         Av.X",
                   "    Regr.Coeff.(RC)    Corr.Coeff.Sq.      St.Dev.RC       Yr(X=0)",
                   "      St.Dev.Yr          St.Dev.Yrr         St.Dev.X",
                   " for the data with Z-values smaller and greater than BPz followed",
                   " by the function parameters.", ""});
        }
        return;
    default:
        break;
    }
    if (two_.ResidualStageFlag) {
        if (seq1) {
            lines({"", " Regression of X upon Z without breakpoint (BPz=Zmin).",
                   " This analyzes the relation between the independent variables.", kTableBelow,
                   "    Breakpoint(BPz)    number of data        Av.X          Av.Z",
                   "    Regr.Coeff.(RC)    Corr.Coeff.Sq.      St.Dev.RC       X(Z=0)",
                   "      St.Dev.X           St.Dev.Zr         St.Dev.Z", ""});
        } else {
            lines({"", " Regression of Z upon X without breakpoint (BPx=Xmin).",
                   " This analyzes the relation between the independent variables.", kTableBelow,
                   "    Breakpoint(BPx)    number of data        Av.Z          Av.X",
                   "    Regr.Coeff.(RC)    Corr.Coeff.Sq.      St.Dev.RC       Z(X=0)",
                   "      St.Dev.Z           St.Dev.Xr         St.Dev.X", ""});
        }
        return;
    }
    if (two_.HeaderKind == 0) {
        if (seq1) {
            lines({" Regression of Y upon X without breakpoint (BPx=Xmin).",
                   " The first (X) of two independent variables is used firstly.", kTableBelow,
                   "    Breakpoint(BPx)    number of data        Av.Y          Av.X",
                   "    Regr.Coeff.(RC)    Corr.Coeff.Sq.      St.Dev.RC       Y(X=0)",
                   "      St.Dev.Y           St.Dev.Yr         St.Dev.X", ""});
        } else {
            lines({" Regression of Y upon Z without breakpoint (BPz=Zmin).",
                   " The second (Z) of two independent variables is used firstly.", kTableBelow,
                   "    Breakpoint(BPz)    number of data        Av.Y          Av.Z",
                   "    Regr.Coeff.(RC)    Corr.Coeff.Sq.      St.Dev.RC       Y(Z=0)",
                   "      St.Dev.Y           St.Dev.Yr         St.Dev.Z", ""});
        }
    } else if (seq1) {
        lines({"", " Regression of Y on X with optimal breakpoint (BPx).",
               " The first (X) of two independent variables is used firstly.", kTableBelow,
               "    Breakpoint(BPx)    number of data        Av.Y          Av.X",
               "    Regr.Coeff.(RC)    Corr.Coeff.Sq.      St.Dev.RC       Y(Z=0)",
               "      St.Dev.Y           St.Dev.Yr         St.Dev.Z",
               " for the data with X-values smaller and greater than BPx followed",
               " by the function parameters.", ""});
    } else {
        lines({"", " The second (Z) of two independent variables is used firstly.", kTableBelow,
               "    Breakpoint(BPz)    number of data        Av.Y          Av.Z",
               "    Regr.Coeff.(RC)    Corr.Coeff.Sq.      St.Dev.RC       Y(Z=0)",
               "      St.Dev.Y           St.Dev.Yr         St.Dev.X",
               " for the data with Z-values smaller and greater than BPz followed",
               " by the function parameters.", ""});
    }
}

void TwoVariableEngine::WriteTwoVariableDetails(int t, double bp) {
    const int N = data_.NrOfData;
    CalculationState& s = state_;

    s.EvaluateSidesForReport(Y(), X(), bp);
    const CalculationState::Margins margins = s.RegressionMargins();

    if (t == 1 && margins.lower[1] < 0) {
        bool turned = false;
        if (two_.DetailStage == 1 && two_.first.type == 1) {
            two_.first.type = 0;
            turned = true;
        } else if (two_.DetailStage == 3 && two_.second.type == 1) {
            two_.second.type = 0;
            turned = true;
        }
        if (turned) {
            t = 0;
            s.line[1].slope = 0;
        }
    }

    const double stDevDiffYav = s.StDevDifferenceOfAverages();
    s.ConstructReportedFunction(t, two_.reportMethod, bp);
    if (t == 6) {
        s.RemoveInsignificantSlopes(margins);
    }

    const std::span<const double> y = Y();
    const std::span<const double> x = X();
    for (int i = 0; i < N; ++i) {
        const int k = x[i] < bp ? 0 : 1;
        const double r = y[i] - s.line[k].At(x[i]);
        if (two_.KeepResidualsFlag) {
            two_.FirstResiduals[i] = r;
        }
        s.SSDside[k] += r * r;
    }
    if (t < 2) {
        s.SSYtot = s.stats[1].SSY;
        const double sdx = s.stats[1].StDevX;
        s.AverageXAll = s.stats[1].AvX;
        s.NTimesVarXAll = N * (sdx * sdx);
        two_.lastSSYall = s.stats[1].SSY;
        two_.lastSSDline = s.stats[1].SSD;
    }
    const double ssdFunction = s.SSDside[0] + s.SSDside[1];
    two_.lastSSDfunction = ssdFunction;
    const double ce = s.ExplainedFraction(ssdFunction);

    const bool z = StageVariableIsZ();
    const std::string bpLabel = z ? " BPz=" : " BPx=";
    if (t >= 2 && two_.DetailStage != 2) {
        out_.WriteLine(z ? " Data with Z < BPz :" : " Data with X < BPx :");
        for (const std::string& row : SideTableRows(bpLabel, bp, FormatParameterRow(s, 0))) {
            out_.WriteLine(row);
        }
    }
    if (t >= 2) {
        out_.WriteLine(z ? " Data with Z > BPz :" : " Data with X > BPx :");
    }
    for (const std::string& row : SideTableRows(bpLabel, bp, FormatParameterRow(s, 1))) {
        out_.WriteLine(row);
    }

    const bool breakpointStage =
        (two_.HeaderKind == 1 && !two_.ResidualStageFlag) || two_.HeaderKind == 3;
    if (breakpointStage && t >= 2) {
        s.BreakpointStatistics(t, two_.reportMethod, bp);
        out_.WriteLine("");
        WriteParameterBlock(t, two_.reportMethod, bp, ce, stDevDiffYav);
    }
}

void TwoVariableEngine::WriteParameterBlock(int t, int method, double bp, double ce,
                                            double stDevDiffYav) {
    const CalculationState& s = state_;
    const bool z = StageVariableIsZ();
    auto V = [z](const char* x, const char* zText) { return std::string(z ? zText : x); };
    auto line = [&](const std::string& text) { out_.WriteLine(text); };

    switch (t) {
    case 2:
        line(" Parameters for function type 2 and method");
        if (method == 1) {
            line(V("     Slope > BPx        St.Err.slope        Method",
                   "     Slope > BPz        St.Err.Slope        Method"));
            line(E("%13.3e", s.line[1].slope) + E("%21.3e", s.SE[1]) + IntField(method, 13));
        } else {
            line(V("     Slope < BPx        St.Err.slope        Method",
                   "     Slope < BPz        St.Err.Slope        Method"));
            line(E("%13.3e", s.line[0].slope) + E("%21.3e", s.SE[0]) + IntField(method, 13));
        }
        line(V("     Y at BPx            St.Err.BPx       Expl.Coeff.",
               "     Y at BPz            St.Err.BPz       Expl.Coeff."));
        line(E("%13.3e", s.Ybp) + E("%21.3e", s.StErrBP) + E("%17.3e", ce));
        line("    St.Err.Ybp");
        line(E("%13.3e", s.StDevYbp));
        break;
    case 3:
    case 4: {
        const LevelShiftValues v = ComputeLevelShift(s, t, data_.NrOfData, bp);
        const bool three = t == 3;
        line(std::string(" Parameters for function type ") + (three ? "3" : "4") + " and method" +
             IntField(method, 3));
        if (three) {
            line(V("   Slope > BPx              Ybp", "   Slope > BPz              Ybp") +
                 (v.turned ? "             N</Nt       Increase Yi"
                           : "             N>/Nt       Increase Yi"));
            line(E("%13.3e", s.line[1].slope) + E("%21.3e", s.line[0].Yc) + E("%17.3e", v.pr) +
                 E("%14.3e", v.inc));
            line(
                V("  St.Err.Slope>BPx       St.Err.BPx", "  St.Err.Slope>BPz       St.Err.BPz") +
                (v.turned ? "      St.Err.N</Nt    St.Err.Yi" : "      St.Err.N>/Nt    St.Err.Yi"));
        } else {
            line(V("   Slope < BPx              Ybp", "   Slope < BPz              Ybp") +
                 (v.turned ? "             N>/Nt       Increase Yi"
                           : "             N</Nt       Increase Yi"));
            line(E("%13.3e", s.line[0].slope) + E("%21.3e", s.line[1].Yc) + E("%17.3e", v.pr) +
                 E("%14.3e", v.inc));
            line(
                V("  St.Err.Slope<BPx       St.Err.BPx", "  St.Err.Slope<BPz       St.Err.BPz") +
                (v.turned ? "      St.Err.N>/Nt    St.Err.Yi" : "      St.Err.N</Nt    St.Err.Yi"));
        }
        line(E("%13.3e", s.SEsloping) + E("%21.3e", s.StErrBP) + E("%17.3e", v.stErrShare) +
             E("%14.3e", v.errInc));
        // Type 3 shows the left side for method 1, type 4 for method 2.
        const bool leftSide = three ? method == 1 : method == 2;
        if (leftSide) {
            line(V("   St.Dev.Yr < BPx       St.Dev.Ybp", "   St.Dev.Yr < BPz       St.Dev.Ybp"));
            line(E("%13.3e", FunctionStDevYr(s, 0)) + E("%21.3e", s.StDevYbp));
        } else {
            line(V("   St.Dev.Yr > BPx       St.Dev.Ybp", "   St.Dev.Yr > BPz       St.Dev.Ybp"));
            line(E("%13.3e", FunctionStDevYr(s, 1)) + E("%21.3e", s.StDevYbp));
        }
        if (three) {
            line(V("   Slope < BPx        St.Err.Slope<BPx",
                   "   Slope < BPz        St.Err.Slope<BPz") +
                 "   Expl.Coeff.");
            line(E("%13.3e", s.line[0].slope) + E("%21.3e", s.SE[0]) + E("%17.3e", ce));
        } else {
            line(V("   Slope > BPx        St.Err.Slope>BPx",
                   "   Slope > BPz        St.Err.Slope>BPz") +
                 "   Expl.Coeff.");
            line(E("%13.3e", s.line[1].slope) + E("%21.3e", s.SE[1]) + E("%17.3e", ce));
        }
        break;
    }
    case 5:
        line(" Parameters for function type 5 :");
        line(V("    Slope < BPx       St.Err.Slope<BPx   StDevDiffYav.",
               "    Slope < BPz       St.Err.Slope<BPz   StDevDiffYav."));
        line(E("%13.3e", s.line[0].slope) + E("%21.3e", s.SE[0]) + E("%17.3e", stDevDiffYav));
        line(V("    Slope > BPx       St.Err.Slope>BPx    Expl.Coeff.",
               "    Slope > BPz       St.Err.Slope>BPz    Expl.Coeff."));
        line(E("%13.3e", s.line[1].slope) + E("%21.3e", s.SE[1]) + E("%17.3e", ce));
        break;
    case 6: {
        const DisconnectedValues v = ComputeDisconnected(s, data_.NrOfData, bp);
        line(" Parameters for function type 6 :");
        line("       Y1bp              St.Err.Y1bp");
        line(E("%13.3e", v.y1bp) + E("%21.3e", v.stErrY1bp));
        line("       Y2bp              St.Err.Y2bp       Expl.Coeff.");
        line(E("%13.3e", v.y2bp) + E("%21.3e", v.stErrY2bp) + E("%17.3e", ce));
        break;
    }
    default:
        break;
    }
}

namespace {

// Type line of a stage in the summary: the prefix names the stage and sequence.
std::string StageTypeLine(const std::string& prefix, int type, bool slipOfFirstLine) {
    switch (type) {
    case 0:
        return prefix + "0  - a horizontal regression line, no breakpoint found.";
    case 1:
        return prefix + "1  - a single regression line, no breakpoint found.";
    case 2:
        return prefix + (slipOfFirstLine
                             ? "2  - two connected segements with lines of different slope."
                             : "2  - two connected segments with lines of different slope.");
    case 3:
        return prefix + "3  - first a horizontal segment, then sloping.";
    case 4:
        return prefix + "4  - first a sloping segment, then horizontal.";
    case 5:
        return prefix + "5  - two segments with horiz. lines at diff. levels.";
    default:
        return prefix + "6  - two disconnected, sloping segments.";
    }
}

// 0 stands in for a slope whose defining points coincide.
double SlopeThrough(double rise, double run) {
    return run != 0 ? rise / run : 0.0;
}

} // namespace

std::array<FunctionLine, 2> TwoVariableEngine::StageFunction(std::span<const double> y,
                                                             std::span<const double> x,
                                                             double minimum, double maximum,
                                                             const StageResult& stage) {
    CalculationState& s = state_;
    s.Xmin = minimum;
    s.Xmax = maximum;
    double bp = stage.bp;
    double ce = 0;
    int type = stage.type;
    s.FitBreakpoint(y, x, bp, ce, type, stage.method);
    bp = stage.bp;
    FunctionLine l1 = s.line[0];
    FunctionLine l2 = s.line[1];
    switch (stage.type) {
    case 0:
    case 1:
        if (stage.type == 0) {
            l2.slope = 0;
        }
        l1.slope = 0;
        l1.Yc = 0;
        break;
    case 2:
        if (stage.method == 1) {
            const double ybp = (bp - l1.Xc) * l1.slope + l1.Yc;
            l2.slope = SlopeThrough(ybp - l2.Yc, bp - l2.Xc);
        } else {
            const double ybp = (bp - l2.Xc) * l2.slope + l2.Yc;
            l1.slope = SlopeThrough(ybp - l1.Yc, bp - l1.Xc);
        }
        break;
    case 3:
        l1.slope = 0;
        if (stage.method == 2) {
            l2.slope = SlopeThrough(l2.Yc - l1.Yc, l2.Xc - bp);
        } else {
            l1.Yc = (bp - l2.Xc) * l2.slope + l2.Yc;
        }
        break;
    case 4:
        l2.slope = 0;
        if (stage.method == 2) {
            l1.slope = SlopeThrough(l2.Yc - l1.Yc, bp - l1.Xc);
        } else {
            l2.Yc = (bp - l1.Xc) * l1.slope + l1.Yc;
        }
        break;
    case 5:
        l1.slope = 0;
        l2.slope = 0;
        break;
    default:
        s.BreakpointStatistics(6, stage.method, bp);
        if (std::fabs(l1.slope) < s.CriticalValue * s.SE[0]) {
            l1.slope = 0;
        }
        if (std::fabs(l2.slope) < s.CriticalValue * s.SE[1]) {
            l2.slope = 0;
        }
        break;
    }
    return {l1, l2};
}

void TwoVariableEngine::WriteTwoVariableSummary() {
    auto line = [&](const std::string& text) { out_.WriteLine(text); };
    const bool seq1 = two_.Sequence == 1;
    const StageResult& first = two_.first;
    const StageResult& second = two_.second;

    line("");
    line(seq1 ? " SUMMARY OF THE Y-X-Z REGRESSION." : " SUMMARY OF THE Y-Z-X REGRESSION.");
    line(StageTypeLine(seq1 ? " Y-X  Function type : " : " Y-Z  Function type : ", first.type,
                       seq1));
    line(StageTypeLine(seq1 ? " YXr-Z Function type: " : " YZr-X Function type: ", second.type,
                       false));
    if (first.type == 3 || first.type == 4) {
        line((seq1 ? " Y-X   Calc. method :" : " Y-Z   Calc. method :") +
             IntField(first.method, 2));
    }
    if (second.type == 3 || second.type == 4) {
        line((seq1 ? " YXr-Z Calc. method :" : " YZr-X Calc. method :") +
             IntField(second.method, 2));
    }
    line(" (See help functions on Intro tabsheet)");
    line("");
    if (seq1) {
        line(" The optimal breakpoint of X (BPx) is :" + E("%11.4e", first.bp));
        line(" The optimal breakpoint of Z (BPz) is :" + E("%11.4e", second.bp));
    } else {
        line(" The optimal breakpoint of Z (BPz) is :" + E("%11.4e", first.bp));
        line(" The optimal breakpoint of X (BPx) is :" + E("%11.4e", second.bp));
    }
    line("");
    line(" There are four regression equations:");
    line("");
    if (seq1) {
        line(" when  X<BPx  and  Z<BPz :    Y = As.X + Bs.Z + Css");
        line(" when  X<BPx  and  Z>BPz :    Y = As.X + Bg.Z + Csg");
        line(" when  X>BPx  and  Z<BPz :    Y = Ag.X + Bs.Z + Cgs");
        line(" when  X>BPx  and  Z>BPz :    Y = Ag.X + Bg.Z + Cgg");
    } else {
        line(" when  Z<BPz  and  X<BPx :    Y = As.Z + Bs.X + Css");
        line(" when  Z<BPz  and  X>BPx :    Y = As.Z + Bg.X + Csg");
        line(" when  Z>BPz  and  X<BPx :    Y = Ag.Z + Bs.X + Cgs");
        line(" when  Z>BPz  and  X>BPx :    Y = Ag.z + Bg.X + Cgg");
    }

    // Combined equations: the first-stage function of U plus the second-stage
    // function of V.
    const double xmin = state_.Xmin;
    const double xmax = state_.Xmax;
    const std::vector<double>& U = seq1 ? data_.XData : data_.ZData;
    const std::vector<double>& V = seq1 ? data_.ZData : data_.XData;
    const double uMin = seq1 ? xmin : two_.Zmin;
    const double uMax = seq1 ? xmax : two_.Zmax;
    const double vMin = seq1 ? two_.Zmin : xmin;
    const double vMax = seq1 ? two_.Zmax : xmax;
    const auto a = StageFunction(data_.YData, U, uMin, uMax, first);
    const auto b = StageFunction(two_.FirstResiduals, V, vMin, vMax, second);
    state_.Xmin = xmin;
    state_.Xmax = xmax;

    const double As = a[0].slope;
    const double Ag = a[1].slope;
    const double Bs = b[0].slope;
    const double Bg = b[1].slope;
    const double Css = a[0].Yc + b[0].Yc - As * a[0].Xc - Bs * b[0].Xc;
    const double Csg = a[0].Yc + b[1].Yc - As * a[0].Xc - Bg * b[1].Xc;
    const double Cgs = a[1].Yc + b[0].Yc - Ag * a[1].Xc - Bs * b[0].Xc;
    const double Cgg = a[1].Yc + b[1].Yc - Ag * a[1].Xc - Bg * b[1].Xc;

    const int N = data_.NrOfData;
    two_.KeptY.assign(N, 0.0);
    double sumY = 0;
    for (int i = 0; i < N; ++i) {
        sumY += data_.YData[i];
    }
    const double yav = N > 0 ? sumY / N : 0;
    double ssResidual = 0;
    double ssTotal = 0;
    for (int i = 0; i < N; ++i) {
        const bool uSmall = U[i] < first.bp;
        const bool vSmall = V[i] < second.bp;
        double ycalc;
        if (uSmall) {
            ycalc = vSmall ? As * U[i] + Bs * V[i] + Css : As * U[i] + Bg * V[i] + Csg;
        } else {
            ycalc = vSmall ? Ag * U[i] + Bs * V[i] + Cgs : Ag * U[i] + Bg * V[i] + Cgg;
        }
        two_.KeptY[i] = ycalc;
        const double r = data_.YData[i] - ycalc;
        const double d = data_.YData[i] - yav;
        ssResidual += r * r;
        ssTotal += d * d;
    }
    two_.OverallCE = ssTotal != 0 ? 1 - ssResidual / ssTotal : 0;

    line("");
    line("      As =" + E("%11.3e", As) + "        Bs =" + E("%11.3e", Bs));
    line("      Ag =" + E("%11.3e", Ag) + "        Bg =" + E("%11.3e", Bg));
    line("     Css =" + E("%11.3e", Css) + "       Csg =" + E("%11.3e", Csg));
    line("     Cgs =" + E("%11.3e", Cgs) + "       Cgg =" + E("%11.3e", Cgg));
    line("");
    line(" The overall coefficient of explanation is:" + E("%10.3e", two_.OverallCE));
    line("");
    line(seq1 ? " Serial        Yobs         X          YXr          Z          Ycalc"
              : " Serial        Yobs         Z          YZr          X         Ycalc");
    line(" " + std::string(67, '-'));
    std::string row;
    for (int i = 0; i < N; ++i) {
        row.clear();
        AppendIntField(row, i + 1, 4);
        row += "     ";
        for (double value : {data_.YData[i], U[i], two_.FirstResiduals[i], V[i], two_.KeptY[i]}) {
            AppendPattern(row, "%12.3e", value);
        }
        line(row);
    }
}

} // namespace brekka
