#pragma once
// Helpers of the engine tests: an independent least-squares fit (centred two-pass
// sums, unlike the kernel's raw sums), deterministic noise, a scratch directory
// and a data set filled in code.
#include <cmath>
#include <filesystem>
#include <fstream>
#include <random>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "data/DataModule.h"
#include "data/Messages.h"

namespace brekka::testing {

struct ReferenceFit {
    double n = 0, avX = 0, avY = 0, ssx = 0, ssy = 0, sxy = 0;
    double slope = 0, intercept = 0, ssd = 0, r2 = 0;
};

// Least squares over the data with lo <= x < hi, from deviations about the means.
inline ReferenceFit FitRange(const std::vector<double>& y, const std::vector<double>& x,
                             double lo = -INFINITY, double hi = INFINITY) {
    ReferenceFit f;
    for (size_t i = 0; i < x.size(); ++i) {
        if (x[i] >= lo && x[i] < hi) {
            f.n += 1;
            f.avX += x[i];
            f.avY += y[i];
        }
    }
    if (f.n == 0) {
        return f;
    }
    f.avX /= f.n;
    f.avY /= f.n;
    for (size_t i = 0; i < x.size(); ++i) {
        if (x[i] >= lo && x[i] < hi) {
            const double dx = x[i] - f.avX;
            const double dy = y[i] - f.avY;
            f.ssx += dx * dx;
            f.ssy += dy * dy;
            f.sxy += dx * dy;
        }
    }
    f.slope = f.ssx > 0 ? f.sxy / f.ssx : 0;
    f.intercept = f.avY - f.slope * f.avX;
    for (size_t i = 0; i < x.size(); ++i) {
        if (x[i] >= lo && x[i] < hi) {
            const double r = y[i] - (f.intercept + f.slope * x[i]);
            f.ssd += r * r;
        }
    }
    f.r2 = (f.ssx > 0 && f.ssy > 0) ? (f.sxy / f.ssx) * (f.sxy / f.ssy) : 0;
    return f;
}

// Small, repeatable and trend-free disturbances.
inline double Wobble(int i) {
    return std::sin(i * 2.399963229728653) * std::cos(i * 0.7071);
}

// A fresh directory under the system's temporary directory, removed afterwards.
class ScratchDirectory {
public:
    ScratchDirectory() {
        std::random_device rd;
        std::mt19937_64 gen(rd());
        for (;;) {
            path_ = std::filesystem::temp_directory_path() /
                    ("brekka-engine-" + std::to_string(gen() % 1000000000ULL));
            if (std::filesystem::create_directory(path_)) {
                break;
            }
        }
    }
    ~ScratchDirectory() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    std::string File(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

inline std::string ReadWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

// The lines of a file written with CR LF ends, without the ends.
inline std::vector<std::string> ReadLines(const std::string& path) {
    const std::string text = ReadWhole(path);
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

inline void FillDataSet(TDMBrekka& data, const std::vector<double>& y,
                        const std::vector<double>& x) {
    data.YData = y;
    data.XData = x;
    data.ZData.assign(x.size(), 0.0);
    data.SerialNr.clear();
    for (size_t i = 0; i < x.size(); ++i) {
        data.SerialNr.push_back(static_cast<int>(i) + 1);
    }
    data.NrOfData = static_cast<int>(x.size());
    data.NrOfVar = 1;
    data.VarOption = 0;
    data.Title1 = "engine test";
    data.Title2 = "made in code";
}

// A non-finite number as printf or the renderings would spell it, standing after a
// blank, a sign or at the start of a line (so words such as "Intro" do not count).
inline bool HasNonFinite(const std::string& text) {
    static const std::regex word("[\\n\\r \\-+](nan|inf)", std::regex::icase);
    return std::regex_search("\n" + text, word);
}

} // namespace brekka::testing
