#include "data/InputFileName.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace brekka {

bool IsResultFileName(const std::string& fileName) {
    std::string extension = std::filesystem::path(fileName).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".out" || extension == ".var";
}

std::string ResultFileAsInputMessage(const std::string& fileName) {
    return "The file \"" + fileName +
           "\" cannot be used as an input file: Brekka writes its results to files ending in "
           ".out and .var, and would overwrite it. Please choose a name ending in .inp.";
}

} // namespace brekka
