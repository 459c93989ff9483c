#pragma once
// Reads a report (.out) back for its graphs: the types, methods, breakpoints,
// titles, the statistics the belts and blocks need, the slopes and the whole
// observation table.
#include <string>

#include "data/GraphState.h"
#include "text/TextFile.h"

namespace brekka {

// A report that cannot be drawn from. The message is meant for the user.
class ReportReadError : public TextReadError {
public:
    using TextReadError::TextReadError;
};

// Reads the report `fileName` into fresh values and replaces `data` and `state`
// with them only when the whole report was read; on failure throws
// ReportReadError and leaves both as they were. The data's VarOption is kept.
void ReadOutputForGraph(const std::string& fileName, GraphData& data, GraphState& state);

// The same on report text already in memory; `fileName` only names it in messages.
void ReadOutputTextForGraph(const std::string& text, const std::string& fileName, GraphData& data,
                            GraphState& state);

} // namespace brekka
