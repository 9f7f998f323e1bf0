// The reading rules of a stored pop-up flag.
#include "StoredInteger.h"

#include <gtest/gtest.h>

namespace {

TEST(StoredInteger, ReadsThePopUpFlagByTheNumberRules) {
    for (const char* text : {"0", "00", " 0", "-0", "+0", "0x0", "0X0", "$0", "$00000000", "  $0"}) {
        EXPECT_FALSE(PopUpFromStoredText(text)) << '"' << text << '"';
    }
    for (const char* text : {"1", "2", "-1", "0x1", "$ff", "yes", "false", "0x", "", " ", "0 ", "$", "-$1", "1.0",
                             "2147483648", "$100000000", "x0", "+", "\t0"}) {
        EXPECT_TRUE(PopUpFromStoredText(text)) << '"' << text << '"';
    }
}

TEST(StoredInteger, ParsesSignedDecimalAndThirtyTwoBitHex) {
    EXPECT_EQ(ParseStoredInteger("-2147483648"), -2147483648LL);
    EXPECT_EQ(ParseStoredInteger("2147483647"), 2147483647);
    EXPECT_FALSE(ParseStoredInteger("-2147483649"));
    EXPECT_EQ(ParseStoredInteger("$FFFFFFFF"), -1);
    EXPECT_EQ(ParseStoredInteger("0x80000000"), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(ParseStoredInteger("$0000000012"), 0x12);  // leading zeros are not significant
    EXPECT_EQ(ParseStoredInteger("  42"), 42);
    EXPECT_EQ(PopUpToStoredText(true), "1");
    EXPECT_EQ(PopUpToStoredText(false), "0");
}

}  // namespace
