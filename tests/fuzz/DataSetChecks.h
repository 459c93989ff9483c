#pragma once
// The data set as the input-file readers must leave it: filled distinctly before
// a read, compared whole after a refused one, sound after a good one, and close
// to what was written after a round through an input file.
#include <cmath>
#include <string>

#include "FuzzSupport.h"
#include "data/DataModule.h"

namespace brekka::fuzz {

// A data set unlike anything a file gives: two variables, a row count that no
// header states, numbers out of order, output lines kept from a calculation.
inline void FillDistinctly(TDMBrekka& data) {
    data.Title1 = "title kept";
    data.Title2 = "second title kept";
    data.NrOfVar = 2;
    data.VarOption = 3;
    data.Resize(13);
    for (int i = 0; i < 13; ++i) {
        data.SerialNr[static_cast<size_t>(i)] = 100 - i;
        data.YData[static_cast<size_t>(i)] = 0.5 * i - 3;
        data.XData[static_cast<size_t>(i)] = 1e6 + i;
        data.ZData[static_cast<size_t>(i)] = -0.25 * i;
    }
    data.OutputLines = {"kept line 1", "kept line 2"};
    data.NrOfOutputLines = 2;
}

// The data module holds its message sink by reference, so it is copied by field.
inline void CopyDataSet(const TDMBrekka& from, TDMBrekka& to) {
    to.FileName = from.FileName;
    to.Title1 = from.Title1;
    to.Title2 = from.Title2;
    to.SerialNr = from.SerialNr;
    to.YData = from.YData;
    to.XData = from.XData;
    to.ZData = from.ZData;
    to.OutputLines = from.OutputLines;
    to.NrOfData = from.NrOfData;
    to.NrOfVar = from.NrOfVar;
    to.NrOfOutputLines = from.NrOfOutputLines;
    to.VarOption = from.VarOption;
}

inline bool SameDataSet(const TDMBrekka& a, const TDMBrekka& b) {
    return a.FileName == b.FileName && a.Title1 == b.Title1 && a.Title2 == b.Title2 &&
           a.SerialNr == b.SerialNr && a.YData == b.YData && a.XData == b.XData &&
           a.ZData == b.ZData && a.OutputLines == b.OutputLines && a.NrOfData == b.NrOfData &&
           a.NrOfVar == b.NrOfVar && a.NrOfOutputLines == b.NrOfOutputLines &&
           a.VarOption == b.VarOption;
}

// The writer keeps at most 15 significant digits; a value read with more comes
// back as close as those digits allow.
inline bool CloseEnough(double written, double read) {
    return std::fabs(written - read) <= 1e-14 * std::fmax(std::fabs(written), std::fabs(read));
}

inline void CheckSound(const TDMBrekka& data) {
    const size_t n = static_cast<size_t>(data.NrOfData);
    FUZZ_CHECK(data.NrOfData > 0, std::to_string(data.NrOfData));
    FUZZ_CHECK(data.NrOfVar == 1 || data.NrOfVar == 2, std::to_string(data.NrOfVar));
    FUZZ_CHECK(data.SerialNr.size() == n && data.YData.size() == n && data.XData.size() == n &&
                   data.ZData.size() == n,
               "column sizes differ from NrOfData");
    for (size_t i = 0; i < n; ++i) {
        FUZZ_CHECK(data.SerialNr[i] == static_cast<int>(i) + 1, "serial numbers not 1..n");
        FUZZ_CHECK(std::isfinite(data.YData[i]) && std::isfinite(data.XData[i]) &&
                       std::isfinite(data.ZData[i]),
                   "row " + std::to_string(i + 1));
        FUZZ_CHECK(data.NrOfVar == 2 || data.ZData[i] == 0.0, "Z of a one-variable file");
    }
}

// What was read must survive being written as an input file and read again.
inline void CheckInputFileRoundTrip(const TDMBrekka& data, const ProcessTempDir& dir) {
    const std::string copyPath = dir.File("copy.inp");
    RecordingMessageSink copySink;
    TDMBrekka copy(copySink);
    CopyDataSet(data, copy);
    copy.FileName = copyPath;
    FUZZ_CHECK(copy.WriteInputFile(), copySink.messages.empty() ? "" : copySink.messages[0]);
    RecordingMessageSink againSink;
    TDMBrekka again(againSink);
    again.FileName = copyPath;
    FUZZ_CHECK(again.ReadInputFile(), againSink.messages.empty() ? "" : againSink.messages[0]);
    FUZZ_CHECK(again.Title1 == data.Title1 && again.Title2 == data.Title2, "titles changed");
    FUZZ_CHECK(again.NrOfVar == data.NrOfVar, "number of variables changed");
    FUZZ_CHECK(again.NrOfData == data.NrOfData, std::to_string(again.NrOfData));
    for (size_t i = 0; i < static_cast<size_t>(data.NrOfData); ++i) {
        FUZZ_CHECK(CloseEnough(data.YData[i], again.YData[i]) &&
                       CloseEnough(data.XData[i], again.XData[i]) &&
                       CloseEnough(data.ZData[i], again.ZData[i]),
                   "row " + std::to_string(i + 1) + " changed on writing");
    }
}

} // namespace brekka::fuzz
