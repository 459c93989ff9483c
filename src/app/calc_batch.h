#pragma once
// The calculations of brekka-calc: one input file, or several one after another
// or side by side, each with its report and table beside it and one summary line.
#include <string>
#include <vector>

namespace brekka {

inline constexpr int kExitOk = 0;
inline constexpr int kExitWriteFailed = 1;
inline constexpr int kExitBadInput = 2;
inline constexpr int kExitRefused = 3;

struct BatchOptions {
    int confidence = 90;
    bool withAnova = true;
    // Files calculated at the same time, and threads of each calculation's search
    // (0: the machine's cores shared among the jobs).
    int jobs = 1;
    int threads = 0;
};

// What one file gave: its exit status, its summary line and the messages of its
// calculation, one per line.
struct FileOutcome {
    int status = kExitOk;
    std::string summary;
    std::vector<std::string> messages;
};

// Calculates one input file.
FileOutcome CalculateFile(const std::string& inputFile, const BatchOptions& options);

// Calculates every file; prints each file's messages (to standard error, prefixed
// with the file's name when there are several files) and its summary line (to
// standard output) in the order of the files. Returns the highest status.
int CalculateFiles(const std::vector<std::string>& inputFiles, const BatchOptions& options);

// An error message when two inputs would write the same report, else empty.
std::string SharedResultFiles(const std::vector<std::string>& inputFiles);

} // namespace brekka
