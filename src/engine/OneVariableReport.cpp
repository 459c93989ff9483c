// The one-variable report. Its line order and the character positions of its
// numbers are read back by the graph reader, and users compare reports across
// versions: every text below stands exactly as users know it.
#include <cmath>

#include "engine/OneVariableRegression.h"
#include "engine/ReportFormat.h"
#include "text/NumberFormat.h"

namespace brekka {

namespace {
std::string E(const char* pattern, double value) {
    return FormatPattern(pattern, value);
}

// " k " for every type 2..6 set in `flags`.
std::string TypeMarks(const std::array<bool, 7>& flags) {
    std::string marks;
    for (int k = 2; k <= 6; ++k) {
        if (flags[k]) {
            marks += ' ';
            marks += static_cast<char>('0' + k);
            marks += ' ';
        }
    }
    return marks;
}
} // namespace

void OneVariableEngine::WriteReportHeader(int kind) {
    const int option = data_.VarOption;
    const bool z = ZInXPlace();
    auto line = [&](const std::string& text) { out_.WriteLine(text); };
    if (kind == 1) {
        if (z) {
            line(" Results of program Brekka for the segmented linear regression of Y upon Z.");
            line(" Z is the second of two independent variables.");
        } else {
            line(" Results of program Brekka for the segmented linear regression of Y upon X.");
            line(option == 1 ? " X is the first of two independent variables."
                             : " Y is the dependent variable.");
        }
        line(" There can be different types of functions ranging from type 0 to type 6");
        line(" and (for types 2, 3 and 4) two methods of calculation.");
        line(" The types and methods are determined with the procedure of best fit.");
        line(" For explanations, use the symbols function in the output scroll menu.");
        line("");
        line(" Name of this output file:  " + ChangeFileExt(data_.FileName, ".out"));
        line(" Name of input file used :  " + inputName_);
        line("");
        line(" " + data_.Title1);
        line(" " + data_.Title2);
        line(" Minimum confidence % : " +
             std::to_string(ConfidenceForCriticalValue(state_.CriticalValue)));
        const TypeChoices& choices = Choices();
        if (choices.AnyExcluded()) {
            line((z ? " Z-type excluded:" : " X-type excluded:") + TypeMarks(choices.excluded));
        }
        if (choices.AnyPreferred()) {
            line((z ? " Z-type preferred:" : " X-type preferred:") + TypeMarks(choices.preferred));
        }
        line("");
        return;
    }

    const char* optionLine = option == 1 ? " The first (X) of two independent variables is used."
                                         : " X is the independent variable.";
    if (kind == 2) {
        if (z) {
            line(" Regression of Y upon Z without breakpoint (BPz=Zmin).");
            line(" The second (Z) of two independent variables is used.");
            line(" The table below gives the following series of values respectively:");
            line("    Breakpoint(BPz)    number of data        Av.Y          Av.Z");
            line("    Regr.Coeff.(RC)    Corr.Coeff.Sq.      St.Dev.RC      Y(Z=0)");
            line("      St.Dev.Y           St.Dev.Yr         St.Dev.Z");
        } else {
            line(" Regression of Y upon X without breakpoint (BPx=Xmin).");
            line(optionLine);
            line(" The table below gives the following series of values respectively:");
            line("    Breakpoint(BPx)    number of data        Av.Y          Av.X");
            line("    Regr.Coeff.(RC)    Corr.Coeff.Sq.      St.Dev.RC      Y(X=0)");
            line("      St.Dev.Y           St.Dev.Yr         St.Dev.X");
        }
        return;
    }

    if (!(state_.BestBP > state_.Xmin)) {
        return;
    }
    line("");
    if (z) {
        line(" Results of regression of Y upon Z with optimal breakpoint (BPz)");
        line(" The second (Z) of two independent variables is used.");
        line(" The table below gives the following series of values respectively:");
        line("    Breakpoint(BPz)    number of data        Av.Y          Av.Z");
        line("    Regr.Coeff.(RC)    Corr.Coeff.Sq.      St.Dev.RC       Y(Z=0)");
        line("      St.Dev.Y           St.Dev.Yr         St.Dev.Z");
        line(" for the data with X-values smaller and greater than BPz followed");
    } else {
        line(" Results of regression of Y upon X with optimal breakpoint (BPx)");
        line(optionLine);
        line(" The table below gives the following series of values respectively:");
        line("    Breakpoint(BPx)    number of data        Av.Y          Av.X");
        line("    Regr.Coeff.(RC)    Corr.Coeff.Sq.      St.Dev.RC       Y(X=0)");
        line("      St.Dev.Y           St.Dev.Yr         St.Dev.X");
        line(" for the data with X-values smaller and greater  than BPx followed");
    }
    line(" by the function parameters.");
}

void OneVariableEngine::WriteReportDetails(double bp, int t) {
    const int N = data_.NrOfData;
    const double T = state_.CriticalValue;
    const bool z = ZInXPlace();
    CalculationState& s = state_;

    // The evaluation is repeated without a restart; a side with fewer than 3
    // data keeps the statistics it held.
    s.EvaluateSidesForReport(Y(), X(), bp);
    const CalculationState::Margins margins = s.RegressionMargins();

    if (t == 1 && margins.lower[1] < 0) {
        s.SeparationFlag = false;
        if (s.chosenType == 1) {
            s.chosenType = 0;
            s.line[1].slope = 0;
        }
    }
    if (t >= 2) {
        s.SeparationFlag = true;
    }

    const double stDevDiffYav = s.StDevDifferenceOfAverages();
    s.ConstructReportedFunction(t, s.chosenMethod, bp);

    if (t == 6) {
        s.RemoveInsignificantSlopes(margins);
        double& s1 = s.line[0].slope;
        double& s2 = s.line[1].slope;
        Type6Kind = (s1 == 0 || s2 == 0) ? 2 : 1;
        if ((s1 > 0 && s2 > 0) || (s1 < 0 && s2 < 0)) {
            // Standard errors of the side regressions' slopes.
            double se[2];
            for (int k = 0; k < 2; ++k) {
                const SideStatistics& st = s.stats[k];
                const double n = s.sums[k].n;
                se[k] = (n > 2 && st.SSX != 0 && st.SSD >= 0)
                            ? std::sqrt(st.SSD / ((n - 2) * st.SSX))
                            : 1000.0;
            }
            if (std::fabs(s1 - s2) < T * std::sqrt(se[0] + se[1])) {
                if (se[0] >= se[1]) {
                    s2 = s1;
                } else {
                    s1 = s2;
                }
                Type6Kind = 3;
            }
        }
    }

    s.SumResiduals(Y(), X(), bp);
    const double ssdFunction = s.SSDside[0] + s.SSDside[1];
    const double ce = s.ExplainedFraction(ssdFunction);
    ReportedCE = ce; // the last details are those of the reported function

    if (t == 1) {
        const double sdx = s.stats[1].StDevX;
        s.AverageXAll = s.stats[1].AvX;
        s.NTimesVarXAll = N * (sdx * sdx);
    }

    const bool withBreakpoint = bp > s.Xmin;
    if (withBreakpoint) {
        var_.WriteLine(RealField(bp, 12, 3));
        var_.WriteLine(RealField(ssdFunction, 12, 3));
    }

    const std::string bpLabel = z ? " BPz=" : " BPx=";
    const bool twoSided = withBreakpoint || t == 3;
    const RowText side1 = FormatParameterRow(s, 0);
    if (twoSided) {
        out_.WriteLine("");
        out_.WriteLine(z ? " Data with Z < BPz :" : " Data with X < BPx :");
        for (const std::string& row : SideTableRows(bpLabel, bp, side1)) {
            out_.WriteLine(row);
        }
    }
    const RowText side2 = FormatParameterRow(s, 1);
    out_.WriteLine(twoSided ? (z ? " Data with Z > BPz :" : " Data with X > BPx :") : "");
    for (const std::string& row : SideTableRows(bpLabel, bp, side2)) {
        out_.WriteLine(row);
    }

    if (!withBreakpoint) {
        var_.WriteLine(" 1");
        var_.WriteLine(IntField(N, 5));
        var_.WriteLine(E("%12.3e", s.stats[1].SSY));
        var_.WriteLine(E("%12.3e", s.stats[1].SSD));
        if (s.chosenType < 2) {
            var_.WriteLine(" -99999");
        }
    }

    s.BreakpointStatistics(t, s.chosenMethod, bp);
    WriteParameterBlock(t, s.chosenMethod, bp, ce, stDevDiffYav);
    if (twoSided) {
        out_.WriteLine("");
    }
}

void OneVariableEngine::WriteParameterBlock(int t, int method, double bp, double ce,
                                            double stDevDiffYav) {
    const CalculationState& s = state_;
    const bool z = ZInXPlace();
    auto V = [z](const char* x, const char* zText) { return std::string(z ? zText : x); };
    auto line = [&](const std::string& text) { out_.WriteLine(text); };
    const double left = FunctionStDevYr(s, 0);
    const double right = FunctionStDevYr(s, 1);

    switch (t) {
    case 2:
        line("");
        line(" Parameters for function type 2 and method");
        if (method == 1) {
            line(V("     Slope > BPx        St.Err.Slope        method",
                   "     Slope > BPz        St.Err.Slope        method"));
            line(E("%13.3e", s.line[1].slope) + E("%21.3e", s.SE[1]) + IntField(method, 13));
        } else {
            line(V("     Slope < BPx        St.Err.Slope        method",
                   "     Slope < BPz        St.Err.Slope        method"));
            line(E("%13.3e", s.line[0].slope) + E("%21.3e", s.SE[0]) + IntField(method, 13));
        }
        line("     Y at BPx            St.Err.BPx       Expl.Coeff.");
        line(E("%13.3e", s.Ybp) + E("%21.3e", s.StErrBP) + E("%17.3e", ce));
        line("    St.Err.Ybp");
        line(E("%13.3e", s.StDevYbp));
        break;
    case 3:
    case 4: {
        const LevelShiftValues v = ComputeLevelShift(s, t, data_.NrOfData, bp);
        const bool three = t == 3;
        line("");
        line(std::string(" Parameters for function type ") + (three ? "3" : "4") + " and method" +
             IntField(method, 3));
        if (three) {
            line(V("   Slope > BPx              Ybp", "   Slope > BPz              Ybp") +
                 (v.turned ? "              N</Nt      increase Yi"
                           : "              N>/Nt      increase Yi"));
            line(E("%13.3e", s.line[1].slope) + E("%21.3e", s.line[0].Yc) + E("%17.3e", v.pr) +
                 E("%14.3e", v.inc));
            line(
                V("  St.Err.Slope>BPx       St.Err.BPx", "  St.Err.Slope>BPz       St.Err.BPz") +
                (v.turned ? "      St.Err.N</Nt    St.Err.Yi" : "      St.Err.N>/Nt    St.Err.Yi"));
        } else {
            line(V("   Slope < BPx              Ybp", v.turned ? "   Slope < BPz              Ybp"
                                                               : "   Slope < BPz             Ybp") +
                 (v.turned ? "              N>/Nt      increase Yi"
                           : "              N</Nt      increase Yi"));
            line(E("%13.3e", s.line[0].slope) + E("%21.3e", s.line[1].Yc) + E("%17.3e", v.pr) +
                 E("%14.3e", v.inc));
            line(
                V("  St.Err.Slope<BPx       St.Err.BPx", "  St.Err.Slope<BPz       St.Err.BPz") +
                (v.turned ? "      St.Err.N>/Nt    St.Err.Yi" : "      St.Err.N</Nt    St.Err.Yi"));
        }
        line(E("%13.3e", s.SEsloping) + E("%21.3e", s.StErrBP) + E("%17.3e", v.stErrShare) +
             E("%14.3e", v.errInc));
        // Type 3 lists the left side first for method 1, type 4 for method 2.
        const bool leftFirst = three ? method == 1 : method == 2;
        if (leftFirst) {
            line(V("   St.Dev.Yr < BPx     St.Dev.Yr > BPx    St.Dev.Ybp",
                   "   St.Dev.Yr < BPz     St.Dev.Yr > BPz    St.Dev.Ybp"));
            line(E("%13.3e", left) + E("%21.3e", right) + E("%17.3e", s.StDevYbp));
        } else {
            line(V("   St.Dev.Yr > BPx     St.Dev.Yr < BPx    St.Dev.Ybp",
                   "   St.Dev.Yr > BPz     St.Dev.Yr < BPz    St.Dev.Ybp"));
            line(E("%13.3e", right) + E("%21.3e", left) + E("%17.3e", s.StDevYbp));
        }
        if (three) {
            line(V("   Slope < BPx         St.Err.Slope<BPx",
                   "   Slope < BPz         St.Err.Slope<BPz") +
                 "   Expl.Coeff.");
            line(E("%13.3e", s.line[0].slope) + E("%21.3e", s.SE[0]) + E("%17.3e", ce));
        } else {
            line(V("   Slope > BPx         St.Err.Slope>BPx",
                   "   Slope > BPz         St.Err.Slope>BPz") +
                 "   Expl.Coeff.");
            line(E("%13.3e", s.line[1].slope) + E("%21.3e", s.SE[1]) + E("%17.3e", ce));
        }
        break;
    }
    case 5:
        line("");
        line(" Parameters for function type 5 :");
        line(V("    Slope < BPx       St.Err.Slope<BPx   StDevDiffYav.      St.Err.BP",
               "    Slope < BPz       St.Err.Slope<BPz   StDevDiffYav."));
        line(E("%13.3e", s.line[0].slope) + E("%21.3e", s.SE[0]) + E("%17.3e", stDevDiffYav));
        line(V("    Slope > BPx       St.Err.Slope>BPx    Expl.Coeff.",
               "    Slope > BPz       St.Err.Slope>BPz    Expl.Coeff."));
        line(E("%13.3e", s.line[1].slope) + E("%21.3e", s.SE[1]) + E("%17.3e", ce));
        break;
    case 6: {
        const DisconnectedValues v = ComputeDisconnected(s, data_.NrOfData, bp);
        line("");
        line(" Parameters for function type 6 :");
        line("       Y1bp              St.Err.Y1bp      St.Err.BP");
        line(E("%13.3e", v.y1bp) + E("%21.3e", v.stErrY1bp) + E("%17.3e", s.StErrBP));
        line("       Y2bp              St.Err.Y2bp      Expl.Coeff.");
        line(E("%13.3e", v.y2bp) + E("%21.3e", v.stErrY2bp) + E("%17.3e", ce));
        break;
    }
    default:
        break;
    }
}

void OneVariableEngine::WriteSummary() {
    CalculationState& s = state_;
    const double T = s.CriticalValue;
    const bool z = ZInXPlace();
    auto V = [z](const char* x, const char* zText) { return std::string(z ? zText : x); };
    auto line = [&](const std::string& text) { out_.WriteLine(text); };
    const int type = s.chosenType;

    if (type != 5 && type != 6) {
        const double lower = s.BestBP - T * s.StErrBP;
        const double upper = s.BestBP + T * s.StErrBP;
        if (lower < s.Xmin || upper > s.Xmax) {
            data_.Messages().ShowMessage("The confidence interval of the breakpoint is very "
                                         "wide. The breakpoint may be insignificant.");
        }
    }

    line("");
    line(V(" SUMMARY OF THE Y-X REGRESSION.", " SUMMARY OF THE Y-Z REGRESSION."));
    const std::string methodLine = " Calc. method  :" + IntField(s.chosenMethod, 2);
    switch (type) {
    case 0:
        line(" Function type : 0  - a horizontal regression line, no breakpoint found.");
        break;
    case 1:
        line(" Function type : 1  - a single regression line, no breakpoint found.");
        break;
    case 2:
        line(" Function type : 2  - two connected segments with lines of different slope.");
        line(methodLine);
        break;
    case 3:
        line(" Function type : 3  - first a horizontal segment, then sloping.");
        line(methodLine);
        break;
    case 4:
        line(" Function type : 4  - first a sloping segment, then horizontal.");
        line(methodLine);
        break;
    case 5:
        line(" Function type : 5  - two segments with horiz. lines at diff. levels.");
        break;
    default:
        if (Type6Kind == 2) {
            line(" Function type : 6  - two disconnected, segments, one horizontal.");
        } else if (Type6Kind == 3) {
            line(" Function type : 7  - two disconnected, parallel segments.");
        } else {
            line(" Function type : 8  - two disconnected, sloping segments.");
        }
        break;
    }
    line(" See help functions on Intro tabsheet");

    // The equations come from the function lines of the last details, shaped
    // once more for the chosen type.
    if (type == 0) {
        s.line[1].slope = 0;
    } else if (type >= 2 && type <= 5) {
        s.ConstructReportedFunction(type, s.chosenMethod, s.BestBP);
    } else if (type == 6) {
        s.BreakpointStatistics(6, s.chosenMethod, s.BestBP);
        for (int k = 0; k < 2; ++k) {
            if (std::fabs(s.line[k].slope) - T * s.SE[k] < 0) {
                s.line[k].slope = 0;
            }
        }
    }
    const double As = s.line[0].slope;
    const double Ag = s.line[1].slope;
    const double Cs = s.line[0].Yc - As * s.line[0].Xc;
    const double Cg = s.line[1].Yc - Ag * s.line[1].Xc;

    line("");
    if (type < 2) {
        line(V(" The regression equation is:  Y = A.X + C",
               " The regression equation is:  Y = A.Z + C"));
        line("");
        line("      A = " + E("%10.3e", Ag) + "     C = " + E("%10.3e", Cg));
    } else {
        line(V(" Optimal breakpoint of X (BPx) :", " Optimal breakpoint of Z (BPz) :") +
             E("%11.4e", s.BestBP));
        line("");
        line(" There are two regression equations:");
        line("");
        line(V(" when X is smaller than BPx:  Y = AsX + Cs",
               " when Z is smaller than BPz:  Y = AsZ + Cs"));
        line(V(" when X is greater than BPx:  Y = AgX + Cg",
               " when Z is greater than BPz:  Y = AgZ + Cg"));
        line("");
        line("     As = " + E("%10.3e", As) + "       Ag = " + E("%10.3e", Ag));
        line("     Cs = " + E("%10.3e", Cs) + "       Cg = " + E("%10.3e", Cg));
    }

    line("");
    line(V(" Serial        Yobs          X         Ycalc",
           " Serial        Yobs          Z         Ycalc"));
    line(" ----------------------------------------------");
    const int N = data_.NrOfData;
    std::string row;
    for (int i = 0; i < N; ++i) {
        const double x = data_.XData[i];
        const double ycalc = x < s.BestBP ? As * x + Cs : Ag * x + Cg;
        row.clear();
        AppendIntField(row, i + 1, 4);
        row += "      ";
        AppendPattern(row, "%12.3e", data_.YData[i]);
        AppendPattern(row, "%12.4e", x);
        AppendPattern(row, "%12.3e", ycalc);
        line(row);
    }
}

} // namespace brekka
