// Reading the settings file: the pop-up flag's number rules, the [Network] values and their fallbacks.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "qtcore/NetworkSettings.h"
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

auto Values(const TUdpSettings& s) {
    return std::tie(s.Port, s.NameServicePort, s.Workgroup, s.Interfaces, s.BindAddress);
}

TEST(NetworkSettings, ReadsEachValueOrFallsBackToItsDefaultAndSaysWhy) {
    const struct {
        const char* Name;
        QByteArray Text;
        TUdpSettings Read;
        QStringList Problems;  // the setting each problem names
    } rows[] = {
        {"every value",
         "[Network]\nPort=11138\nNameServicePort=0\nWorkgroup=OFFICE\nInterfaces=eth0, wlan0\n"
         "BindAddress=10.0.0.5\n",
         {11138, 0, "OFFICE", {"eth0", "wlan0"}, "10.0.0.5"},
         {}},
        {"every value unusable",
         "[Network]\nPort=0\nNameServicePort=70000\nWorkgroup=A-WORKGROUP-NAME-TOO-LONG\nBindAddress=::1\n",
         {},
         {"Network/Port", "Network/NameServicePort", "Network/Workgroup", "Network/BindAddress"}},
        {"a word for a port", "[Network]\nPort=port\n", {}, {"Network/Port"}},
        // A computer name is reported unless NetBIOS can carry it: 1 to 15 bytes, no forbidden character.
        {"a computer name", "[Network]\nComputerName=acct-08\n", {}, {}},
        {"a computer name of 16 bytes",
         "[Network]\nComputerName=ABCDEFGHIJKLMN\xc3\xa9\n",
         {},
         {"Network/ComputerName"}},
        {"a computer name with a *", "[Network]\nComputerName=PC*7\n", {}, {"Network/ComputerName"}},
    };
    for (const auto& row : rows) {
        QTemporaryDir dir;
        QFile file(dir.filePath("Kestrin.conf"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(row.Text) == row.Text.size());
        file.close();
        const auto read = ReadNetworkSettings(file.fileName());
        EXPECT_EQ(Values(read.Settings), Values(row.Read)) << row.Name;
        ASSERT_EQ(read.Problems.size(), row.Problems.size()) << row.Name;
        for (qsizetype i = 0; i < row.Problems.size(); ++i) {
            EXPECT_TRUE(read.Problems[i].contains(row.Problems[i])) << read.Problems[i].toStdString();
        }
    }
}

}  // namespace
