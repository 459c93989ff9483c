// The result-file reader of the output tab on any file: it shows every line of the
// file or, for fewer than two lines, says so and keeps what it showed before. A
// short report that a calculation has just written is removed with its table.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "data/DataModule.h"

using namespace brekka;
using namespace brekka::fuzz;

namespace {

// Lines end in CR LF, LF or a lone CR; a last line without an end still counts.
std::vector<std::string> LinesOf(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            lines.push_back(text.substr(start, i - start));
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
            start = i + 1;
        }
    }
    if (start < text.size()) {
        lines.push_back(text.substr(start));
    }
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    const ProcessTempDir& dir = TempDir();
    dir.Clear();
    // The size picks the kind and whether the calculation has just written it, so
    // that the corpus holds the result files as they are.
    const size_t choice = size % 4;
    const bool isTable = (choice & 1) != 0;
    const bool justWritten = (choice & 2) != 0;
    const std::string kind = isTable ? ".var" : ".out";
    const std::string content(reinterpret_cast<const char*>(bytes), size);
    const std::string report = dir.File("data.out");
    const std::string table = dir.File("data.var");
    const std::string name = isTable ? table : report;
    WriteBytes(name, reinterpret_cast<const uint8_t*>(content.data()), content.size());
    if (!isTable) {
        WriteBytes(table, nullptr, 0);
    }

    RecordingMessageSink sink;
    TDMBrekka data(sink);
    data.FileName = name;
    data.OutputLines = {"shown before"};
    data.NrOfOutputLines = 1;
    const bool read = data.ReadResultFile(name, kind, justWritten && !isTable);

    const std::vector<std::string> lines = LinesOf(content);
    if (lines.size() >= 2) {
        FUZZ_CHECK(read, sink.messages.empty() ? "" : sink.messages[0]);
        FUZZ_CHECK(sink.messages.empty(), sink.messages[0]);
        FUZZ_CHECK(data.OutputLines == lines, "the lines shown differ from the file");
        FUZZ_CHECK(data.NrOfOutputLines == static_cast<int>(lines.size()),
                   std::to_string(data.NrOfOutputLines));
        FUZZ_CHECK(std::filesystem::exists(name), "a readable result file was removed");
        return 0;
    }
    FUZZ_CHECK(!read, "a file of fewer than two lines was accepted");
    FUZZ_CHECK(sink.messages.size() == 1, std::to_string(sink.messages.size()));
    FUZZ_CHECK(data.OutputLines == std::vector<std::string>{"shown before"} &&
                   data.NrOfOutputLines == 1,
               "a failed read changed the lines shown");
    if (justWritten && !isTable) {
        FUZZ_CHECK(!std::filesystem::exists(report) && !std::filesystem::exists(table),
                   "a short report just written was kept");
    } else {
        FUZZ_CHECK(std::filesystem::exists(name), "a file the user chose was removed");
    }
    return 0;
}
