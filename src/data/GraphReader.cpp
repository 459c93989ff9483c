#include "data/GraphReader.h"

#include <fstream>
#include <sstream>
#include <string>
#include <utility>

namespace brekka {

namespace {

// The reader's single read position in the report, with the moves the report
// layouts are read by: line heads of four characters, fixed character counts and
// free-format numbers. Every move stops at the end of the text, so no scan can run
// on for ever.
class ReportScanner {
public:
    explicit ReportScanner(std::string text) {
        start_.OpenText(std::move(text));
        reader_ = start_;
    }

    void Restart() { reader_ = start_; }
    int LineNumber() const { return reader_.LineNumber(); }
    const std::string& Head() const { return head_; }
    void SetHead(std::string head) { head_ = std::move(head); }

    // Reads and drops `count` characters; a CR LF line end counts as two.
    void SkipChars(int count) {
        char c = 0;
        for (int i = 0; i < count && reader_.ReadChar(c); ++i) {
        }
    }
    // Up to four characters of the current line, then on to the next line.
    void ReadHead() {
        if (reader_.AtEnd()) {
            throw TextReadError("the report ends too early");
        }
        std::string line = reader_.ReadLine();
        head_ = line.substr(0, 4);
    }
    // The first four characters of the current line, staying in it.
    std::string PeekHead() const {
        TextReader copy = reader_;
        return copy.ReadLine().substr(0, 4);
    }
    void ScanTo(const std::string& key, const char* what) {
        while (head_ != key) {
            if (reader_.AtEnd()) {
                throw TextReadError(std::string("the report has no ") + what);
            }
            ReadHead();
        }
    }
    void NextLine() { reader_.SkipLine(); }
    void SkipLines(int count) { reader_.SkipLines(count); }
    std::string ReadLine() { return reader_.ReadLine(); }
    bool AtEnd() const { return reader_.AtEnd(); }
    double Real() { return reader_.ReadReal(); }
    int Integer() {
        const long long value = reader_.ReadInteger();
        if (value < -1000000 || value > 1000000) {
            throw TextReadError("the whole number " + std::to_string(value) + " is out of range");
        }
        return static_cast<int>(value);
    }
    // Reads characters up to and including `letter`.
    void ReadThrough(char letter) {
        char c = 0;
        while (reader_.ReadChar(c)) {
            if (c == letter) {
                return;
            }
        }
        throw TextReadError("the report ends too early");
    }
    // For the reads whose failure has a fallback: the position to go back to.
    TextReader Mark() const { return reader_; }
    void Reset(const TextReader& mark) { reader_ = mark; }

private:
    TextReader start_;
    TextReader reader_;
    std::string head_;
};

std::string CollapseBlanks(std::string text) {
    std::string result;
    for (char c : text) {
        if (c == ' ' && !result.empty() && result.back() == ' ') {
            continue;
        }
        result += c;
    }
    return result;
}

int ReadType(ReportScanner& scan) {
    const int type = scan.Integer();
    if (type < 0 || type > 8) {
        throw TextReadError("the function type " + std::to_string(type) + " is not one of 0 to 8");
    }
    return type;
}

int ReadMethod(ReportScanner& scan) {
    const int method = scan.Integer();
    if (method < 1 || method > 2) {
        throw TextReadError("the calculation method " + std::to_string(method) + " is not 1 or 2");
    }
    return method;
}

// Three reals of one line, the kth (from 1) kept.
double KthOfThree(ReportScanner& scan, int k) {
    double values[3];
    for (double& value : values) {
        value = scan.Real();
    }
    return values[k - 1];
}

struct SegmentValues {
    double N1, AvY1, AvX1, StDevRC1, StDevY1, StDevYr1;
    double N2, AvY2, AvX2, StDevRC2, StDevY2, StDevYr2;
};

// The "Data with X < BPx" and "Data with X > BPx" tables, from the line after the
// first of them.
SegmentValues ReadSegmentTables(ReportScanner& scan) {
    SegmentValues v{};
    scan.ScanTo(" Dat", "table of the data on either side of the breakpoint");
    scan.SkipChars(20);
    v.N1 = scan.Real();
    v.AvY1 = scan.Real();
    v.AvX1 = scan.Real();
    scan.NextLine();
    v.StDevRC1 = KthOfThree(scan, 3);
    scan.NextLine();
    v.StDevY1 = scan.Real();
    v.StDevYr1 = scan.Real();
    scan.NextLine();
    scan.SkipLines(1);
    scan.SkipChars(20);
    v.N2 = scan.Real();
    v.AvY2 = scan.Real();
    v.AvX2 = scan.Real();
    scan.NextLine();
    v.StDevRC2 = KthOfThree(scan, 3);
    scan.NextLine();
    v.StDevY2 = scan.Real();
    v.StDevYr2 = scan.Real();
    scan.NextLine();
    return v;
}

double CountWeightedMean(const SegmentValues& v) {
    const double n = v.N1 + v.N2;
    return n != 0 ? (v.N1 * v.AvX1 + v.N2 * v.AvX2) / n : 0.0;
}

struct BreakpointValues {
    double Ybp = 0, StErrBP = 0, ExplCoeff = 0;
    int Method = 0;
};

// Parameter block of types 3 and 4, the same in both report kinds; a two-variable
// report may put its last row one line further down.
void ReadTurnedBlock(ReportScanner& scan, BreakpointValues& b, bool twoVariables) {
    scan.SkipLines(3);
    scan.Real();
    b.Ybp = scan.Real();
    scan.NextLine();
    scan.NextLine();
    scan.Real();
    b.StErrBP = scan.Real();
    scan.NextLine();
    scan.SkipLines(3);
    const TextReader mark = scan.Mark();
    try {
        b.ExplCoeff = KthOfThree(scan, 3);
    } catch (const TextReadError&) {
        if (!twoVariables) {
            throw;
        }
        scan.Reset(mark);
        scan.NextLine();
        b.ExplCoeff = KthOfThree(scan, 3);
    }
    scan.NextLine();
}

BreakpointValues ReadTwoVariableBlock(ReportScanner& scan, int type) {
    BreakpointValues b;
    if (type == 2) {
        scan.SkipLines(3);
        b.StErrBP = scan.Real();
        b.StErrBP = scan.Real();
        b.Method = ReadMethod(scan);
        scan.NextLine();
        scan.NextLine();
        b.Ybp = scan.Real();
        b.StErrBP = scan.Real();
        b.ExplCoeff = scan.Real();
        scan.NextLine();
    } else if (type == 3 || type == 4) {
        ReadTurnedBlock(scan, b, true);
    }
    return b;
}

void ReadOneVariableBlock(ReportScanner& scan, int type, GraphState& s) {
    BreakpointValues b;
    if (type == 2) {
        scan.SkipLines(5);
        b.Ybp = scan.Real();
        b.StErrBP = scan.Real();
        b.ExplCoeff = scan.Real();
        scan.NextLine();
    } else if (type == 3 || type == 4) {
        ReadTurnedBlock(scan, b, false);
    } else {
        scan.SkipLines(5);
        scan.SkipChars(35);
        b.ExplCoeff = scan.Real();
        scan.NextLine();
    }
    s.Ybp = b.Ybp;
    s.StErrBP = b.StErrBP;
    s.ExplCoeff = b.ExplCoeff;
}

void ReadSummary(ReportScanner& scan, GraphData& d, GraphState& s) {
    scan.SetHead("   ");
    scan.ScanTo(" SUM", "summary");
    d.SummaryKey = scan.PeekHead();
    if (d.SummaryKey == " Fun") {
        scan.SkipChars(16);
        s.FuncType = ReadType(scan);
        scan.NextLine();
        if (s.FuncType == 2) {
            scan.SkipChars(16);
            const TextReader mark = scan.Mark();
            try {
                s.CalcMethod = ReadMethod(scan);
                scan.NextLine();
                scan.SkipLines(1);
            } catch (const TextReadError&) {
                scan.Reset(mark);
                s.CalcMethod = 0;
            }
            scan.SkipLines(1);
            scan.SkipChars(32);
            s.BP = scan.Real();
            scan.NextLine();
        }
        if (s.FuncType == 3 || s.FuncType == 4) {
            scan.SkipChars(16);
            s.CalcMethod = ReadMethod(scan);
            scan.NextLine();
        }
        if (s.FuncType > 2) {
            scan.SkipLines(2);
            scan.SkipChars(32);
            s.BP = scan.Real();
            scan.NextLine();
        }
        return;
    }
    if (d.SummaryKey != " Y-X" && d.SummaryKey != " Y-Z") {
        throw TextReadError("the summary names no function type");
    }
    scan.SkipChars(21);
    s.FuncType = ReadType(scan);
    scan.NextLine();
    scan.SkipChars(21);
    s.FuncType2 = ReadType(scan);
    scan.NextLine();
    if (s.FuncType == 3 || s.FuncType == 4) {
        scan.SkipChars(21);
        s.CalcMethod = ReadMethod(scan);
        scan.NextLine();
    }
    if (s.FuncType2 == 3 || s.FuncType2 == 4) {
        scan.SkipChars(21);
        s.CalcMethod2 = ReadMethod(scan);
        scan.NextLine();
    }
    scan.ScanTo(" (Se", "list of the optimal breakpoints");
    scan.SkipLines(1);
    // The label " The optimal breakpoint of X (BPx) is :" has 39 characters; the
    // 40th is the sign of a negative breakpoint.
    scan.SkipChars(39);
    s.BP = scan.Real();
    scan.NextLine();
    scan.SkipChars(39);
    s.BP2 = scan.Real();
    scan.NextLine();
}

void ReadHeader(ReportScanner& scan, GraphData& d, GraphState& s) {
    scan.Restart();
    if (d.SummaryKey == " Fun") {
        scan.SetHead("");
        scan.ScanTo(" Nam", "name of the output file");
        const std::string next = scan.PeekHead();
        scan.Restart();
        scan.SkipLines(next == " Nam" ? 10 : 8);
    } else {
        scan.SkipLines(14);
    }
    d.Title1 = CollapseBlanks(scan.ReadLine());
    d.Title2 = CollapseBlanks(scan.ReadLine());
    scan.SkipChars(23);
    const TextReader mark = scan.Mark();
    try {
        s.ConfPercent = scan.Integer();
        scan.NextLine();
    } catch (const TextReadError&) {
        scan.Reset(mark);
        s.ConfPercent = 90;
        scan.NextLine();
    }
    s.ConfFactor = s.ConfPercent < 91 ? 1.75 : (s.ConfPercent <= 95 ? 2.1 : 2.5);
}

void ReadWholeDataTable(ReportScanner& scan, GraphData& d, GraphState& s) {
    scan.SetHead("");
    scan.ScanTo(" Reg", "regression without breakpoint");
    scan.SkipLines(6);
    d.VarTag = scan.PeekHead();
    scan.SkipChars(static_cast<int>(d.VarTag.size()));
    scan.SkipChars(d.SummaryKey == " Fun" ? 20 : 16);
    s.N = scan.Real();
    s.AvY = scan.Real();
    s.AvX = scan.Real();
    scan.NextLine();
    s.StDevRC = KthOfThree(scan, 3);
    scan.NextLine();
    scan.Real();
    s.StDevYr = scan.Real();
    s.StDevX = scan.Real();
    scan.NextLine();
    s.Kept[0] = {s.AvX, s.StDevRC, s.StDevYr};
    s.SumSqX = s.StDevX * s.StDevX * s.N;
    if (d.SummaryKey == " Fun") {
        s.AvXAll = s.AvX;
    }
}

// The regression between the two independent variables.
void ReadRegressionBetweenVariables(ReportScanner& scan, GraphState& s) {
    if (s.FuncType > 1) {
        scan.ScanTo(" Par", "parameters of the first relation");
    }
    scan.ReadHead();
    scan.ScanTo(" Reg", "regression between the independent variables");
    scan.SkipLines(6);
    scan.SkipChars(20);
    s.N2 = scan.Real();
    s.AvY2 = scan.Real();
    s.AvX2 = scan.Real();
    scan.NextLine();
    s.StDevRC2 = KthOfThree(scan, 3);
    scan.NextLine();
    scan.Real();
    s.StDevYr2 = scan.Real();
    const double stDevX = scan.Real();
    scan.NextLine();
    s.SumSqXZ = stDevX * stDevX * s.N2;
    scan.Restart();
}

void ReadSecondRelation(ReportScanner& scan, GraphData& d, GraphState& s) {
    scan.SetHead("    ");
    scan.ScanTo(d.VarTag == " BPx" ? " BPz" : " BPx",
                "table of the regression between the independent variables");
    scan.SkipChars(24);
    s.CorrCoeffSqXZ = scan.Real();
    scan.NextLine();
    scan.SkipLines(8);
    scan.SkipChars(38);
    SecondRelationValues& r = s.Second;
    r.AvY = scan.Real();
    r.AvX = scan.Real();
    scan.NextLine();
    r.StDevRC = KthOfThree(scan, 3);
    scan.NextLine();
    scan.Real();
    r.StDevYr = scan.Real();
    r.StDevX = scan.Real();
    scan.NextLine();
    r.N = s.N;
    s.Kept[1] = {r.AvX, r.StDevRC, r.StDevYr};
    if (s.FuncType2 > 1) {
        scan.SetHead("");
        const SegmentValues v = ReadSegmentTables(scan);
        r.N1 = v.N1, r.AvY1 = v.AvY1, r.AvX1 = v.AvX1;
        r.StDevRC1 = v.StDevRC1, r.StDevY1 = v.StDevY1, r.StDevYr1 = v.StDevYr1;
        r.N2 = v.N2, r.AvY2 = v.AvY2, r.AvX2 = v.AvX2;
        r.StDevRC2 = v.StDevRC2, r.StDevY2 = v.StDevY2, r.StDevYr2 = v.StDevYr2;
        r.AvXAll = CountWeightedMean(v);
        const BreakpointValues b = ReadTwoVariableBlock(scan, s.FuncType2);
        s.Ybp2 = b.Ybp;
        s.StErrBP2 = b.StErrBP;
        s.ExplCoeff2 = b.ExplCoeff;
        if (s.FuncType2 == 2) {
            s.CalcMethod2 = b.Method;
        }
    }
}

void ReadSlopes(ReportScanner& scan, GraphData& d, GraphState& s) {
    if (!d.IsTwoVariable()) {
        if (s.FuncType < 2) {
            scan.ScanTo(" The", "regression equation");
            scan.SkipLines(1);
            scan.SkipChars(10);
            s.RC1 = scan.Real();
        } else {
            scan.ScanTo(" whe", "regression equations");
            scan.SkipLines(2);
            scan.SkipChars(10);
            s.RC1 = scan.Real();
            scan.ReadThrough('A');
            scan.SkipChars(4);
            s.RC2 = scan.Real();
            scan.NextLine();
        }
        return;
    }
    scan.ScanTo(" whe", "regression equations");
    scan.SkipLines(4);
    scan.SkipChars(11);
    s.RC1 = scan.Real();
    scan.ReadThrough('B');
    scan.SkipChars(4);
    s.RCz1 = scan.Real();
    scan.NextLine();
    scan.SkipChars(11);
    s.RC2 = scan.Real();
    scan.ReadThrough('B');
    scan.SkipChars(4);
    s.RCz2 = scan.Real();
    scan.NextLine();
    scan.SkipLines(3);
    scan.SkipChars(43);
    s.ExplCoeffAll = scan.Real();
    scan.NextLine();
}

void ReadObservations(ReportScanner& scan, GraphData& d) {
    scan.ScanTo(" ---", "table of observed and calculated values");
    const bool twoVariables = d.IsTwoVariable();
    const bool zFirst = d.SummaryKey == " Y-Z";
    while (!scan.AtEnd()) {
        const int lineNumber = scan.LineNumber();
        TextReader row;
        row.OpenText(scan.ReadLine());
        if (row.RestOfLineIsBlank()) {
            continue;
        }
        row.SkipChars(9);
        try {
            if (!twoVariables) {
                d.GraphY.push_back(row.ReadReal());
                d.GraphX.push_back(row.ReadReal());
                d.GraphYCalc.push_back(row.ReadReal());
                d.GraphZ.push_back(0.0);
                d.GraphRes.push_back(0.0);
            } else {
                double v[5];
                for (double& value : v) {
                    value = row.ReadReal();
                }
                d.GraphY.push_back(v[0]);
                (zFirst ? d.GraphZ : d.GraphX).push_back(v[1]);
                d.GraphRes.push_back(v[2]);
                (zFirst ? d.GraphX : d.GraphZ).push_back(v[3]);
                d.GraphYCalc.push_back(v[4]);
            }
        } catch (const TextReadError& error) {
            throw TextReadError("in row " + std::to_string(d.GraphY.size() + 1) +
                                " of the observation table (line " + std::to_string(lineNumber) +
                                "), " + error.what());
        }
    }
    d.NrOfData = static_cast<int>(d.GraphY.size());
}

void ReadReport(ReportScanner& scan, GraphData& d, GraphState& s) {
    scan.SkipLines(2);
    scan.ReadHead();
    if (scan.Head() != " The") {
        throw ReportReadError("This output file cannot be read by Brekka. Graph will not be "
                              "shown. Try BrekkaA instead.");
    }
    ReadSummary(scan, d, s);
    ReadHeader(scan, d, s);
    ReadWholeDataTable(scan, d, s);
    const bool two = d.IsTwoVariable();
    if (two) {
        ReadRegressionBetweenVariables(scan, s);
    }
    if (s.FuncType > 1) {
        scan.SetHead("");
        const SegmentValues v = ReadSegmentTables(scan);
        s.N1 = v.N1, s.AvY1 = v.AvY1, s.AvX1 = v.AvX1;
        s.StDevRC1 = v.StDevRC1, s.StDevY1 = v.StDevY1, s.StDevYr1 = v.StDevYr1;
        s.N2 = v.N2, s.AvY2 = v.AvY2, s.AvX2 = v.AvX2;
        s.StDevRC2 = v.StDevRC2, s.StDevY2 = v.StDevY2, s.StDevYr2 = v.StDevYr2;
        if (two) {
            s.AvXAll = CountWeightedMean(v);
            const BreakpointValues b = ReadTwoVariableBlock(scan, s.FuncType);
            s.Ybp = b.Ybp;
            s.StErrBP = b.StErrBP;
            s.ExplCoeff = b.ExplCoeff;
            if (s.FuncType == 2) {
                s.CalcMethod = b.Method;
            }
        } else {
            ReadOneVariableBlock(scan, s.FuncType, s);
            s.ExplCoeffAll = s.ExplCoeff;
        }
    }
    if (two) {
        ReadSecondRelation(scan, d, s);
    }
    scan.SetHead("");
    ReadSlopes(scan, d, s);
    scan.SetHead("");
    ReadObservations(scan, d);
}

} // namespace

void ReadOutputTextForGraph(const std::string& text, const std::string& fileName, GraphData& data,
                            GraphState& state) {
    GraphData d;
    d.VarOption = data.VarOption;
    GraphState s;
    ReportScanner scan(text);
    try {
        ReadReport(scan, d, s);
    } catch (const ReportReadError&) {
        throw;
    } catch (const TextReadError& error) {
        throw ReportReadError("The file \"" + fileName + "\" cannot be read as a Brekka report: " +
                              error.what() + " (line " + std::to_string(scan.LineNumber()) + ").");
    }
    data = std::move(d);
    state = s;
}

void ReadOutputForGraph(const std::string& fileName, GraphData& data, GraphState& state) {
    std::ifstream in(fileName, std::ios::binary);
    std::ostringstream whole;
    if (in.is_open()) {
        whole << in.rdbuf();
    }
    if (!in.is_open() || in.bad()) {
        throw ReportReadError("The file \"" + fileName +
                              "\"could not be opened. It may be damaged or in use by another "
                              "program.");
    }
    ReadOutputTextForGraph(whole.str(), fileName, data, state);
}

} // namespace brekka
