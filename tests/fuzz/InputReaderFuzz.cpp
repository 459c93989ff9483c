// The input-file reader on any file: a read either gives a sound data set that the
// writer puts back into a file reading the same, or fails with a message that
// names the file and leaves the data set exactly as it was.
#include <cmath>
#include <cstdint>
#include <string>

#include "DataSetChecks.h"
#include "FuzzSupport.h"
#include "data/DataModule.h"

using namespace brekka;
using namespace brekka::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    const ProcessTempDir& dir = TempDir();
    const std::string path = dir.File("data.inp");
    WriteBytes(path, bytes, size);

    RecordingMessageSink sink;
    TDMBrekka data(sink);
    data.FileName = path;
    FillDistinctly(data);
    RecordingMessageSink beforeSink;
    TDMBrekka before(beforeSink);
    CopyDataSet(data, before);

    if (!data.ReadInputFile()) {
        FUZZ_CHECK(SameDataSet(data, before), "a failed read changed the data set");
        FUZZ_CHECK(sink.messages.size() == 1, std::to_string(sink.messages.size()));
        FUZZ_CHECK(sink.messages[0].find(path) != std::string::npos, sink.messages[0]);
        return 0;
    }
    FUZZ_CHECK(sink.messages.empty(), sink.messages[0]);
    CheckSound(data);

    CheckInputFileRoundTrip(data, dir);
    return 0;
}
