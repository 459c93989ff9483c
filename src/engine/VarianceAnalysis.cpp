#include "engine/VarianceAnalysis.h"

#include <cfloat>
#include <climits>
#include <cmath>
#include <filesystem>
#include <optional>
#include <system_error>
#include <vector>

#include "text/NumberFormat.h"
#include "text/TextFile.h"

namespace brekka {
namespace {

// The engines write this record instead of a breakpoint when the result has none.
// It is told by its spelling: a breakpoint always carries its decimals, so a real
// breakpoint at -99999 reads -99999.000.
const char* const kNoBreakpoint = "-99999";
// The variance of a mean square without degrees of freedom, as in the engines.
constexpr double kUndefinedVariance = 1000000.0;
// F of a block whose residual mean square is not positive.
constexpr double kLineFallbackF = 0.0001;
constexpr double kBreakpointFallbackF = 0.000001;
constexpr double kMinSignificance = 0.1;
constexpr double kMaxSignificance = 99.9;
// Keeps every degree of freedom, and the series loops that run over them, in range.
constexpr long long kMaxData = 1000000000;
// Series B stops after this many terms beyond the square.
constexpr long long kMaxSeriesBTerms = 299;

// Named after the .var file, so that runs on other input files in the same
// directory never share it.
const char* const kTempFileSuffix = ".Anova.tmp";
const char* const kReference = "https://www.itl.nist.gov/div898/handbook/";
const char* const kNoVariation = "There is no variation. Variance analysis is not done.";
const char* const kRenameFailed = "A file could not be renamed";
const char* const kWeakBreakpoint =
    "Please check the Anova table: the significance of the extra explanation by the "
    "breakpoint is less than that given in the input tabsheet. Although the regression "
    "type obeys the specified significance, the effect of the introduction of the "
    "breakpoint is not overwhelming.";

// Sums of squares near the top of the double range can overflow in a difference or
// a quotient; the largest finite value keeps the table readable where "INF" would not.
double Finite(double value) {
    if (std::isinf(value)) {
        return std::copysign(DBL_MAX, value);
    }
    return value;
}

double MeanSquare(double sum, int df) {
    if (df == 0) {
        return kUndefinedVariance;
    }
    return sum / df;
}

double FRatio(double explained, double meanSquare, double fallback) {
    if (meanSquare <= 0) {
        return fallback;
    }
    return Finite(explained / meanSquare);
}

double Bounded(double percent) {
    if (percent < kMinSignificance) {
        return kMinSignificance;
    }
    if (percent > kMaxSignificance) {
        return kMaxSignificance;
    }
    return percent;
}

// x of both series. A vanishing denominator returns 1, which both series read as
// "1 or more".
double SeriesX(int df1, int df2, double f) {
    double denominator = static_cast<double>(df2) + static_cast<double>(df1) * f;
    if (denominator == 0) {
        return 1.0;
    }
    double x = df2 / denominator;
    return x < 0 ? 0.00001 : x;
}

// 1 + (m/2)z + m(m+2)/8 z^2 + t(k) z^(k/2+1) for k = 4, 6, ... while n - 3 > k: the
// partial sum that makes series A (m = df1, n = df2, z = x) and series B (m = df2,
// n = df1, z = 1 - x) exact for even n.
double PartialSum(int m, int n, double z, long long maxTerms) {
    if (n == 1) {
        return 0.6375;
    }
    if (n == 2) {
        return 1.0;
    }
    double t = m * (m + 2.0) / 8.0;
    double sum = 1.0 + (m / 2.0) * z;
    if (n != 4) {
        sum += t * (z * z);
    }
    double power = z * z;
    long long terms = 0;
    for (long long k = 4; static_cast<long long>(n) - 3 > k && terms < maxTerms; k += 2) {
        t = t * (m + static_cast<double>(k)) / (k + 2.0);
        power *= z;
        double term = t * power;
        // Once the terms shrink for good and no longer change the sum, none of the
        // remaining ones can: stopping here gives the same sum and keeps the loop short
        // for large degrees of freedom.
        if (m >= 0 && z >= 0 && z <= 1 && sum + term == sum && z * (m + k + 2.0) < k + 4.0) {
            break;
        }
        sum += term;
        ++terms;
    }
    return sum;
}

// --- Reading the .var file -------------------------------------------------------

class VarFileError {
public:
    explicit VarFileError(std::string message) : message_(std::move(message)) {}
    const std::string& Message() const { return message_; }

private:
    std::string message_;
};

std::string NotDone(const std::string& fileName, const std::string& what) {
    return "The file \"" + fileName + "\" " + what + ", so the variance analysis is not done.";
}

// Records one per line: leading blanks and empty lines skipped, the rest of a line
// ignored.
class RecordReader {
public:
    RecordReader(TextReader& reader, const std::string& fileName)
        : reader_(reader), fileName_(fileName) {}

