// [Network]: the ports, workgroup, interfaces, address, longest message, code page, computer name.
#include "qtcore/NetworkSettings.h"

#include <QSettings>
#include <QStandardPaths>
#include <cmath>

#include "messenger/AsciiText.h"
#include "messenger/MailslotTransport.h"
#include "messenger/SystemServices.h"
#include "messenger/transport/udp/MailslotDatagram.h"
#include "messenger/transport/udp/NetbiosName.h"
#include "messenger/transport/udp/NetworkInterfaces.h"

namespace {

// A whole number from `lowest` to `highest`, else the fallback and a sentence saying that the value is not
// `what`.
template <typename TNumber>
TNumber ReadNumber(const QSettings& file, const QString& key, TNumber fallback, qlonglong lowest,
                   qlonglong highest, const QString& what, QStringList& problems) {
    if (!file.contains(key)) {
        return fallback;
    }
    bool ok = false;
    const qlonglong value = file.value(key).toString().trimmed().toLongLong(&ok);
    if (!ok || value < lowest || value > highest) {
        problems << QStringLiteral("%1 = \"%2\" is not %3; using %4")
                        .arg(key, file.value(key).toString(), what)
                        .arg(fallback);
        return fallback;
    }
    return static_cast<TNumber>(value);
}

std::uint16_t ReadPort(const QSettings& file, const QString& key, std::uint16_t fallback, int lowest,
                       QStringList& problems) {
    return ReadNumber(file, key, fallback, lowest, 65535, QStringLiteral("a port number"), problems);
}

}  // namespace

QString DefaultSettingsPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/Olvanta/Kestrin.conf";
}

TNetworkSettingsRead ReadNetworkSettings(const QString& settingsPath) {
    TNetworkSettingsRead read;
    TUdpSettings& settings = read.Settings;
    const QSettings file(settingsPath, QSettings::IniFormat);

    settings.Port = ReadPort(file, "Network/Port", settings.Port, 1, read.Problems);
    settings.NameServicePort =
        ReadPort(file, "Network/NameServicePort", settings.NameServicePort, 0, read.Problems);

    const QString workgroup =
        file.value("Network/Workgroup", QString::fromStdString(settings.Workgroup)).toString();
    if (workgroup.trimmed().isEmpty() || workgroup.size() > 15 || workgroup.contains('\\')) {
        read.Problems << QStringLiteral("Network/Workgroup = \"%1\" is not a workgroup name; using %2")
                             .arg(workgroup, QString::fromStdString(settings.Workgroup));
    } else {
        settings.Workgroup = workgroup.trimmed().toStdString();
    }

    // QSettings reads "eth0, wlan0" as a list already; a single name arrives as a plain string.
    for (const QString& name : file.value("Network/Interfaces").toStringList()) {
        if (!name.trimmed().isEmpty()) {
            settings.Interfaces.push_back(name.trimmed().toStdString());
        }
    }
    // Kept, since the interface may come later (a VPN, a dock), but said: a mistyped name would otherwise
    // leave the copy sending and hearing nothing without a word.
    for (const std::string& name : settings.Interfaces) {
        if (!InterfaceExists(name)) {
            read.Problems << QStringLiteral("Network/Interfaces: this computer has no interface \"%1\" now; nothing "
                                            "is sent or heard on it")
                                 .arg(QString::fromStdString(name));
        }
    }

    const QString bindAddress =
        file.value("Network/BindAddress", QString::fromStdString(settings.BindAddress)).toString();
    if (!ParseIpv4(bindAddress.trimmed().toStdString())) {
        read.Problems << QStringLiteral("Network/BindAddress = \"%1\" is not an IPv4 address; using %2")
                             .arg(bindAddress, QString::fromStdString(settings.BindAddress));
    } else {
        settings.BindAddress = bindAddress.trimmed().toStdString();
    }

    // Only a lift: below what Windows takes, memos the whole office could read would be refused. Above what
    // one datagram to the office's mailbox MB303 carries, nothing could be sent.
    const auto most = static_cast<qlonglong>(MaxMailslotDataSize(MailslotWireName("MB303").size()));
    const auto least = static_cast<qlonglong>(WindowsMaxMessageSize);
    settings.MaxMessageBytes =
        ReadNumber(file, "Network/MaxMessageBytes", settings.MaxMessageBytes, least, most,
                   QStringLiteral("a number from %1 to %2").arg(least).arg(most), read.Problems);

    // Minutes, with a fraction for a short round (0.5: every 30 s), up to a day; 0 turns the rounds off.
    if (file.contains("Network/RefreshMinutes")) {
        bool ok = false;
        const QString text = file.value("Network/RefreshMinutes").toString();
        const double minutes = text.trimmed().toDouble(&ok);
        if (ok && minutes >= 0 && minutes <= 1440) {
            read.Refresh = std::chrono::milliseconds(std::llround(minutes * 60'000));
        } else {
            read.Problems << QStringLiteral("Network/RefreshMinutes = \"%1\" is not a number of minutes from 0 to "
                                            "1440; using %2")
                                 .arg(text)
                                 .arg(std::chrono::duration<double, std::ratio<60>>(read.Refresh).count());
        }
    }

    read.Text = TWireText::ForLocale(QProcessEnvironment::systemEnvironment());
    if (file.contains("Network/Encoding")) {
        const QString encoding = file.value("Network/Encoding").toString();
        if (const auto chosen = TWireText::ForName(encoding)) {
            read.Text = *chosen;
        } else {
            read.Problems << QStringLiteral(
                                 "Network/Encoding = \"%1\" is not a code page known here; using %2")
                                 .arg(encoding, read.Text.Name());
        }
    }

    // ComputerName replaces the name derived from the host name, in the upper case Windows gives it.
    if (file.contains("Network/ComputerName")) {
        const QString name = file.value("Network/ComputerName").toString();
        if (IsValidComputerName(name.trimmed().toStdString())) {
            read.ComputerName = ToUpperAscii(name.trimmed().toStdString());
        } else {
            read.Problems << QStringLiteral(
                                 "Network/ComputerName = \"%1\" is not a computer name (1 to 15 bytes, "
                                 "none of \\ / : * ? \" < > |); using %2")
                                 .arg(name, QString::fromStdString(MakeLocalSystem()->ComputerName()));
        }
    }
    return read;
}
