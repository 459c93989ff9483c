#pragma once
// What every fuzz target needs: a directory of its own for the files it writes,
// removed when the process ends, and a check that stops the run on a wrong result
// so that libFuzzer keeps the input.
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <system_error>

namespace brekka::fuzz {

[[noreturn]] inline void Fail(const char* what, const std::string& detail = std::string()) {
    std::fprintf(stderr, "fuzz check failed: %s %s\n", what, detail.c_str());
    std::abort();
}

#define FUZZ_CHECK(condition, detail)                                                              \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            ::brekka::fuzz::Fail(#condition, (detail));                                            \
        }                                                                                          \
    } while (false)

// A directory of this process under the system's temporary directory. Only digits
// follow the prefix, so the path itself never reads as "nan" or "inf".
class ProcessTempDir {
public:
    ProcessTempDir() {
        std::random_device random;
        const auto base = std::filesystem::temp_directory_path();
        do {
            path_ = base / ("brekka-fuzz-" + std::to_string(random()) + std::to_string(random()));
        } while (!std::filesystem::create_directory(path_));
    }
    ~ProcessTempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ProcessTempDir(const ProcessTempDir&) = delete;
    ProcessTempDir& operator=(const ProcessTempDir&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::string File(const std::string& name) const { return (path_ / name).string(); }

    // Removes what an earlier input left, so every input starts in an empty directory.
    void Clear() const {
        std::error_code ignored;
        for (const auto& entry : std::filesystem::directory_iterator(path_, ignored)) {
            std::filesystem::remove_all(entry.path(), ignored);
        }
    }

private:
    std::filesystem::path path_;
};

// One directory for the whole run of a target; libFuzzer calls the target many
// times in one process.
inline ProcessTempDir& TempDir() {
    static ProcessTempDir dir;
    return dir;
}

inline void WriteBytes(const std::string& path, const uint8_t* data, size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!out) {
        Fail("the input could not be written to", path);
    }
}

inline std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline bool IsLetter(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) != 0;
}

inline bool SameLetters(const std::string& text, size_t pos, const char* word) {
    for (size_t i = 0; word[i] != '\0'; ++i) {
        if (pos + i >= text.size() ||
            std::tolower(static_cast<unsigned char>(text[pos + i])) != word[i]) {
            return false;
        }
    }
    return true;
}

// Where a text shows "nan", "inf" or "infinity" as a word of its own (any case,
// any sign), as the C and C++ libraries print such values; npos when nowhere.
inline size_t FindNonFiniteWord(const std::string& text) {
    for (size_t pos = 0; pos < text.size(); ++pos) {
        if (pos > 0 && IsLetter(text[pos - 1])) {
            continue;
        }
        for (const char* word : {"infinity", "nan", "inf"}) {
            if (!SameLetters(text, pos, word)) {
                continue;
            }
            const size_t end = pos + std::char_traits<char>::length(word);
            if (end >= text.size() || !IsLetter(text[end])) {
                return pos;
            }
        }
    }
    return std::string::npos;
}

} // namespace brekka::fuzz
