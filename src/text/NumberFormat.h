#pragma once
// The number renderings every Brekka file uses. The files are read back by
// character position, so these functions never cut a field and always use "."
// as decimal point, whatever the locale of the process.
#include <string>

namespace brekka {

// Decimal digits with a leading "-" when negative, right-aligned in `width`.
std::string IntField(long long value, int width);

// Fixed-point with `decimals` decimals, right-aligned in `width`. A negative value
// keeps its "-" even when it rounds to zero ("-0.000"); negative zero has no sign.
// Magnitudes of 1E36 and more fall back to ScientificField.
std::string RealField(double value, int width, int decimals);

// Scientific form of a real field without decimals: a sign character (blank or
// "-"), g significant digits and a four-digit exponent, with g = width - 8 for
// widths 10..26, 2 below 10 and 18 above 26.
std::string ScientificField(double value, int width);

// printf-like patterns "%w.pe" (p significant digits, exponent of at least three
// digits, "E") and "%w.pf" (fixed-point). A precision above 18 counts as 15.
std::string FormatPattern(const char* pattern, double value);

// The same appended to `out`, for the long tables of the reports.
void AppendPattern(std::string& out, const char* pattern, double value);
void AppendIntField(std::string& out, long long value, int width);

} // namespace brekka
