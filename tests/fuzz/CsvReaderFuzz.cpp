// Spreadsheet columns on any text: the reader gives 2 or 3 full columns of at
// least 3 finite values within the limit, which written out again in the same
// separators read back the same, or it refuses with a sentence about a line of
// the text. Read from a .csv file, the data set is sound and holds those values,
// or the file is refused with one message and the data set is as it was.
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>

#include "DataSetChecks.h"
#include "FuzzSupport.h"
#include "data/CsvReader.h"
#include "data/DataModule.h"

using namespace brekka;
using namespace brekka::fuzz;

namespace {

int LineCount(const std::string& text) {
    int lines = 1;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'))) {
            ++lines;
        }
    }
    return lines;
}

std::string Field(const std::string& text) {
    std::string quoted = "\"";
    for (char c : text) {
        quoted += c == '"' ? "\"\"" : std::string(1, c);
    }
    return quoted + "\"";
}

std::string Number(double value, char decimal) {
    char buffer[64];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    std::string text(buffer, end);
    for (char& c : text) {
        if (c == '.') {
            c = decimal;
        }
    }
    return text;
}

// The table as a spreadsheet would save it with the same separators.
std::string Written(const CsvTable& table) {
    const char separator = table.Separator;
    std::string text;
    for (size_t c = 0; c < table.Header.size(); ++c) {
        text += (c ? std::string(1, separator) : "") + Field(table.Header[c]);
    }
    if (!table.Header.empty()) {
        text += "\r\n";
    }
    for (size_t i = 0; i < table.Y.size(); ++i) {
        text += Number(table.Y[i], table.DecimalSeparator) + separator +
                Number(table.X[i], table.DecimalSeparator);
        if (table.Columns == 3) {
            text += separator + Number(table.Z[i], table.DecimalSeparator);
        }
        text += "\n";
    }
    return text;
}

void CheckTable(const CsvTable& table) {
    FUZZ_CHECK(table.Columns == 2 || table.Columns == 3, std::to_string(table.Columns));
    const size_t rows = table.Y.size();
    FUZZ_CHECK(rows >= static_cast<size_t>(kFewestColumnRows), std::to_string(rows));
    FUZZ_CHECK(table.X.size() == rows && table.Z.size() == (table.Columns == 3 ? rows : 0),
               "columns of different lengths");
    FUZZ_CHECK(table.Header.empty() || table.Header.size() == static_cast<size_t>(table.Columns),
               std::to_string(table.Header.size()));
    for (const std::vector<double>* column : {&table.Y, &table.X, &table.Z}) {
        for (double value : *column) {
            FUZZ_CHECK(std::isfinite(value) && std::fabs(value) <= kLargestColumnValue,
                       std::to_string(value));
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    const std::string text(reinterpret_cast<const char*>(bytes), size);
    const CsvResult result = ReadCsvText(text);
    if (!result.Ok) {
        FUZZ_CHECK(!result.Error.empty(), "a refusal without a reason");
        FUZZ_CHECK(result.ErrorLine >= 0 && result.ErrorLine <= LineCount(text),
                   std::to_string(result.ErrorLine));
        FUZZ_CHECK(result.ErrorLine == 0 ||
                       result.Error.rfind("line " + std::to_string(result.ErrorLine), 0) == 0,
                   result.Error);
    } else {
        CheckTable(result.Table);
        const CsvResult again = ReadCsvText(Written(result.Table));
        FUZZ_CHECK(again.Ok, again.Error);
        FUZZ_CHECK(again.Table.Y == result.Table.Y && again.Table.X == result.Table.X &&
                       again.Table.Z == result.Table.Z,
                   "values changed on writing");
        FUZZ_CHECK(again.Table.Header == result.Table.Header, "header changed on writing");
        FUZZ_CHECK(again.Table.Separator == result.Table.Separator, "separator changed");
    }

    const ProcessTempDir& dir = TempDir();
    const std::string path = dir.File("data.csv");
    WriteBytes(path, bytes, size);
    RecordingMessageSink sink;
    TDMBrekka data(sink);
    data.FileName = path;
    FillDistinctly(data);
    RecordingMessageSink beforeSink;
    TDMBrekka before(beforeSink);
    CopyDataSet(data, before);
    if (!data.ReadInputFile()) {
        FUZZ_CHECK(!result.Ok, "the file was refused, the text not");
        FUZZ_CHECK(SameDataSet(data, before), "a failed read changed the data set");
        FUZZ_CHECK(sink.messages.size() == 1, std::to_string(sink.messages.size()));
        FUZZ_CHECK(sink.messages[0] ==
                       "The file \"" + path + "\" could not be read: " + result.Error,
                   sink.messages[0]);
        return 0;
    }
    FUZZ_CHECK(result.Ok, "the file was read, the text refused");
    FUZZ_CHECK(sink.messages.empty(), sink.messages[0]);
    CheckSound(data);
    FUZZ_CHECK(data.NrOfVar == result.Table.Columns - 1 && data.YData == result.Table.Y &&
                   data.XData == result.Table.X,
               "the data set differs from the columns");
    FUZZ_CHECK(data.Title1 == "data.csv", data.Title1);
    FUZZ_CHECK(data.Title2.find_first_of("\r\n") == std::string::npos, data.Title2);
    CheckInputFileRoundTrip(data, dir);
    return 0;
}