    long long Integer() {
        return Read([this] { return reader_.ReadInteger(); });
    }
    double Real() {
        return Read([this] { return reader_.ReadReal(); });
    }
    // A breakpoint record: empty for the no-breakpoint marker.
    std::optional<double> Breakpoint() {
        return Read([this]() -> std::optional<double> {
            const std::string word = reader_.ReadWord();
            if (word == kNoBreakpoint) {
                return std::nullopt;
            }
            double value = 0;
            if (!ParseReal(word, value)) {
                throw TextReadError("\"" + word + "\" is not a number");
            }
            return value;
        });
    }
    // Refuses the record just read.
    [[noreturn]] void Refuse(const std::string& what) const {
        throw VarFileError(NotDone(fileName_, "is damaged (line " + std::to_string(recordLine_) +
                                                  ": " + what + ")"));
    }

private:
    TextReader& reader_;
    std::string fileName_;
    int recordLine_ = 0;

    template <typename ReadFn> auto Read(ReadFn read) -> decltype(read()) {
        try {
            auto value = read();
            recordLine_ = reader_.LineNumber();
            reader_.SkipLine();
            return value;
        } catch (const TextReadError& error) {
            recordLine_ = reader_.LineNumber();
            Refuse(error.what());
        }
    }
};

// --- The table ----------------------------------------------------------------------

// The three ways a broken line spends degrees of freedom.
enum class Shape { OneHorizontal, TwoLevels, Full };

bool IsBreakpointType(int type) {
    return type >= 2 && type <= 6;
}

Shape ShapeOf(int type) {
    if (type == 3 || type == 4) {
        return Shape::OneHorizontal;
    }
    if (type == 5) {
        return Shape::TwoLevels;
    }
    return Shape::Full;
}

struct Block {
    std::string label;
    std::string secondLabel; // straight-line blocks only
    int df1 = 1;             // as printed
    int df2 = 0;             // as printed
    double explained = 0;
    double residual = 0;
    double meanSquare = 0;
    double f = 0; // as printed
    double p = 0;
};

enum class Mode { Extra, Total };

class Table {
public:
    Table(int n, double criticalValue) : n_(n) {
        widthClass_ = n <= 10 ? 1 : (n <= 100 ? 2 : 3);
        threshold_ = criticalValue == 1.75 ? 90.0 : (criticalValue == 2.1 ? 95.0 : 98.0);
    }

    void Head(const std::string& title, const std::string& fileName, double sst) {
        Line(title);
        Line(" File Name : " + fileName);
        Line();
        Line(" Sum[(Y-Av.Y)sq.] =" + RealField(sst, 12, 3) +
             "  (total sum of squares of deviations)");
        Line();
        Line(" Total nr. of data  =" + IntField(n_, 8));
        Line(" Degrees of freedom =" + IntField(n_ - 1, 8));
        Line();
        Line(" Sum of squares      Degrees of                          Probability/");
        Line(" of deviations        freedom     Variance     F-Test    Significance");
        Line(" " + std::string(68, '-'));
    }

    void StraightLine(const Block& block) {
        Line(" explained by");
        if (block.secondLabel.empty()) {
            Line(block.label + std::string(33, ' ') + FLabel(block));
        } else {
            Line(block.label);
            Line(block.secondLabel + std::string(31, ' ') + FLabel(block));
        }
        ExplainedLine(block);
        Line();
        ResidualLines(block);
    }

