#include <gtest/gtest.h>

#include "common/FormatDouble.h"

TEST(FormatDouble, DropsTrailingZerosOfTwoDecimals)
{
    EXPECT_EQ(FormatDouble(2.0), QStringLiteral("2"));
    EXPECT_EQ(FormatDouble(1.5), QStringLiteral("1.5"));
    EXPECT_EQ(FormatDouble(1.25), QStringLiteral("1.25"));
    EXPECT_EQ(FormatDouble(0.0), QStringLiteral("0"));
    EXPECT_EQ(FormatDouble(-1.0), QStringLiteral("-1"));
    EXPECT_EQ(FormatDouble(0.05), QStringLiteral("0.05"));
    EXPECT_EQ(FormatDouble(10.10), QStringLiteral("10.1"));
    EXPECT_EQ(FormatDouble(100.0), QStringLiteral("100"));
    EXPECT_EQ(FormatDouble(12.345), QStringLiteral("12.35"));
    EXPECT_EQ(FormatDouble(1e300).size(), 301);  // printed in full, not cut
}

TEST(FormatDouble, ExactHalvesRoundAsTheCLibraryRounds)
{
    // 0.125 and 12.125 are exact in binary: the tie goes to the even digit.
    EXPECT_EQ(FormatDouble(0.125), QStringLiteral("0.12"));
    EXPECT_EQ(FormatDouble(12.125), QStringLiteral("12.12"));
    EXPECT_EQ(FormatDouble(-0.375), QStringLiteral("-0.38"));
    EXPECT_EQ(FormatDouble(2.675), QStringLiteral("2.67"));  // stored just below the half
}
