#pragma once
// The data module: the one data set of the program, its file name and the file
// operations on it.
#include <string>
#include <vector>

#include "data/Messages.h"
#include "data/RunSettings.h"

namespace brekka {

class TDMBrekka {
public:
    explicit TDMBrekka(MessageSink& messages);

    std::string FileName;
    std::string Title1;
    std::string Title2;
    // Row i of the grid (from 1) is element i - 1 of each column.
    std::vector<int> SerialNr;
    std::vector<double> YData;
    std::vector<double> XData;
    std::vector<double> ZData;
    std::vector<std::string> OutputLines;
    int NrOfData = 0;
    int NrOfVar = 1;
    int NrOfOutputLines = 0;
    // 0 the only variable, 1 first of two, 2 second of two (Z in the X place), 3 both.
    int VarOption = 0;

    // The starting data set: 15 rows of zeros, one variable, empty titles.
    void ResetToDefault();
    // Sets the size of every column, keeping what fits.
    void Resize(int nrOfData);

    // Writes the data set to FileName as an input file. False (after a message)
    // when the file cannot be written or a value is not a finite number.
    bool WriteInputFile();
    // Reads FileName into the data set. On any failure a message names the file,
    // the data set stays exactly as it was and the result is false. A .csv or .txt
    // file is read as the columns of a spreadsheet (data/CsvReader.h): Title1 is
    // its name without folder, Title2 names the columns, "Y: yield; X: depth", by
    // the header or else by number, "Y: column 1; X: column 2".
    bool ReadInputFile();

    // Reads a result file whole into OutputLines: kind ".out" for a report, ".var"
    // for a variance-analysis table. False (after a message) when it cannot be
    // opened or holds fewer than 2 lines. Only a report that a calculation has just
    // written (removeShortResult) is then deleted, with its .var file; a file the
    // user chose is never removed.
    bool ReadResultFile(const std::string& name, const std::string& kind,
                        bool removeShortResult = false);

    // Converts one grid cell to a number; false when the text is not a number.
    // Accepts the settings' decimal separator; when that is "," and the text only
    // reads with ".", switches the separator to "." for good.
    bool StringToFloat(const std::string& text, double& value, RunSettings& settings) const;

    // "A program error occurred." followed by the message, in a message box. The
    // program goes on; the caller decides what happens next.
    void ShowProgramError(const std::string& message);
    bool AskYesNo(const std::string& question) { return messages_.AskYesNo(question); }
    MessageSink& Messages() { return messages_; }

private:
    MessageSink& messages_;
    bool ReadColumnFile();
};

// True when the file is read as spreadsheet columns: the extension is .csv or
// .txt, in any case.
bool IsColumnFileName(const std::string& fileName);

// The file name with its extension replaced (".out", ".var", ...); a name
// without extension gets one.
std::string ChangeFileExt(const std::string& fileName, const std::string& extension);

} // namespace brekka
