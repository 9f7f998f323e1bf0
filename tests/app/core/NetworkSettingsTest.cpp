// Reading [Network] from the settings file: defaults, valid values, and fallbacks that say why.
#include "NetworkSettings.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace {

QString WriteSettings(const QTemporaryDir& dir, const QByteArray& text) {
    const QString path = dir.filePath("Kestrin.conf");
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(text);
    return path;
}

TEST(NetworkSettings, MissingFileGivesTheDefaults) {
    QTemporaryDir dir;
    const auto read = ReadNetworkSettings(dir.filePath("absent.conf"));
    EXPECT_TRUE(read.Problems.isEmpty());
    EXPECT_EQ(read.Settings.Port, 138);
    EXPECT_EQ(read.Settings.NameServicePort, 137);
    EXPECT_EQ(read.Settings.Workgroup, "WORKGROUP");
    EXPECT_TRUE(read.Settings.Interfaces.empty());
    EXPECT_EQ(read.Settings.BindAddress, "0.0.0.0");
}

TEST(NetworkSettings, ReadsEveryValue) {
    QTemporaryDir dir;
    const auto read = ReadNetworkSettings(WriteSettings(dir,
                                                        "[General]\nPopUp=1\n[Network]\nPort=11138\nNameServicePort=0\n"
                                                        "Workgroup=OFFICE\nInterfaces=eth0, wlan0\n"
                                                        "BindAddress=10.0.0.5\n"));
    EXPECT_TRUE(read.Problems.isEmpty()) << read.Problems.join("; ").toStdString();
    EXPECT_EQ(read.Settings.Port, 11138);
    EXPECT_EQ(read.Settings.NameServicePort, 0);
    EXPECT_EQ(read.Settings.Workgroup, "OFFICE");
    EXPECT_EQ(read.Settings.Interfaces, (std::vector<std::string>{"eth0", "wlan0"}));
    EXPECT_EQ(read.Settings.BindAddress, "10.0.0.5");

    const auto single = ReadNetworkSettings(WriteSettings(dir, "[Network]\nInterfaces=eth1\n"));
    EXPECT_EQ(single.Settings.Interfaces, (std::vector<std::string>{"eth1"}));
}

TEST(NetworkSettings, FallsBackValueByValueAndSaysWhy) {
    QTemporaryDir dir;
    const auto read = ReadNetworkSettings(WriteSettings(
        dir, "[Network]\nPort=0\nNameServicePort=70000\nWorkgroup=A-WORKGROUP-NAME-TOO-LONG\nBindAddress=::1\n"));
    EXPECT_EQ(read.Problems.size(), 4);
    EXPECT_EQ(read.Settings.Port, 138);
    EXPECT_EQ(read.Settings.NameServicePort, 137);
    EXPECT_EQ(read.Settings.Workgroup, "WORKGROUP");
    EXPECT_EQ(read.Settings.BindAddress, "0.0.0.0");

    const auto words = ReadNetworkSettings(WriteSettings(dir, "[Network]\nPort=port\n"));
    ASSERT_EQ(words.Problems.size(), 1);
    EXPECT_TRUE(words.Problems.front().contains("Network/Port"));
}

}  // namespace
