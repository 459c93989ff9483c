#pragma once
// The analysis-of-variance table of a reported regression: reads the sums of
// squares the engine left in the .var file and replaces that file with the table.
#include <string>

#include "data/Messages.h"

namespace brekka {

// What the analysis needs to know of the run that wrote the .var file.
struct VarianceAnalysisInput {
    std::string varFileName; // the .var file, read and then replaced
    int varOption = 0;       // 3 for a two-variable run
    int reportedType = 1;    // one variable: the reported type 0..6
    int type1 = 1;           // two variables: type of the first stage
    int type2 = 1;           // two variables: type of the second stage
    bool separationFlag = true;
    bool secondSeparationFlag = true;
    double criticalValue = 1.75;
};

struct VarianceAnalysisResult {
    bool tableWritten = false; // the .var file now holds the table
    bool failed = false;       // the .var file could not be read or replaced
    int nrOfVar = 0;           // record 1 of the .var file, 0 when not read
};

// Writes the table into a temporary file beside the .var file and replaces the
// .var file only once the table is complete. Messages (the warning, a missing or
// damaged .var file, no variation) go to `messages`, the warning at most once.
VarianceAnalysisResult RunVarianceAnalysis(const VarianceAnalysisInput& input,
                                           MessageSink& messages);

// Significance in per cent of an F value with df1 and df2 degrees of freedom,
// bounded to 0.1 .. 99.9.
double FSignificance(int df1, int df2, double f);
// The two series of the F distribution (cumulative probability in per cent),
// unbounded. Series A is exact for even df2, series B for even df1. Where x =
// df2 / (df2 + df1 F) is 1 or more, A gives 0 and B gives 100.
double FSeriesA(int df1, int df2, double f);
double FSeriesB(int df1, int df2, double f);

} // namespace brekka
