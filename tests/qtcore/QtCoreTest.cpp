// The Qt side both programs share: the settings file's [Network] values and their fallbacks, and the office's
// code page.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include "messenger/transport/udp/UdpSettingsCheck.h"
#include "qtcore/NetworkBackend.h"
#include "qtcore/NetworkSettings.h"
#include "tests/support/WireTextRows.h"

namespace {

auto Values(const TUdpSettings& s) {
    return std::tie(s.Port, s.NameServicePort, s.Workgroup, s.Interfaces, s.BindAddress, s.MaxMessageBytes);
}

TEST(NetworkSettings, ReadsEachValueOrFallsBackToItsDefaultAndSaysWhy) {
    // What, the file, the settings read, the setting each problem names (or what it says in full).
    const std::tuple<const char*, QByteArray, TUdpSettings, QStringList> rows[] = {
        // The longest message: what one UDP datagram carries to \MAILSLOT\MB303, 65,507 bytes less 167 of
        // headers and names.
        {"every value",
         "[Network]\nPort=11138\nNameServicePort=0\nWorkgroup=OFFICE\nInterfaces=lo, eth9\n"
         "BindAddress=10.0.0.5\nMaxMessageBytes=65340\n",
         {11138, 0, "OFFICE", {"lo", "eth9"}, "10.0.0.5", 65340},
         {"\"eth9\""}},  // kept, but said: this computer has no such interface
        {"every value unusable",
         "[Network]\nPort=0\nNameServicePort=70000\nWorkgroup=A-WORKGROUP-NAME-TOO-LONG\nBindAddress=::1\n"
         "MaxMessageBytes=65341\n",
         {},
         {R"(Network/Port = "0" is not a port number; using 138)",
          R"(Network/NameServicePort = "70000" is not a port number; using 137)",
          R"(Network/Workgroup = "A-WORKGROUP-NAME-TOO-LONG" is not a workgroup name; using WORKGROUP)",
          R"(Network/BindAddress = "::1" is not an IPv4 address; using 0.0.0.0)",
          R"(Network/MaxMessageBytes = "65341" is not a number from 424 to 65340; using 424)"}},
        {"a word for a port", "[Network]\nPort=port\n", {}, {"Network/Port"}},
        {"a lower limit", "[Network]\nMaxMessageBytes=423\n", {}, {"Network/MaxMessageBytes"}},
        // A computer name is reported unless NetBIOS can carry it: 1 to 15 bytes, no forbidden character.
        {"a computer name", "[Network]\nComputerName=acct-08\n", {}, {}},
        {"a computer name with a *", "[Network]\nComputerName=PC*7\n", {}, {"Network/ComputerName"}},
        {"a code page unknown here", "[Network]\nEncoding=koi8-r\n", {}, {"Network/Encoding"}},
    };
    for (const auto& [name, text, settings, problems] : rows) {
        QTemporaryDir dir;
        QFile file(dir.filePath("Kestrin.conf"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(text) == text.size());
        file.close();
        // The transport's values as it checks them; the problems as the network's set-up tells them.
        EXPECT_EQ(Values(ValidateUdpSettings(ReadNetworkSettings(file.fileName()).Network).Settings),
                  Values(settings))
            << name;
        const QStringList found = SetUpNetwork(file.fileName()).Problems;
        ASSERT_EQ(found.size(), problems.size()) << name;
        for (qsizetype i = 0; i < problems.size(); ++i)
            EXPECT_TRUE(found[i].contains(problems[i])) << found[i].toStdString();
    }
    // The most MaxMessageBytes may be raised to is the longest memo any computer takes, which the console
    // reads no further than.
    const QTemporaryDir none;
    EXPECT_EQ(SetUpNetwork(none.filePath("Kestrin.conf")).Backend->LongestMemoBytes("MB303"), 65'340u);
}

// The office's code page: chosen by the locale's language, read and written by the UTF-8 rule.
TEST(WireText, TakesTheLocalesAnsiCodePageAndReadsUtf8WithAMultiByteSequenceElseTheCodePage) {
    // "LC_ALL|LC_CTYPE|LANG": LC_ALL first, then LC_CTYPE, then LANG; an empty one counts as unset.
    // clang-format off
    const std::pair<const char*, const char*> locales[] = {
        {"||ru_RU.UTF-8", "windows-1251"}, {"||cs_CZ", "windows-1250"},
        {"||sr_RS.UTF-8@latin", "windows-1250"}, {"||el_GR.UTF-8", "windows-1253"},
        {"||az_AZ", "windows-1254"}, {"||he_IL", "windows-1255"}, {"||fa_IR", "windows-1256"},
        {"||lv_LV", "windows-1257"}, {"||vi_VN", "windows-1258"}, {"||th_TH", "windows-874"},
        {"||ja_JP.eucJP", "windows-932"}, {"||zh_SG", "windows-936"}, {"||ko_KR", "windows-949"},
        {"||zh_HK.UTF-8", "windows-950"}, {"||de_DE", "windows-1252"}, {"||", "windows-1252"},
        {"ja_JP.UTF-8|ru_RU.UTF-8|el_GR.UTF-8", "windows-932"}, {"|ru_RU.UTF-8|el_GR.UTF-8", "windows-1251"}};
    // clang-format on
    for (const auto& [locale, codePage] : locales) {
        QProcessEnvironment environment;
        for (int i = 0; i < 3; ++i)
            environment.insert(QStringList{"LC_ALL", "LC_CTYPE", "LANG"}[i],
                               QString(locale).section('|', i, i));
        EXPECT_EQ(TWireText::ForLocale(environment).Name(), codePage) << locale;
    }
    const TWireTextRow texts[] = {
        {"Russian Windows", "cp1251", "\xcf\xf0\xe8\xe2\xe5\xf2", "Привет", "\xcf\xf0\xe8\xe2\xe5\xf2"},
        {"Western Windows", "windows-1252", "caf\xe9 \x80", "café €", "caf\xe9 \x80"},
        {"Japanese Windows", "WINDOWS-932", "\x93\xfa\x96\x7b", "日本", "\x93\xfa\x96\x7b"},
        {"UTF-8 from Linux", "windows-1251", "\xd0\x9f\xd1\x80\xd0\xb8", "При", "\xcf\xf0\xe8"},
        {"beyond the code page", "windows-1251", "caf\xc3\xa9", "café", "caf\xc3\xa9"},
        {"a byte the code page lacks", "windows-1252", "\x81", "\u0081", "\xc2\x81"},
        {"a UTF-8 office", "utf8", "caf\xe9", "café", "caf\xc3\xa9"},
    };
    ExpectWireTextRows(texts);
}

}  // namespace