    void Breakpoint(const Block& block, Mode mode) {
        Line();
        Line(mode == Mode::Extra ? " extra expl. by" : " total expl. by");
        Line(block.label + std::string(33, ' ') + FLabel(block));
        ExplainedLine(block);
        Line();
        if (mode == Mode::Extra) {
            ResidualLines(block);
        }
        if (block.p < threshold_ - 1) {
            weakBreakpoint_ = true;
        }
    }

    void EmptyLine() { Line(); }

    void Tail() {
        Line();
        Line(" " + std::string(68, '-'));
        Line("#");
        Line(std::string(" See also ") + kReference);
    }

    const std::vector<std::string>& Lines() const { return lines_; }
    bool WeakBreakpoint() const { return weakBreakpoint_; }

private:
    int n_;
    int widthClass_;
    double threshold_;
    bool weakBreakpoint_ = false;
    std::vector<std::string> lines_;

    void Line(const std::string& text = std::string()) { lines_.push_back(text); }

    std::string FLabel(const Block& block) const {
        return " F(" + IntField(block.df1, 1) + "," + IntField(block.df2, widthClass_) + ")=";
    }

    void ExplainedLine(const Block& block) {
        double perDf = block.df1 == 0 ? kUndefinedVariance : block.explained / block.df1;
        double p = block.p > kMaxSignificance ? kMaxSignificance : block.p;
        Line(RealField(block.explained, 12, 3) + std::string(14, ' ') + IntField(block.df1, 1) +
             RealField(perDf, 15, 3) + RealField(block.f, 12, 3) + RealField(p, 13, 1) + " %");
    }

