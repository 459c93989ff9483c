#include "text/NumberFormat.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string_view>

namespace brekka {
namespace {

// Every rendering is put together in a small buffer and becomes a string once:
// the reports write hundreds of thousands of them.
class Field {
public:
    void Put(char c) { text_[size_++] = c; }
    void Put(const char* text, size_t length) {
        std::memcpy(text_ + size_, text, length);
        size_ += length;
    }
    char* End() { return text_ + size_; }
    void Grow(const char* end) { size_ = static_cast<size_t>(end - text_); }
    // Right-aligned in `width`; never cut.
    std::string Padded(int width) const {
        const size_t pad = width > 0 && static_cast<size_t>(width) > size_
                               ? static_cast<size_t>(width) - size_
                               : 0;
        std::string out;
        out.reserve(pad + size_);
        out.append(pad, ' ');
        out.append(text_, size_);
        return out;
    }
    static constexpr size_t kCapacity = 420;

private:
    char text_[kCapacity];
    size_t size_ = 0;
};

std::string PadLeft(std::string_view text, int width) {
    Field f;
    f.Put(text.data(), text.size());
    return f.Padded(width);
}

// Non-finite values never belong in a file; the engines guard against them.
// Should one slip through anyway, it is written as a readable word.
std::string_view NonFiniteText(double value) {
    if (std::isnan(value)) {
        return "NAN";
    }
    return value < 0 ? "-INF" : "INF";
}

// Mantissa digits ("d.ddd") of |value| with `digits` significant digits, rounded
// correctly (ties to even on the binary value), then "E", the exponent's sign and
// at least `exponentDigits` digits.
void PutScientific(Field& f, double magnitude, int digits, int exponentDigits) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                                      std::chars_format::scientific, digits - 1);
    const char* e = std::find(buffer, result.ptr, 'e');
    f.Put(buffer, static_cast<size_t>(e - buffer));
    if (digits == 1) {
        f.Put('.');
    }
    int exponent = 0;
    const char* p = e + 1;
    const bool negative = *p == '-';
    ++p; // to_chars always writes the exponent's sign
    std::from_chars(p, result.ptr, exponent);
    f.Put('E');
    f.Put(negative ? '-' : '+');
    char digitsText[8];
    const auto end = std::to_chars(digitsText, digitsText + sizeof digitsText, exponent).ptr;
    for (int n = static_cast<int>(end - digitsText); n < exponentDigits; ++n) {
        f.Put('0');
    }
    f.Put(digitsText, static_cast<size_t>(end - digitsText));
}

void PutFixed(Field& f, double value, int decimals) {
    if (value == 0) {
        value = 0.0; // drops the sign of negative zero
    }
    const auto result = std::to_chars(f.End(), f.End() + 400, value, std::chars_format::fixed,
                                      decimals < 0 ? 0 : decimals);
    if (result.ec == std::errc()) {
        f.Grow(result.ptr);
        return;
    }
    // Too many digits for any field: the scientific form says the same.
    f.Put(value < 0 ? '-' : ' ');
    PutScientific(f, std::fabs(value), 18, 4);
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
    Field f;
    if (value < 0) {
        f.Put('-');
    }
    PutScientific(f, std::fabs(value), precision, 3);
    return f.Padded(width);
}

// The leading digits of `text` from `at` as a number, and where they end.
int ReadDigits(std::string_view text, size_t& at) {
    int number = 0;
    while (at < text.size() && text[at] >= '0' && text[at] <= '9') {
        if (number < 100000) {
            number = number * 10 + (text[at] - '0');
        }
        ++at;
    }
    return number;
}

} // namespace

std::string IntField(long long value, int width) {
    Field f;
    f.Grow(std::to_chars(f.End(), f.End() + 24, value).ptr);
    return f.Padded(width);
}

std::string RealField(double value, int width, int decimals) {
    if (!std::isfinite(value)) {
        return PadLeft(NonFiniteText(value), width);
    }
    if (std::fabs(value) >= 1e36) {
        return ScientificField(value, width);
    }
    Field f;
    PutFixed(f, value, decimals > 360 ? 360 : decimals);
    return f.Padded(width);
}

std::string ScientificField(double value, int width) {
    if (!std::isfinite(value)) {
        return PadLeft(NonFiniteText(value), width);
    }
    int digits = width < 10 ? 2 : (width > 26 ? 18 : width - 8);
    if (value == 0) {
        value = 0.0;
    }
    Field f;
    f.Put(value < 0 ? '-' : ' ');
    PutScientific(f, std::fabs(value), digits, 4);
    return f.Padded(width);
}

std::string FormatPattern(const char* pattern, double value) {
    // Pattern: "%" width "." precision ("e" | "f").
    std::string_view p(pattern);
    if (p.size() < 4 || p.front() != '%') {
        throw std::invalid_argument("bad number pattern");
    }
    const char kind = p.back();
    size_t at = 1;
    const int width = ReadDigits(p, at);
    if (at >= p.size() || p[at] != '.' || (kind != 'e' && kind != 'f')) {
        throw std::invalid_argument("bad number pattern");
    }
    ++at;
    const int precision = ReadDigits(p, at);
    if (at != p.size() - 1) {
        throw std::invalid_argument("bad number pattern");
    }
    if (!std::isfinite(value)) {
        return PadLeft(NonFiniteText(value), width);
    }
    if (kind == 'e') {
        return PatternScientific(value, width, precision);
    }
    Field f;
    PutFixed(f, value, precision > 360 ? 360 : precision);
    return f.Padded(width);
}

} // namespace brekka
