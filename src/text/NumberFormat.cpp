#include "text/NumberFormat.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
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
        std::string out;
        AppendPadded(out, width);
        return out;
    }
    void AppendPadded(std::string& out, int width) const {
        const size_t pad = width > 0 && static_cast<size_t>(width) > size_
                               ? static_cast<size_t>(width) - size_
                               : 0;
        out.append(pad, ' ');
        out.append(text_, size_);
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

__extension__ typedef unsigned __int128 Wide;

// 10^k for k = 0..38, the powers that fit.
constexpr std::array<Wide, 39> kPowersOfTen = [] {
    std::array<Wide, 39> powers{};
    Wide p = 1;
    for (Wide& each : powers) {
        each = p;
        p *= 10;
    }
    return powers;
}();

constexpr Wide kLimit = Wide(1) << 126; // twice a remainder stays in range
// The largest factors that 10^k may multiply without passing kLimit.
constexpr std::array<Wide, 39> kLimits = [] {
    std::array<Wide, 39> limits{};
    for (size_t k = 0; k < limits.size(); ++k) {
        limits[k] = kLimit / kPowersOfTen[k];
    }
    return limits;
}();

// `digits` significant digits of `magnitude` (> 0, finite) as the integer
// `number` and the decimal exponent of its first digit, rounded correctly (ties to
// even on the binary value) in exact integer arithmetic. False when the
// magnitude lies beyond what 128-bit integers hold exactly; the library's
// rendering, which is exact too but several times slower, does those.
bool ExactDigits(double magnitude, int digits, unsigned long long& number, int& exponent) {
    if (!(magnitude > 0) || !std::isfinite(magnitude) || digits < 1 || digits > 17) {
        return false;
    }
    const auto bits = std::bit_cast<std::uint64_t>(magnitude);
    const int biased = static_cast<int>(bits >> 52);
    if (biased == 0) {
        return false; // subnormal: far beyond the integers below
    }
    const std::uint64_t mantissa =
        (bits & ((std::uint64_t(1) << 52) - 1)) | (std::uint64_t(1) << 52);
    const int q = biased - 1075; // magnitude = mantissa * 2^q exactly
    // floor(log10(2) * (q + 52)) is the exponent of the first digit or one less.
    int e10 = ((q + 52) * 78913) >> 18;
    const Wide low = kPowersOfTen[digits - 1];
    const Wide high = kPowersOfTen[digits];
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int k = e10 - (digits - 1); // number = round(magnitude / 10^k)
        Wide n = 0;
        bool up = false;
        if (k <= 0 && q < 0 && -k <= 22 && -q < 126) {
            // magnitude * 10^-k = mantissa * 10^-k / 2^-q: a shift, no division;
            // 2^53 * 10^22 stays below 2^126.
            const Wide num = Wide(mantissa) * kPowersOfTen[-k];
            const int shift = -q;
            n = num >> shift;
            const Wide rest = num & ((Wide(1) << shift) - 1);
            const Wide half = Wide(1) << (shift - 1);
            up = rest > half || (rest == half && (n & 1) != 0);
        } else {
            Wide num = mantissa;
            Wide den = 1;
            if (q >= 0) {
                if (q > 70) {
                    return false;
                }
                num <<= q;
            } else {
                if (-q > 120) {
                    return false;
                }
                den <<= -q;
            }
            const int shift = k < 0 ? -k : k;
            if (shift > 38) {
                return false;
            }
            Wide& scaled = k < 0 ? num : den;
            if (scaled > kLimits[shift]) {
                return false;
            }
            scaled *= kPowersOfTen[shift];
            n = num / den;
            const Wide twiceRest = 2 * (num % den);
            up = twiceRest > den || (twiceRest == den && (n & 1) != 0);
        }
        if (up) {
            ++n;
        }
        if (n >= high) {
            ++e10;
        } else if (n < low) {
            --e10;
        } else {
            number = static_cast<unsigned long long>(n);
            exponent = e10;
            return true;
        }
    }
    return false;
}

// Mantissa digits ("d.ddd") of |value| with `digits` significant digits, rounded
// correctly (ties to even on the binary value), then "E", the exponent's sign and
// at least `exponentDigits` digits.
void PutScientific(Field& f, double magnitude, int digits, int exponentDigits) {
    int exponent = 0;
    unsigned long long number = 0;
    if (ExactDigits(magnitude, digits, number, exponent)) {
        char text[24] = {};
        const auto end = std::to_chars(text, text + sizeof text, number).ptr;
        f.Put(text[0]);
        f.Put('.');
        f.Put(text + 1, static_cast<size_t>(end - text - 1));
    } else {
        char buffer[64];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                                          std::chars_format::scientific, digits - 1);
        const char* e = std::find(buffer, result.ptr, 'e');
        f.Put(buffer, static_cast<size_t>(e - buffer));
        if (digits == 1) {
            f.Put('.');
        }
        const char* p = e + 1;
        const bool negative = *p == '-';
        ++p; // to_chars always writes the exponent's sign
        std::from_chars(p, result.ptr, exponent);
        if (negative) {
            exponent = -exponent;
        }
    }
    f.Put('E');
    f.Put(exponent < 0 ? '-' : '+');
    char digitsText[8];
    const auto end = std::to_chars(digitsText, digitsText + sizeof digitsText,
                                   exponent < 0 ? -exponent : exponent)
                         .ptr;
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

void PutPatternScientific(Field& f, double value, int precision) {
    if (precision > 18) {
        precision = 15;
    }
    if (precision < 1) {
        precision = 1;
    }
    if (value == 0) {
        value = 0.0;
    }
    if (value < 0) {
        f.Put('-');
    }
    PutScientific(f, std::fabs(value), precision, 3);
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

namespace {
// The rendering of a pattern into `f`, and the width it asks for.
int RenderPattern(const char* pattern, double value, Field& f) {
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
        const std::string_view word = NonFiniteText(value);
        f.Put(word.data(), word.size());
    } else if (kind == 'e') {
        PutPatternScientific(f, value, precision);
    } else {
        PutFixed(f, value, precision > 360 ? 360 : precision);
    }
    return width;
}
} // namespace

std::string FormatPattern(const char* pattern, double value) {
    Field f;
    const int width = RenderPattern(pattern, value, f);
    return f.Padded(width);
}

void AppendPattern(std::string& out, const char* pattern, double value) {
    Field f;
    const int width = RenderPattern(pattern, value, f);
    f.AppendPadded(out, width);
}

void AppendIntField(std::string& out, long long value, int width) {
    Field f;
    f.Grow(std::to_chars(f.End(), f.End() + 24, value).ptr);
    f.AppendPadded(out, width);
}

} // namespace brekka
