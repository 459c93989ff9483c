#pragma once
// Runs brekka-calc as a user would, in a test's own directory, and keeps what it
// printed.
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "support/TempDir.h"

namespace brekka::testing {

struct CommandResult {
    int status = -1;
    std::string out;
    std::string err;
};

inline std::string ReadWhole(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

// Runs brekka-calc in `dir` with the given arguments (already quoted).
inline CommandResult RunCalc(const TempDir& dir, const std::string& arguments) {
    const std::string command = "cd '" + dir.Path().string() + "' && '" BREKKA_CALC_PATH "' " +
                                arguments + " > stdout.txt 2> stderr.txt";
    const int raw = std::system(command.c_str());
    CommandResult result;
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    result.out = ReadWhole(dir.File("stdout.txt"));
    result.err = ReadWhole(dir.File("stderr.txt"));
    return result;
}

} // namespace brekka::testing
