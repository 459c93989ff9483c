#include "ui/HelpTexts.h"

// The lines are kept within about 75 characters, the width of the memos in the
// main window with the default font.

namespace brekka {

QStringList IntroText() {
    return {
        "                INTRODUCTION TO THE Brekka PROGRAM",
        "",
        "   Brekka performs a segmented linear regression of one dependent",
        "   variable (Y, for example a crop yield) upon one independent variable",
        "   (X, for example the depth of the water table) or upon two independent",
        "   variables (X and Z, for example the water table depth and the soil",
        "   salinity).",
        "   The segmentation is done by introducing a break point. Thus one can",
        "   detect whether Y reacts to X differently below and above a certain",
        "   value of X, and where that value lies.",
        "   Further, seven types of functions (0 - 6)  are used. ",
        "   They range from no relation at all to two disconnected segments",
        "   (see \"Function types\" and the pictures on the Figures tab).",
        "",
        "   For 100 break points spread evenly over the range of X, every type",
        "   is fitted to the data. The best break point and function type are",
        "   selected by maximizing the coefficient of explanation while",
        "   performing significance tests on the slopes, the averages and the",
        "   break point (see \"Significance tests\").",
        "",
        "   How to proceed:",
        "   - on the Input tab, type or paste the data or open an input file;",
        "   - choose the number of independent variables and the minimum",
        "     confidence, then press \"Save-Calculate\";",
        "   - read the results on the Output tab and see them on the Graphics tab.",
        "",
        "   The buttons under \"Details\" give more explanation.",
    };
}

QStringList TypesText() {
    return {
        "               EXPLANATION OF THE FUNCTION TYPES USED",
        "",
        "     Type 0 - a single horizontal line without break-point: no relation",
        "     Type 1 - a single sloping line without break-point",
        "     Type 2 - two connected segments with sloping lines ",
        "     Type 3 - a horizontal segment followed by a sloping line  ",
        "     Type 4 - a sloping segment followed by a horizontal line",
        "     Type 5 - two horizontal segments at different levels",
        "     Type 6 - two disconnected segments of which at least one sloping, ",
        "              or two parallel segments",
        "",
        "   The break point (BP) divides the data in two groups: the data with",
        "   X smaller than BP (segment 1) and those with X equal to or greater",
        "   than BP (segment 2).",
        "   Types 2, 3 and 4 are calculated with two methods, which differ in",
        "   the way the two segments are joined at the break point (see",
        "   \"Calculation methods\").",
        "",
        "   The best function is the one that maximises the coefficient of",
        "   explanation while its significance tests are passed. A more complex",
        "   type must explain clearly more than a simpler one before it is",
        "   chosen (see \"Significance tests\" and \"More info\").",
        "   In the output file type 6 is reported as type 6 when one segment is",
        "   horizontal, type 7 when the segments are parallel and type 8 when",
        "   both are sloping.",
        "   The Figures tab shows a picture of every type.",
    };
}

QStringList TestsText() {
    return {
        "             SIGNIFICANCE TESTS FOR THE FUNCTION TYPES USED",
        "",
        " RC1 and RC2 are the regression coefficients (slopes) of the data with",
        " X below and above the break point. A quantity is significant when its",
        " value minus T times its standard error is positive; T is 1.75, 2.1 or",
        " 2.5 for a minimum confidence of 90, 95 or 98 %.",
        "",
        " Type 0 is used when the regression coefficient of all data (RC) is",
        " insignificant and no break point type is accepted.",
        " Type 1 is used when RC is significant and no break point type is",
        " accepted.",
        " Type 2 is used when RC1 and RC2 are both significant, their difference",
        " is significant and, when they have the same sign, one of them is more",
        " than 1.2 times the other.",
        " Type 3 is used when RC1 is insignificant and the slope of the sloping",
        " segment is significant.",
        " Type 4 is used when RC2 is insignificant and the slope of the sloping",
        " segment is significant.",
        " Type 5 is used when RC1 and RC2 are both insignificant while the ",
        " difference between the average Y values of the two segments is",
        " significant.",
        " Type 6 is used when the two segments give significantly different Y",
        " values at the break point; an insignificant slope is then set to 0.",
        "",
        " Each segment must hold at least 10 % of the data and at least 5 data.",
        " For types 2, 3,and 4 the additional condition is put that the confidence",
        " limits of the breakpoint must be well inside the data range.",
    };
}

QStringList SequenceText() {
    return {
        "               EXPLANATION OF THE CALCULATION SEQUENCES",
        "",
        "   With two independent variables (X and Z) the regression is done in",
        "   two stages, each a segmented regression with its own break point.",
        "",
        "   Sequence 1 (Y-X-Z): Y is first regressed upon X. The residuals",
        "   YXr = Y - (function of X) are then regressed upon Z.",
        "   Sequence 2 (Y-Z-X): Y is first regressed upon Z. The residuals",
        "   YZr = Y - (function of Z) are then regressed upon X.",
        "",
        "   Both first stages are calculated. The sequence whose first stage has",
        "   the larger coefficient of explanation is reported (sequence 2 when",
        "   they are equal), and only its second stage is calculated.",
        "",
        "   Between the two stages a straight line is fitted between the two",
        "   independent variables. Its residual standard deviation (st.dev.XZr)",
        "   shows how strongly X and Z are related: when they are closely",
        "   related, the second variable can add little to the explanation.",
        "",
        "   The two stage functions are combined into four regression equations,",
        "   one for each combination of X and Z below or above their break",
        "   points, and the overall coefficient of explanation of the double",
        "   regression is calculated from the observed and calculated Y values.",
    };
}

QStringList MethodsText() {
    return {
        "               EXPLANATION OF THE CALCULATION METHODS",
        "",
        "   Types 2, 3 and 4 are calculated with two methods; the method that",
        "   gives the larger coefficient of explanation is used.",
        "",
        "   Types 3 and 4 (one horizontal and one sloping segment):",
        "   Method 1: the regression line of the sloping segment is intersected",
        "   with the vertical line at the break point; from that intersection",
        "   the function continues horizontally.",
        "   Method 2: a horizontal line is drawn through the central point",
        "   (average X, average Y) of the horizontal segment; from its",
        "   intersection with the vertical line at the break point a sloping",
        "   line is drawn through the central point of the other segment.",
        "   It may happen that the break point and intersection point (Xcross) differ.",
        "   Xcross is where the regression line of the sloping segment meets the",
        "   horizontal line through the central point of the horizontal segment.",
        "",
        "   Type 2 (two sloping segments):",
        "   Method 1: the regression line of the first segment is kept up to the",
        "   break point; from there a line is drawn through the central point of",
        "   the second segment.",
        "   Method 2: the regression line of the second segment is kept from the",
        "   break point on; the first segment is the line from the central point",
        "   of the first segment to the second line at the break point.",
        "",
        "   The Figures tab (\"Methods type 3 or 4\") shows both methods.",
    };
}

QStringList MoreInfoText() {
    return {
        " Brekka AND THE DETERMINATION OF THE REGRESSION TYPE",
        "",
        " 1 - The regression of Y upon X without break point gives the sum of",
        "     squares of deviations SSD of the data from the line. With SRYsqT,",
        "     the sum of squares of the Y values about their average, the",
        "     coefficient of explanation is CE = 1 - SSD/SRYsqT (CE1 here).",
        "     Its slope RC decides between type 1 (significant) and type 0.",
        " 2 - 100 break points BP are placed evenly from the lowest X upward.",
        "     For each BP the data with X < BP (segment 1) and X >= BP",
        "     (segment 2) get their own regression coefficients RC1 and RC2.",
        " 3 - Type 3 (methods 1 and 2): accepted when RC1 is insignificant and",
        "     the sloping segment is significant, and its CE exceeds the",
        "     threshold W x CE1. An accepted CE becomes the new threshold.",
        " 4 - Type 4: accepted when RC2 is insignificant and the sloping segment",
        "     is significant, and its CE exceeds the threshold.",
        " 5 - Type 5: accepted when RC1 and RC2 are insignificant and the average",
        "     Y values differ significantly; CE must exceed 1.1 x W x threshold.",
        " 6 - Type 2: accepted when both slopes and their difference are",
        "     significant; CE must exceed 1.1 x W x the threshold.",
        " 7 - Type 6: accepted when the Y values of both segments at BP differ",
        "     significantly; CE must exceed 1.1 x W x the threshold.",
        "     Every segment must hold at least 10 % of the data and 5 data.",
        " The type with the highest accepted CE is chosen, so a more complex type",
        " is only chosen when it explains clearly more than a simpler one.",
        " The factor W=1.2 is an arbitray weight factor.",
        " In this version W depends on the number of data N: 1.1 for N up to 20,",
        " 1.05 for 21 to 29, 1.02 for 30 to 49, 1.01 for 50 to 99 and 1.0 for",
        " 100 data or more, since with many data a small gain in CE is reliable.",
        " Significant means: the value minus T times its standard error is",
        " positive, with T = 1.75, 2.1 or 2.5 for a confidence of 90, 95 or 98 %.",
        " With two independent variables the same steps are made for each",
        " variable, with a slightly different table for W.",
    };
}

QStringList ConfidenceFigureText() {
    return {
        "The confidence belt of the regression line RL corresponds to the curved lines.",
        "In Brekka, the curves are approximated by straight lines shown in red color.",
        "The small square shows the central point of the regression line given by (Xav, Yav)",
    };
}

QStringList SymbolsHelpText() {
    return {
        " Brekka does the segmented regression with breakpoint  ",
        "  of one dependent variable (Y) on one (X) or two (X,Y)",
        "  independent variables who determine the value of Y.",
        "  For example: Y is the crop yield, X the depth of the",
        "  water table and Z the salinity of the soil.",
        "",
        "  The columns of the input table:",
        "  Serial : the number of the data row",
        "  Y      : the dependent variable",
        "  X      : the (first) independent variable",
        "  Z      : the second independent variable, shown",
        "           when 2 independent variables are chosen",
        "",
        "  Brekka handles a maximum of 2000 data sets.",
        "  Rows with an empty cell are left out of the calculation.",
    };
}

QStringList PasteHelpText() {
    return {
        "Spreadsheet columns (e.g. of field records) ",
        "may be copied into the input table.",
        "Select and copy the columns and then ",
        "paste them in the table by right clicking ",
        "twice on the first cell and using \"paste\".",
        "It may occur that the first cell seems ",
        "empty, but by clicking on another cell",
        "the value will appear.",
    };
}

QStringList OutputSymbolsText() {
    return {
        "EXPLANATION OF SOME SYMBOLS IN THE OUTPUT FILE",
        "",
        "st.dev.Yr : standard deviation of the Y residuals after regression on X",
        "BP        : breakpoint",
        "BPx, BPz  : breakpoint of X, of Z (when both variables are present)",
        "Ybp       : value of Y at the breakpoint",
        "Y(X=0)    : intercept, the value of Y where X = 0",
        "N>, N<    : number of data above, below the breakpoint",
        "Nt        : total number of data",
        "Yav*      : average Y of all data",
        "Yi=Ybp-Yav*, increase of Y when all values of the independent variable would be  ",
        "            on the horizontal segment (types 3 and 4)",
        "expl. coeff. : 1 -  S(Yr sq.) / S({Y-Yav})sq. where S = Summation",
        "YXr       : residuals of Y after the regression of Y on X",
        "YZr       : residuals of Y after the regression of Y on Z",
        "st.dev.YXr, st.dev.YZr : their standard deviations",
        "st.dev.XZr : standard deviation of the residuals of X after a linear",
        "            regression on Z; a small value means X and Z are correlated",
        "YXZr      : residuals of YXr after the regression of YXr on Z",
        "YZXr      : residuals of YZr after the regression of YZr on X",
        "st.dev.YXZr, st.dev.YZXr : their standard deviations",
        "overall coefficient of explanation : the coefficient of explanation of",
        "            the double regression, 1 - S(Y-Ycalc)sq. / S(Y-Yav)sq.",
    };
}

QStringList ConfidenceHelpText() {
    return {
        "           ST.ERR.BP AND CONFIDENCE ANALYSIS",
        "",
        " The confidence belt of the regression lines, the standard deviation",
        " of Y at the breakpoint (St.Dev.Ybp) and the standard error of the",
        " breakpoint (St.Err.BP) with its confidence interval are calculated",
        " following methods described in published papers.",
        "",
        " Confidence belt: the band in which the true regression line lies",
        " with a high probability. It is narrowest at the central point",
        " (Xav, Yav) and widens away from it. The curved limits are",
        " approximated by straight lines.",
        "",
        " St.Dev.Ybp: the standard deviation of the function value at the",
        " breakpoint, from the residuals and the distance of BP from Xav.",
        "",
        " St.Err.BP: for two sloping lines (types 2 and 6) the standard error",
        " of the point where the two lines cross, from the uncertainty of the",
        " averages and slopes of both segments divided by the difference of the",
        " slopes; it is expressed in units of X. For types 3 and 4 it follows",
        " from the slope of the sloping segment, its standard error and the",
        " uncertainty of the levels of both segments.",
        " Types 0, 1 and 5 have no St.Err.BP.",
        "",
        " Confidence interval of the breakpoint: BP - T.St.Err.BP to",
        " BP + T.St.Err.BP. When it extends beyond the data range the program",
        " warns that the breakpoint may be insignificant.",
        " In the graph of types 2, 3 and 4 the rectangle (block) around the",
        " breakpoint shows its confidence interval in X and the confidence",
        " interval of Y at the breakpoint.",
    };
}

QStringList FinishText() {
    return {
        " Thank you for using Brekka",
        "",
        " Your input, output and anova files remain in the folders",
        " where they were saved.",
    };
}

} // namespace brekka
