#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <random>
#include <string>

#include "text/NumberFormat.h"

using namespace brekka;

TEST(NumberFormat, PatternScientificUsesSignificantDigitsAndThreeDigitExponent) {
    EXPECT_EQ(FormatPattern("%13.3e", 1234.5), "    1.23E+003");
    EXPECT_EQ(FormatPattern("%13.3e", 0.0), "    0.00E+000");
    EXPECT_EQ(FormatPattern("%13.3e", -0.0), "    0.00E+000");
    EXPECT_EQ(FormatPattern("%12.4e", -0.000123456), " -1.235E-004");
    EXPECT_EQ(FormatPattern("%10.3e", 1e-300), " 1.00E-300");
}

TEST(NumberFormat, RealFieldKeepsSignOfSmallNegativesButNotOfNegativeZero) {
    EXPECT_EQ(RealField(-0.0004, 8, 3), "  -0.000");
    EXPECT_EQ(RealField(-0.0, 8, 3), "   0.000");
    EXPECT_EQ(RealField(12.3456, 10, 2), "     12.35");
    EXPECT_EQ(RealField(123456789.5, 5, 1), "123456789.5");
}

TEST(NumberFormat, IntFieldPadsButNeverCuts) {
    EXPECT_EQ(IntField(7, 5), "    7");
    EXPECT_EQ(IntField(-42, 6), "   -42");
    EXPECT_EQ(IntField(123456, 3), "123456");
    EXPECT_EQ(IntField(-100000, 5), "-100000");
}

// Rounding works on the binary value: 0.125 and 0.375 are exact ties (to even),
// while 2.675 is stored as 2.67499999999999982... and so lies below the tie.
TEST(NumberFormat, RealFieldRoundsTheBinaryValueTiesToEven) {
    EXPECT_EQ(RealField(0.125, 6, 2), "  0.12");
    EXPECT_EQ(RealField(0.375, 6, 2), "  0.38");
    EXPECT_EQ(RealField(-0.125, 6, 2), " -0.12");
    EXPECT_EQ(RealField(2.675, 6, 2), "  2.67");
    EXPECT_EQ(RealField(2.5, 3, 0), "  2");
    EXPECT_EQ(RealField(3.5, 3, 0), "  4");
}

TEST(NumberFormat, RealFieldFallsBackToScientificFrom1E36) {
    EXPECT_EQ(RealField(1e36, 13, 2), " 1.0000E+0036");
    EXPECT_EQ(RealField(-1e36, 12, 3), "-1.000E+0036");
    EXPECT_EQ(RealField(-2.5e40, 10, 2), "-2.5E+0040");
    // Just below the limit the fixed form stays, however long it gets.
    EXPECT_EQ(RealField(1e20, 10, 2), "100000000000000000000.00");
}

TEST(NumberFormat, ScientificFieldDigitsFollowWidth) {
    // Below width 10 two digits, so the field overflows rather than being cut.
    EXPECT_EQ(ScientificField(1234.5, 9), " 1.2E+0003");
    // Width 12: four digits; 1234.5 and 1235.5 are exact ties, rounded to even.
    EXPECT_EQ(ScientificField(1234.5, 12), " 1.234E+0003");
    EXPECT_EQ(ScientificField(-1235.5, 12), "-1.236E+0003");
    // Above width 26 eighteen digits: 0.1 is 0.10000000000000000555... in binary.
    EXPECT_EQ(ScientificField(0.1, 30), "     1.00000000000000006E-0001");
    EXPECT_EQ(ScientificField(9.96, 10), " 1.0E+0001");
}

TEST(NumberFormat, NegativeZeroHasNoSignInAnyRendering) {
    EXPECT_EQ(RealField(-0.0, 6, 2), "  0.00");
    EXPECT_EQ(RealField(-0.0, 3, 0), "  0");
    EXPECT_EQ(ScientificField(-0.0, 10), " 0.0E+0000");
    EXPECT_EQ(FormatPattern("%10.3e", -0.0), " 0.00E+000");
    EXPECT_EQ(FormatPattern("%8.3f", -0.0), "   0.000");
}

TEST(NumberFormat, PatternPrecisionAbove18CountsAs15) {
    // 2/3 is 0.66666666666666662966... in binary.
    EXPECT_EQ(FormatPattern("%25.20e", 2.0 / 3.0), "    6.66666666666667E-001");
    EXPECT_EQ(FormatPattern("%22.18e", 2.0 / 3.0), "6.66666666666666630E-001");
    EXPECT_EQ(FormatPattern("%8.3f", 2.0 / 3.0), "   0.667");
    EXPECT_EQ(FormatPattern("%10.2e", 0.996), "  1.0E+000");
}

namespace {
// The scientific rendering as the standard library spells it, in the files' form.
std::string LibraryScientific(double value, int digits) {
    char buffer[80];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                   std::chars_format::scientific, digits - 1)
                         .ptr;
    std::string text(buffer, end);
    const size_t e = text.find('e');
    std::string mantissa = text.substr(0, e) + (digits == 1 ? "." : "");
    const int exponent = std::stoi(text.substr(e + 1));
    std::string power = std::to_string(std::abs(exponent));
    power.insert(0, power.size() < 3 ? 3 - power.size() : 0, '0');
    return (value < 0 ? "-" : "") + mantissa + (exponent < 0 ? "E-" : "E+") + power;
}
} // namespace

TEST(NumberFormat, ScientificDigitsAgreeWithTheLibraryOnTiesCarriesAndEveryMagnitude) {
    // The renderings round in integer arithmetic where the value allows it; they
    // must give the library's correctly rounded digits everywhere: binary ties
    // (k / 2^j), decimal near-ties, carries into the next power of ten, and
    // magnitudes beyond the integer range where the library takes over.
    std::vector<double> values{0.25,
                               2.5,
                               3.5,
                               0.125,
                               1234.5,
                               9.9995,
                               9.99951,
                               99.95,
                               1e-300,
                               1e300,
                               5e-324,
                               1.7976931348623157e308,
                               123456789012345678.0};
    for (int j = -30; j <= 30; ++j) {
        for (int k = 1; k < 400; k += 7) {
            values.push_back(std::ldexp(k, j));
            values.push_back((k + 0.5) * std::pow(10.0, j));
        }
    }
    std::mt19937_64 generator(99);
    std::uniform_real_distribution<double> exponent(-320, 308);
    for (int i = 0; i < 20000; ++i) {
        values.push_back(std::pow(10.0, exponent(generator)));
    }
    for (double v : values) {
        for (int digits : {1, 2, 3, 4, 5, 8, 15, 17}) {
            const std::string pattern = "%1." + std::to_string(digits) + "e";
            ASSERT_EQ(FormatPattern(pattern.c_str(), -v), LibraryScientific(-v, digits))
                << v << " with " << digits << " digits";
        }
    }
}
