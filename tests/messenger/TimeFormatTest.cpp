// Time stamps in the shapes regional settings ask for.
#include <gtest/gtest.h>

#include "TimeFormat.h"

namespace {

TEST(TimeFormat, WritesEveryRegionalShape) {
    const struct {
        const char *Name, *Format, *AmpmFormat, *Am, *Pm;
        int Hour;
        const char* Expected;
    } cases[] = {
        {"24h blank padded", "%k.%M.%S", "", "", "", 9, "9.05.07"},
        {"24h unpadded flag", "%-H:%M:%S", "", "", "", 0, "0:05:07"},
        {"12h via %r", "%r", "%I:%M:%S %p", "AM", "PM", 14, "02:05:07 PM"},
        {"midnight is 12 am", "%I:%M:%S %p", "", "AM", "PM", 0, "12:05:07 AM"},
        {"designator first", "%p %I:%M:%S", "", "\xec\x98\xa4\xec\xa0\x84", "PMX", 13, "PMX 01:05:07"},
        {"empty designators", "%I:%M:%S %p", "", "", "", 23, "11:05:07 pm"},
        {"trailing percent", "%H:%M:%", "", "", "", 9, "09:05:07"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TTimeFormat::FromStrftime(c.Format, c.AmpmFormat, c.Am, c.Pm).Format(c.Hour, 5, 7),
                  c.Expected)
            << c.Name;
}

}  // namespace
