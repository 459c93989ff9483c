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
