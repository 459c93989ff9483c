#include "text/NumberFormat.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <stdexcept>
#include <string_view>

namespace brekka {
namespace {

std::string PadLeft(std::string text, int width) {
    if (width > 0 && static_cast<int>(text.size()) < width) {
        text.insert(0, static_cast<size_t>(width) - text.size(), ' ');
    }
    return text;
}

// Non-finite values never belong in a file; the engines guard against them.
// Should one slip through anyway, it is written as a readable word.
std::string NonFiniteText(double value) {
    if (std::isnan(value)) {
        return "NAN";
    }
    return value < 0 ? "-INF" : "INF";
}

// Mantissa digits ("d.ddd") and decimal exponent of |value| with `digits`
// significant digits, rounded correctly (ties to even on the binary value).
struct Scientific {
    std::string mantissa;
    int exponent = 0;
};

Scientific SplitScientific(double magnitude, int digits) {
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                                std::chars_format::scientific, digits - 1);
    std::string_view text(buffer, static_cast<size_t>(result.ptr - buffer));
    size_t e = text.find('e');
    Scientific out;
    out.mantissa = std::string(text.substr(0, e));
    out.exponent = std::atoi(std::string(text.substr(e + 1)).c_str());
    if (digits == 1) {
        out.mantissa += '.';
    }
    return out;
}

std::string Exponent(int exponent, int minDigits) {
    std::string digits = std::to_string(std::abs(exponent));
    if (static_cast<int>(digits.size()) < minDigits) {
        digits.insert(0, static_cast<size_t>(minDigits) - digits.size(), '0');
    }
    return std::string(exponent < 0 ? "E-" : "E+") + digits;
}

std::string Fixed(double value, int decimals) {
    if (value == 0) {
        value = 0.0; // drops the sign of negative zero
    }
    char buffer[400];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed,
                                decimals < 0 ? 0 : decimals);
    return std::string(buffer, result.ptr);
}

std::string PatternScientific(double value, int width, int precision) {
    if (precision > 18) {
        precision = 15;
    }
    if (precision < 1) {
        precision = 1;
    }
    if (value == 0) {
        value = 0.0;
    }
    Scientific s = SplitScientific(std::fabs(value), precision);
    std::string text = (value < 0 ? "-" : "") + s.mantissa + Exponent(s.exponent, 3);
    return PadLeft(text, width);
}

} // namespace

std::string IntField(long long value, int width) {
    return PadLeft(std::to_string(value), width);
}

std::string RealField(double value, int width, int decimals) {
    if (!std::isfinite(value)) {
        return PadLeft(NonFiniteText(value), width);
    }
    if (std::fabs(value) >= 1e36) {
        return ScientificField(value, width);
    }
    return PadLeft(Fixed(value, decimals), width);
}

std::string ScientificField(double value, int width) {
    if (!std::isfinite(value)) {
        return PadLeft(NonFiniteText(value), width);
    }
    int digits = width < 10 ? 2 : (width > 26 ? 18 : width - 8);
    if (value == 0) {
        value = 0.0;
    }
    Scientific s = SplitScientific(std::fabs(value), digits);
    std::string text = (value < 0 ? "-" : " ") + s.mantissa + Exponent(s.exponent, 4);
    return PadLeft(text, width);
}

std::string FormatPattern(const char* pattern, double value) {
    // Pattern: "%" width "." precision ("e" | "f").
    std::string_view p(pattern);
    if (p.size() < 4 || p.front() != '%') {
        throw std::invalid_argument("bad number pattern");
    }
    size_t dot = p.find('.');
    char kind = p.back();
    if (dot == std::string_view::npos || (kind != 'e' && kind != 'f')) {
        throw std::invalid_argument("bad number pattern");
    }
    int width = std::atoi(std::string(p.substr(1, dot - 1)).c_str());
    int precision = std::atoi(std::string(p.substr(dot + 1, p.size() - dot - 2)).c_str());
    if (!std::isfinite(value)) {
        return PadLeft(NonFiniteText(value), width);
    }
    if (kind == 'e') {
        return PatternScientific(value, width, precision);
    }
    return PadLeft(Fixed(value, precision), width);
}

} // namespace brekka
