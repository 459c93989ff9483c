#pragma once
// Which names may serve as an input file. The report and the table are named by
// replacing the input file's extension, so an input named *.out or *.var would be
// overwritten by its own results.
#include <string>

namespace brekka {

// True when the extension is .out or .var, in any case.
bool IsResultFileName(const std::string& fileName);

// The message that refuses such a name as an input file.
std::string ResultFileAsInputMessage(const std::string& fileName);

} // namespace brekka