    void ResidualLines(const Block& block) {
        Line(" remaining");
        Line(" unexplained");
        Line(RealField(block.residual, 12, 3) + std::string(8, ' ') + IntField(block.df2, 7) +
             RealField(block.meanSquare, 15, 3));
    }
};

// How a block turns its F value into a significance.
enum class Series { Significance, A, B };

double Percent(Series series, int df1, int df2, double f) {
    switch (series) {
    case Series::Significance:
        return FSignificance(df1, df2, f);
    case Series::A:
        return Bounded(FSeriesA(df1, df2, f));
    case Series::B: {
        // Series B is bounded from above only.
        double p = FSeriesB(df1, df2, f);
        return p > kMaxSignificance ? kMaxSignificance : p;
    }
    }
    return 0.0;
}

// One row of the tables that say how a breakpoint block is tested: the quotient
// explained sum / mean square is divided by `seriesDivisor` for the series and by
// `printedDivisor` for the table, and the printed degrees of freedom need not be those
// of the series.
struct BlockRule {
    Series series;
    int df1;
    int df2;
    double seriesDivisor;
    int printedDf1;
    int printedDf2;
    double printedDivisor;
};

template <typename T> T ByShape(Shape shape, T oneHorizontal, T twoLevels, T full) {
    return shape == Shape::OneHorizontal ? oneHorizontal
                                         : (shape == Shape::TwoLevels ? twoLevels : full);
}

Block StraightLineBlock(const std::string& label, int df2, double explained, double residual,
                        Series series) {
    Block block;
    block.label = label;
    block.df1 = 1;
    block.df2 = df2;
    block.explained = explained;
    block.residual = residual;
    block.meanSquare = MeanSquare(residual, df2);
    block.f = FRatio(explained, block.meanSquare, kLineFallbackF);
    block.p = Percent(series, 1, df2, block.f);
    return block;
}

Block BreakpointBlock(const std::string& label, double explained, double residual,
                      double meanSquare, const BlockRule& rule) {
    Block block;
    block.label = label;
    block.explained = explained;
    block.residual = residual;
    block.meanSquare = meanSquare;
    double f = FRatio(explained, meanSquare, kBreakpointFallbackF);
    block.p = Percent(rule.series, rule.df1, rule.df2, f / rule.seriesDivisor);
    block.df1 = rule.printedDf1;
    block.df2 = rule.printedDf2;
    block.f = f / rule.printedDivisor;
    return block;
}

// --- One independent variable -------------------------------------------------------

void OneVariableBlocks(RecordReader& records, const VarianceAnalysisInput& input, int n, double sst,
                       Table& table) {
    double ssdLine = records.Real();
    bool hasBreakpoint = records.Breakpoint().has_value();
    double ssdBroken = 0;
    if (hasBreakpoint) {
        ssdBroken = records.Real();
        if (!IsBreakpointType(input.reportedType)) {
            records.Refuse("a breakpoint is given, but the regression type is " +
                           std::to_string(input.reportedType));
        }
    }

    if (input.separationFlag) {
        table.StraightLine(StraightLineBlock("  lin. regr. ", n - 2, Finite(sst - ssdLine), ssdLine,
                                             Series::Significance));
    }
    if (!hasBreakpoint) {
        return;
    }

    const Series s = Series::Significance;
    Shape shape = ShapeOf(input.reportedType);
    double msb = MeanSquare(ssdBroken, n - ByShape(shape, 4, 3, 5));
    if (input.separationFlag) {
        BlockRule extra =
            ByShape(shape, BlockRule{s, 2, n - 4, 1, 2, n - 2, 2},
                    BlockRule{s, 1, n - 3, 1, 1, n - 3, 1}, BlockRule{s, 3, n - 3, 1, 3, n - 3, 3});
        table.Breakpoint(
            BreakpointBlock("  break-point", Finite(ssdLine - ssdBroken), ssdBroken, msb, extra),
            Mode::Extra);
    }
    BlockRule total =
        ByShape(shape, BlockRule{s, 2, n - 4, 2, 2, n - 4, 2},
                BlockRule{s, 2, n - 3, 2, 2, n - 3, 2}, BlockRule{s, 3, n - 5, 3, 3, n - 5, 3});
    table.Breakpoint(
        BreakpointBlock("  break-point", Finite(sst - ssdBroken), ssdBroken, msb, total),
        Mode::Total);
}

// --- Two independent variables ------------------------------------------------------

void TwoVariableBlocks(RecordReader& records, const VarianceAnalysisInput& input, int n, double sst,
                       Table& table) {
    double ssdLine1 = records.Real();
    long long sequence = records.Integer();
    if (sequence != 1 && sequence != 2) {
        records.Refuse("the sequence is " + std::to_string(sequence) + " instead of 1 or 2");
    }
    bool hasBreakpoint1 = records.Breakpoint().has_value();
    double ssdBroken1 = records.Real();
    double ssdLine2 = records.Real();
    bool hasBreakpoint2 = records.Breakpoint().has_value();
    double ssdBroken2 = 0;
    if (hasBreakpoint2) {
        ssdBroken2 = records.Real();
    }
    if (hasBreakpoint1 && !IsBreakpointType(input.type1)) {
        records.Refuse("the first stage has a breakpoint, but its type is " +
                       std::to_string(input.type1));
    }
    if (hasBreakpoint2 && !IsBreakpointType(input.type2)) {
        records.Refuse("the second stage has a breakpoint, but its type is " +
                       std::to_string(input.type2));
    }

    const Series a = Series::A;
    const Series b = Series::B;
    bool xFirst = sequence == 1;
    bool noBreakpoint = !hasBreakpoint1 && !hasBreakpoint2;
    Shape shape1 = ShapeOf(input.type1);
    Shape shape2 = ShapeOf(input.type2);
    // Residual degrees of freedom left by the first stage.
    int r1 = hasBreakpoint1 ? n - ByShape(shape1, 4, 3, 5) : n - 1;

    if (input.separationFlag || noBreakpoint) {
        table.StraightLine(StraightLineBlock(xFirst ? " lin. regr. X" : " lin. regr. Z", n - 2,
                                             Finite(sst - ssdLine1), ssdLine1, a));
    }

    if (hasBreakpoint1) {
        const char* label = xFirst ? " X-breakpoint" : " Z-break-point";
        double msb1 = MeanSquare(ssdBroken1, n - ByShape(shape1, 5, 4, 6));
        if (input.separationFlag) {
            BlockRule extra = ByShape(shape1, BlockRule{a, 3, n - 5, 3, 3, n - 5, 3},
                                      BlockRule{b, 2, n - 4, 2, 2, n - 4, 2},
                                      BlockRule{b, 4, n - 6, 4, 4, n - 6, 4});
            table.Breakpoint(
                BreakpointBlock(label, Finite(ssdLine1 - ssdBroken1), ssdBroken1, msb1, extra),
                Mode::Extra);
        }
        BlockRule total =
            ByShape(shape1, BlockRule{b, 4, n - 5, 3, 4, n - 5, 3},
                    BlockRule{a, 3, n - 4, 2, 3, n - 4, 2}, BlockRule{a, 5, n - 6, 3, 5, n - 6, 3});
        table.Breakpoint(BreakpointBlock(label, Finite(sst - ssdBroken1), ssdBroken1, msb1, total),
                         Mode::Total);
    }

    if (input.secondSeparationFlag && hasBreakpoint1) {
        table.EmptyLine();
    }

    if (input.secondSeparationFlag || noBreakpoint) {
        double before = hasBreakpoint1 ? ssdBroken1 : ssdLine1;
        Block block =
            StraightLineBlock(" lin. reg. of", r1 - 2, Finite(before - ssdLine2), ssdLine2, a);
        block.secondLabel = xFirst ? " residuals on Z" : " residuals on X";
        table.StraightLine(block);
    }

    if (hasBreakpoint2) {
        const char* label = xFirst ? " Z-breakpoint" : " X-breakpoint";
        double msb2 = MeanSquare(ssdBroken2, r1 - ByShape(shape2, 5, 4, 6));
        if (input.secondSeparationFlag) {
            // Full types print 3 degrees of freedom where series B is given 4.
            BlockRule extra = ByShape(shape2, BlockRule{a, 3, r1 - 5, 2, 3, r1 - 5, 2},
                                      BlockRule{b, 2, r1 - 4, 1, 2, r1 - 4, 1},
                                      BlockRule{b, 4, r1 - 6, 3, 3, r1 - 6, 3});
            table.Breakpoint(
                BreakpointBlock(label, Finite(ssdLine2 - ssdBroken2), ssdBroken2, msb2, extra),
                Mode::Extra);
        }
        // Full types print the second degree of freedom counted from all data.
        BlockRule total = ByShape(shape2, BlockRule{b, 4, r1 - 5, 3, 4, r1 - 5, 3},
                                  BlockRule{a, 3, r1 - 4, 2, 3, r1 - 4, 2},
                                  BlockRule{a, 5, r1 - 6, 4, 5, n - 6, 4});
        table.Breakpoint(
            BreakpointBlock(label, Finite(ssdBroken1 - ssdBroken2), ssdBroken2, msb2, total),
            Mode::Total);
    }
}

std::string Title(const VarianceAnalysisInput& input) {
    if (input.varOption == 3) {
        return " Variance Analysis, ANOVA table, Regression Types: 1st Type:" +
               IntField(input.type1, 2) + ", 2nd Type:" + IntField(input.type2, 2);
    }
    return " Variance Analysis, ANOVA table, Regression Type:" + IntField(input.reportedType, 2);
}

// Writes the table beside the .var file and puts it in the .var file's place. The
// .var file is left as it was unless the table is complete.
bool ReplaceWithTable(const std::string& varFileName, const std::vector<std::string>& lines,
                      MessageSink& messages) {
    namespace fs = std::filesystem;
    fs::path varPath(varFileName);
    fs::path tempPath = varPath.parent_path() / (varPath.stem().string() + kTempFileSuffix);

    TextFileWriter writer;
    if (!writer.Open(tempPath.string())) {
        messages.ShowMessage(NotDone(tempPath.string(), "could not be created"));
        return false;
    }
    for (const std::string& line : lines) {
        writer.WriteLine(line);
    }
    std::error_code ignored;
    if (!writer.Close()) {
        fs::remove(tempPath, ignored);
        messages.ShowMessage(NotDone(tempPath.string(), "could not be written"));
        return false;
    }
    std::error_code error;
    fs::rename(tempPath, varPath, error);
    if (error) {
        fs::remove(tempPath, ignored);
        messages.ShowMessage(kRenameFailed);
        return false;
    }
    return true;
}

} // namespace

double FSeriesA(int df1, int df2, double f) {
    double x = SeriesX(df1, df2, f);
    if (x >= 1) {
        return 0.0;
    }
    double sum = PartialSum(df1, df2, x, kMaxData);
    double percent = 100.0 * std::pow(1.0 - x, df1 / 2.0) * sum;
    return std::isfinite(percent) ? percent : 0.0;
}

double FSeriesB(int df1, int df2, double f) {
    double x = SeriesX(df1, df2, f);
    if (x >= 1) {
        return 100.0; // x^(df2/2) counts as 0
    }
    double sum = PartialSum(df2, df1, 1.0 - x, kMaxSeriesBTerms);
    double percent = 100.0 * (1.0 - std::pow(x, df2 / 2.0) * sum);
    return std::isfinite(percent) ? percent : 0.0;
}

double FSignificance(int df1, int df2, double f) {
    double percent;
    if (df1 % 2 == 0) {
        percent = FSeriesA(df1, df2, f);
    } else if (df1 > 2) {
        percent = (FSeriesA(df1 - 1, df2, f) + FSeriesA(df1 + 1, df2, f)) / 2;
    } else if (df1 == 1) {
        double a2 = FSeriesA(2, df2, f);
        percent = a2 - (FSeriesA(4, df2, f) - a2) * 0.5;
    } else {
        percent = FSeriesA(df1, df2, f);
    }
    return Bounded(percent);
}

VarianceAnalysisResult RunVarianceAnalysis(const VarianceAnalysisInput& input,
                                           MessageSink& messages) {
    VarianceAnalysisResult result;
    const std::string& fileName = input.varFileName;
    TextReader reader;
    if (!reader.Open(fileName)) {
        messages.ShowMessage(NotDone(fileName, "could not be opened"));
        result.failed = true;
        return result;
    }

    std::vector<std::string> lines;
    bool weakBreakpoint = false;
    try {
        RecordReader records(reader, fileName);
        long long nrOfVar = records.Integer();
        if (nrOfVar >= INT_MIN && nrOfVar <= INT_MAX) {
            result.nrOfVar = static_cast<int>(nrOfVar);
        }
        // Records of the other kind of run would be read as the wrong sums.
        int expectedVar = input.varOption == 3 ? 2 : 1;
        if (nrOfVar != expectedVar) {
            records.Refuse("the number of independent variables is " + std::to_string(nrOfVar) +
                           " instead of " + std::to_string(expectedVar));
        }
        long long n = records.Integer();
        if (n < 1 || n > kMaxData) {
            records.Refuse("the number of data is " + std::to_string(n));
        }
        double sst = records.Real();
        if (sst == 0) {
            messages.ShowMessage(kNoVariation);
            return result;
        }

        Table table(static_cast<int>(n), input.criticalValue);
        table.Head(Title(input), fileName, sst);
        if (input.varOption == 3) {
            TwoVariableBlocks(records, input, static_cast<int>(n), sst, table);
        } else {
            OneVariableBlocks(records, input, static_cast<int>(n), sst, table);
        }
        table.Tail();
        lines = table.Lines();
        weakBreakpoint = table.WeakBreakpoint();
    } catch (const VarFileError& error) {
        messages.ShowMessage(error.Message());
        result.failed = true;
        return result;
    }

    if (!ReplaceWithTable(fileName, lines, messages)) {
        result.failed = true;
        return result;
    }
    result.tableWritten = true;
    // Shown once the table is in place, since it asks the user to look at it.
    if (weakBreakpoint) {
        messages.ShowMessage(kWeakBreakpoint);
    }
    return result;
}

} // namespace brekka
