#include <gtest/gtest.h>

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
