// The stored numbers and the pop-up flag, read by the number rules of the settings.
#include <gtest/gtest.h>

#include "settings/StoredInteger.h"

namespace {

TEST(StoredInteger, ReadsNumbersAndThePopUpFlagByTheNumberRules) {
    // clang-format off
    const std::pair<const char*, std::int32_t> numbers[] = {
        {"$0000000012", 0x12}, {"2147483647", INT32_MAX}, {"-2147483648", INT32_MIN}, {"0x80000000", INT32_MIN},
        {"$FFFFFFFF", -1}, {"$00000000", 0}, {"0X0", 0}, {"  $0", 0}, {"-0", 0}, {"+0", 0}, {"0", 0}};
    // clang-format on
    for (const auto& [text, value] : numbers) {
        EXPECT_EQ(ParseStoredInteger(text), value) << text;
        EXPECT_EQ(PopUpFromStoredText(text), value != 0) << text;
    }
    // Anything else is no number, and as a stored pop-up flag it reads as on.
    for (const char* text : {"-2147483649", "2147483648", "$100000000", "yes", "", " ", "0 ", "\t0", "$",
                             "0x", "-$1", "1.0", "x0", "+"}) {
        EXPECT_EQ(ParseStoredInteger(text), std::nullopt) << '"' << text << '"';
        EXPECT_TRUE(PopUpFromStoredText(text)) << '"' << text << '"';
    }
    EXPECT_EQ(PopUpToStoredText(true) + PopUpToStoredText(false), "10");
}

}  // namespace
