#include "data/DataModule.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "data/CsvReader.h"
#include "text/NumberFormat.h"
#include "text/TextFile.h"

namespace brekka {
namespace {

constexpr int kSerialWidth = 5;
constexpr int kYWidth = 10;
constexpr int kXZWidth = 13;
constexpr int kPlainDecimals = 2;
// More digits than this are noise of the binary representation to the user.
constexpr int kMaxSignificantDigits = 15;
constexpr int kHeaderLines = 11;

std::string TrimBlanks(const std::string& text) {
    size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return std::string();
    }
    size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

// The next field of a data row (fields stand between blanks and tabs), taken off
// the front of `rest`; empty when none is left.
std::string_view NextField(std::string_view& rest) {
    size_t start = 0;
    while (start < rest.size() && (rest[start] == ' ' || rest[start] == '\t')) {
        ++start;
    }
    size_t end = start;
    while (end < rest.size() && rest[end] != ' ' && rest[end] != '\t') {
        ++end;
    }
    const std::string_view field = rest.substr(start, end - start);
    rest.remove_prefix(end);
    return field;
}

bool ReadsBackAs(const std::string& text, double value) {
    double parsed = 0;
    return ParseReal(text, parsed) && parsed == value;
}

// Digits from the first non-zero one to the end of the mantissa.
int SignificantDigits(const std::string& text) {
    int count = 0;
    bool started = false;
    for (char c : text) {
        if (c == 'E' || c == 'e') {
            break;
        }
        if (c >= '1' && c <= '9') {
            started = true;
        }
        if (started && c >= '0' && c <= '9') {
            ++count;
        }
    }
    return count;
}

// Decimals of the shortest text that reads back as `value`; no fixed text with
// fewer decimals can read back, so the search for more decimals starts here.
int ShortestDecimals(double value) {
    char buffer[64];
    auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
    std::string text(buffer, result.ptr);
    size_t e = text.find('e');
    int exponent = std::atoi(text.c_str() + e + 1);
    int digits = SignificantDigits(text.substr(0, e));
    return digits - 1 - exponent;
}

std::string FixedText(double value, int decimals) {
    return TrimBlanks(RealField(value, 0, decimals));
}

// Magnitudes from 1E36 on are written in the scientific form of the field.
std::string ScientificText(double value, int digits) {
    return TrimBlanks(ScientificField(value, digits + 8));
}

// The value as the field shows it, without padding. Two decimals when they hold
// the value exactly, so files of 2-decimal data look as they always have; other
// values get just enough digits to be read back unchanged, within the limit of
// significant digits (at the limit the value is as close as the digits allow).
std::string ValueText(double value, int width) {
    std::string plain = TrimBlanks(RealField(value, width, kPlainDecimals));
    if (ReadsBackAs(plain, value)) {
        return plain;
    }
    if (std::fabs(value) >= 1e36) {
        int digits = width < 10 ? 2 : width - 8;
        for (++digits; digits <= kMaxSignificantDigits; ++digits) {
            std::string text = ScientificText(value, digits);
            if (ReadsBackAs(text, value)) {
                return text;
            }
        }
        // Rounded to the limit of digits, the values next to the largest double
        // pass it and could not be read back; the nearest digits towards zero can.
        double near = value;
        std::string text = ScientificText(near, kMaxSignificantDigits);
        double parsed = 0;
        while (!ParseReal(text, parsed)) {
            near = std::nextafter(near, 0.0);
            text = ScientificText(near, kMaxSignificantDigits);
        }
        return text;
    }
    const int start = std::max(kPlainDecimals + 1, ShortestDecimals(value));
    int decimals = start;
    for (;; ++decimals) {
        std::string text = FixedText(value, decimals);
        if (SignificantDigits(text) > kMaxSignificantDigits) {
            break;
        }
        if (ReadsBackAs(text, value)) {
            return text;
        }
    }
    if (decimals > start) {
        return FixedText(value, decimals - 1);
    }
    for (decimals = start - 1; decimals > kPlainDecimals; --decimals) {
        std::string text = FixedText(value, decimals);
        if (SignificantDigits(text) <= kMaxSignificantDigits) {
            return text;
        }
    }
    return plain;
}

// Right-aligned in the field; a text that reaches the start of its field gets a
// blank before it, or it would run into the previous number and the row could not
// be read back.
std::string ValueField(double value, int width) {
    std::string text = ValueText(value, width);
    if (static_cast<int>(text.size()) >= width) {
        return " " + text;
    }
    return std::string(static_cast<size_t>(width) - text.size(), ' ') + text;
}

std::string CouldNotOpenMessage(const std::string& fileName) {
    return "The file \"" + fileName +
           "\"could not be opened. It may be in use by another program,  or the programmer "
           "should incorporate more time.";
}

bool IsDirectory(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_directory(path, error);
}

bool ReadWholeFile(const std::string& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

// A title is one line of the input file and of the report: control characters
// (a quoted header may hold line ends) become blanks, runs of blanks one, and a
// long column name is cut, never inside a UTF-8 character.
std::string TitleText(const std::string& text, size_t limit = std::string::npos) {
    std::string line;
    for (char c : text) {
        const unsigned char u = static_cast<unsigned char>(c);
        const char shown = u < 0x20 || u == 0x7F ? ' ' : c;
        if (shown != ' ' || line.empty() || line.back() != ' ') {
            line += shown;
        }
    }
    line = TrimBlanks(line);
    if (line.size() > limit) {
        size_t cut = limit;
        while (cut > 0 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) {
            --cut;
        }
        line = TrimBlanks(line.substr(0, cut));
    }
    return line;
}

// "Y: yield; X: depth; Z: salinity" from the header, "column 2" for a column
// without name.
std::string ColumnTitles(const CsvTable& table) {
    constexpr size_t kNameLimit = 40;
    const char* const names[] = {"Y", "X", "Z"};
    std::string titles;
    for (int c = 0; c < table.Columns; ++c) {
        const size_t k = static_cast<size_t>(c);
        std::string name = k < table.Header.size() ? TitleText(table.Header[k], kNameLimit) : "";
        if (name.empty()) {
            name = "column " + std::to_string(c + 1);
        }
        titles += (c > 0 ? "; " : "") + std::string(names[c]) + ": " + name;
    }
    return titles;
}

} // namespace

TDMBrekka::TDMBrekka(MessageSink& messages) : messages_(messages) {
    std::error_code error;
    std::filesystem::path current = std::filesystem::current_path(error);
    if (!error) {
        FileName = current.string();
    }
    ResetToDefault();
}

void TDMBrekka::ResetToDefault() {
    Title1.clear();
    Title2.clear();
    NrOfVar = 1;
    VarOption = 0;
    SerialNr.clear();
    YData.clear();
    XData.clear();
    ZData.clear();
    Resize(15);
}

void TDMBrekka::Resize(int nrOfData) {
    if (nrOfData < 0) {
        nrOfData = 0;
    }
    const size_t oldSize = SerialNr.size();
    const size_t size = static_cast<size_t>(nrOfData);
    SerialNr.resize(size);
    for (size_t i = oldSize; i < size; ++i) {
        SerialNr[i] = static_cast<int>(i) + 1;
    }
    YData.resize(size, 0.0);
    XData.resize(size, 0.0);
    ZData.resize(size, 0.0);
    NrOfData = nrOfData;
}

bool TDMBrekka::WriteInputFile() {
    const bool twoVariables = NrOfVar != 1;
    const size_t rows = NrOfData > 0 ? static_cast<size_t>(NrOfData) : 0;
    if (YData.size() < rows || XData.size() < rows || (twoVariables && ZData.size() < rows)) {
        ShowProgramError("The data set holds fewer values than its " + std::to_string(NrOfData) +
                         " rows; the file \"" + FileName + "\" was not written.");
        return false;
    }
    // A value that is not a number could never be read back, so nothing is
    // written (and no existing file replaced) while one is present.
    for (size_t i = 0; i < rows; ++i) {
        if (!std::isfinite(YData[i]) || !std::isfinite(XData[i]) ||
            (twoVariables && !std::isfinite(ZData[i]))) {
            messages_.ShowMessage("Row " + std::to_string(i + 1) +
                                  " of the data set holds a value that is not a finite number. "
                                  "The file \"" +
                                  FileName + "\" was not written.");
            return false;
        }
    }

    TextFileWriter file;
    if (IsDirectory(FileName) || !file.Open(FileName)) {
        messages_.ShowMessage(CouldNotOpenMessage(FileName));
        return false;
    }
    file.WriteLine(Title1);
    file.WriteLine(Title2);
    file.WriteLine(" File name:  " + FileName);
    file.WriteLine(" Number of independent variables:  " + std::to_string(NrOfVar));
    file.WriteLine(" Number of data sets:  " + std::to_string(NrOfData));
    if (!twoVariables) {
        file.WriteLine();
        file.WriteLine();
        file.WriteLine("          Dependent    independent");
        file.WriteLine("Serial    variable     variable");
        file.WriteLine("number    Y            X");
        file.WriteLine("----------------------------------");
    } else {
        file.WriteLine();
        file.WriteLine("                       First          Second");
        file.WriteLine("          Dependent    independent    independent");
        file.WriteLine("Serial    variable     variable       variable");
        file.WriteLine("number    Y            X              Z");
        file.WriteLine("-------------------------------------------------");
    }
    for (size_t i = 0; i < rows; ++i) {
        std::string row = IntField(static_cast<long long>(i) + 1, kSerialWidth);
        row += ' ';
        row += ValueField(YData[i], kYWidth);
        row += ValueField(XData[i], kXZWidth);
        if (twoVariables) {
            row += ValueField(ZData[i], kXZWidth);
        }
        file.WriteLine(row);
    }
    if (!file.Close()) {
        messages_.ShowMessage("The file \"" + FileName +
                              "\" could not be written completely. The disk may be full or the "
                              "file may be in use by another program.");
        return false;
    }
    return true;
}

bool TDMBrekka::ReadInputFile() {
    if (IsColumnFileName(FileName)) {
        return ReadColumnFile();
    }
    TextReader reader;
    if (IsDirectory(FileName) || !reader.Open(FileName)) {
        messages_.ShowMessage(CouldNotOpenMessage(FileName));
        return false;
    }
    auto damaged = [this](int line, const std::string& what) {
        messages_.ShowMessage("The input file \"" + FileName + "\" is damaged: line " +
                              std::to_string(line) + " " + what);
        return false;
    };
    auto missing = [&damaged](int line) { return damaged(line, "is missing."); };

    // Reads the number that follows the label of a header line.
    auto headerNumber = [&reader](int labelLength, long long& number) {
        reader.SkipChars(labelLength);
        if (reader.RestOfLineIsBlank()) {
            return false;
        }
        try {
            number = reader.ReadInteger();
        } catch (const TextReadError&) {
            return false;
        }
        reader.SkipLine();
        return true;
    };

    if (reader.AtEnd()) {
        return missing(1);
    }
    std::string title1 = reader.ReadLine();
    if (reader.AtEnd()) {
        return missing(2);
    }
    std::string title2 = reader.ReadLine();
    if (reader.AtEnd()) {
        return missing(3);
    }
    reader.SkipLine();

    if (reader.AtEnd()) {
        return missing(4);
    }
    long long nrOfVar = 0;
    if (!headerNumber(33, nrOfVar)) {
        return damaged(4, "does not give the number of independent variables.");
    }
    if (nrOfVar != 1 && nrOfVar != 2) {
        return damaged(4, "gives " + std::to_string(nrOfVar) +
                              " independent variables; there can be 1 or 2.");
    }
    if (reader.AtEnd()) {
        return missing(5);
    }
    // The count itself is not used: the rows that follow decide how many there are.
    long long statedCount = 0;
    if (!headerNumber(22, statedCount)) {
        return damaged(5, "does not give the number of data sets.");
    }
    for (int line = 6; line <= kHeaderLines; ++line) {
        if (reader.AtEnd()) {
            return missing(line);
        }
        reader.SkipLine();
    }

    std::vector<double> y;
    std::vector<double> x;
    std::vector<double> z;
    while (!reader.AtEnd()) {
        std::string_view line = reader.ReadLineView();
        std::string_view serial = NextField(line);
        if (serial.empty()) {
            continue; // a blank line
        }
        long long number = 0;
        double values[3] = {0, 0, 0};
        // The rows are numbered anew; the serial number only has to be one.
        bool readable = ParseInteger(serial, number);
        for (int k = 0; readable && k < 1 + static_cast<int>(nrOfVar); ++k) {
            readable = ParseReal(NextField(line), values[k]);
        }
        if (!readable) {
            ShowProgramError("Real numbers in the inputfile \"" + FileName + "\" are corrupt");
            return false;
        }
        y.push_back(values[0]);
        x.push_back(values[1]);
        z.push_back(values[2]);
    }
    if (y.empty()) {
        messages_.ShowMessage("The input file \"" + FileName + "\" holds no data rows.");
        return false;
    }

    Title1 = std::move(title1);
    Title2 = std::move(title2);
    NrOfVar = static_cast<int>(nrOfVar);
    NrOfData = static_cast<int>(y.size());
    SerialNr.resize(y.size());
    for (size_t i = 0; i < SerialNr.size(); ++i) {
        SerialNr[i] = static_cast<int>(i) + 1;
    }
    YData = std::move(y);
    XData = std::move(x);
    ZData = std::move(z);
    return true;
}

bool TDMBrekka::ReadColumnFile() {
    std::string text;
    if (IsDirectory(FileName) || !ReadWholeFile(FileName, text)) {
        messages_.ShowMessage(CouldNotOpenMessage(FileName));
        return false;
    }
    CsvResult read = ReadCsvText(text);
    if (!read.Ok) {
        messages_.ShowMessage("The file \"" + FileName + "\" could not be read: " + read.Error);
        return false;
    }
    CsvTable& table = read.Table;
    const size_t rows = table.Y.size();
    Title1 = TitleText(std::filesystem::path(FileName).filename().string());
    Title2 = ColumnTitles(table);
    NrOfVar = table.Columns - 1;
    NrOfData = static_cast<int>(rows);
    SerialNr.resize(rows);
    for (size_t i = 0; i < rows; ++i) {
        SerialNr[i] = static_cast<int>(i) + 1;
    }
    YData = std::move(table.Y);
    XData = std::move(table.X);
    ZData = table.Columns == 3 ? std::move(table.Z) : std::vector<double>(rows, 0.0);
    return true;
}

bool TDMBrekka::StringToFloat(const std::string& text, double& value, RunSettings& settings) const {
    const std::string trimmed = TrimBlanks(text);
    const char separator = settings.DecimalSeparator;
    std::string local = trimmed;
    bool ok = false;
    if (separator == '.') {
        ok = ParseReal(local, value);
    } else if (local.find('.') == std::string::npos) {
        for (char& c : local) {
            if (c == separator) {
                c = '.';
            }
        }
        ok = ParseReal(local, value);
    }
    if (!ok && separator == ',') {
        // A point typed where the comma is expected: from now on the point holds.
        settings.DecimalSeparator = '.';
        ok = ParseReal(trimmed, value);
    }
    return ok;
}

bool TDMBrekka::ReadResultFile(const std::string& name, const std::string& kind,
                               bool removeShortResult) {
    TextReader reader;
    if (IsDirectory(name) || !reader.Open(name)) {
        if (kind == ".out") {
            messages_.ShowMessage("The file \"" + name +
                                  "\"could not be opened. It may be damaged or in use by "
                                  "another program.");
        } else {
            messages_.ShowMessage("The anova file \"" + name +
                                  "\"could not be found. Please go to the input tabsheet and "
                                  "run the program again to create it.");
        }
        return false;
    }
    std::vector<std::string> lines;
    while (!reader.AtEnd()) {
        lines.push_back(reader.ReadLine());
    }
    if (lines.size() < 2) {
        if (removeShortResult) {
            std::error_code ignored;
            std::filesystem::remove(FileName, ignored);
            FileName = ChangeFileExt(FileName, ".var");
            std::filesystem::remove(FileName, ignored);
        }
        messages_.ShowMessage(" The output file is invalid due to inadequate input data");
        return false;
    }
    OutputLines = std::move(lines);
    NrOfOutputLines = static_cast<int>(OutputLines.size());
    return true;
}

void TDMBrekka::ShowProgramError(const std::string& message) {
    messages_.ShowMessage("A program error occurred." + message);
}

bool IsColumnFileName(const std::string& fileName) {
    std::string extension = std::filesystem::path(fileName).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".csv" || extension == ".txt";
}

std::string ChangeFileExt(const std::string& fileName, const std::string& extension) {
    size_t nameStart = fileName.find_last_of("/\\");
    nameStart = nameStart == std::string::npos ? 0 : nameStart + 1;
    const std::string name = fileName.substr(nameStart);
    size_t dot = fileName.find_last_of('.');
    // A leading dot names a hidden file rather than starting an extension.
    if (dot == std::string::npos || dot <= nameStart || name == "..") {
        return fileName + extension;
    }
    return fileName.substr(0, dot) + extension;
}

} // namespace brekka
