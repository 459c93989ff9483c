#pragma once
// Settings that steer one calculation, shared by the driver and the engines.
#include <array>

namespace brekka {

// Exclusion and preference of function types 2..6 for one independent variable.
// The program keeps them at their defaults (nothing excluded, nothing preferred);
// the engines honour them all the same.
struct TypeChoices {
    std::array<bool, 7> excluded{}; // index = function type; 2..6 are used
    std::array<bool, 7> preferred{};
    bool AnyExcluded() const {
        for (int k = 2; k <= 6; ++k) {
            if (excluded[k]) {
                return true;
            }
        }
        return false;
    }
    bool AnyPreferred() const {
        for (int k = 2; k <= 6; ++k) {
            if (preferred[k]) {
                return true;
            }
        }
        return false;
    }
};

struct RunSettings {
    // Multiplier of every significance test: 1.75, 2.1 or 2.5 for a minimum
    // confidence of 90, 95 or 98 %.
    double CriticalValue = 1.75;
    // Set by an engine that refuses the data; the driver clears it.
    bool NoVariationFlag = false;
    // Decimal separator of grid texts; StringToFloat may switch it to '.'.
    char DecimalSeparator = '.';
    TypeChoices XChoices;
    TypeChoices ZChoices;
    // Threads of one breakpoint search; 0 means as many as the machine has. The
    // results do not depend on it.
    int SearchThreads = 0;
    // A search takes its sums from tables formed for all candidates in two passes
    // over the data; without, every evaluation runs over the data itself. Both
    // give the same files: the plain form is what the tables are checked against.
    bool TabulatedSearch = true;
    // The tables may use 512-bit vector units where the processor has them; the
    // files are the same either way.
    bool WideVectors = true;
};

// The critical value of a minimum confidence in per cent (90, 95 or 98; any
// other value counts as 90).
double CriticalValueForConfidence(int percent);
// The confidence in per cent that a critical value stands for.
int ConfidenceForCriticalValue(double criticalValue);

} // namespace brekka
