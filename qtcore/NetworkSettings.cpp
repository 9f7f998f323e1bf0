// [Network]: every value as written, and the programs' own: code page, computer name, announcement rounds.
#include "qtcore/NetworkSettings.h"

#include <QCoreApplication>
#include <QSettings>
#include <QStandardPaths>
#include <cmath>

#include "messenger/AsciiText.h"
#include "messenger/ComputerName.h"
#include "messenger/SystemServices.h"

QString DefaultSettingsPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/Olvanta/Kestrin.conf";
}

TNetworkSettingsRead ReadNetworkSettings(const QString& settingsPath) {
    TNetworkSettingsRead read;
    QSettings file(settingsPath, QSettings::IniFormat);

    file.beginGroup("Network");
    for (const QString& key : file.childKeys()) {
        // QSettings reads "eth0, wlan0" as a list already; the transport reads its lists itself.
        const QVariant value = file.value(key);
        read.Network[key.toStdString()] =
            (value.typeId() == QMetaType::QStringList ? value.toStringList().join(',') : value.toString())
                .toStdString();
    }
    file.endGroup();

    // Minutes, with a fraction for a short round (0.5: every 30 s), up to a day; 0 turns the rounds off.
    if (file.contains("Network/RefreshMinutes")) {
        bool ok = false;
        const QString text = file.value("Network/RefreshMinutes").toString();
        const double minutes = text.trimmed().toDouble(&ok);
        if (ok && minutes >= 0 && minutes <= 1440) {
            read.Refresh = std::chrono::milliseconds(std::llround(minutes * 60'000));
        } else {
            read.Problems << QCoreApplication::translate(
                                 "NetworkSettings",
                                 "Network/RefreshMinutes = \"%1\" is not a number of minutes "
                                 "from 0 to 1440; using %2")
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
            read.Problems << QCoreApplication::translate(
                                 "NetworkSettings",
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
            read.Problems << QCoreApplication::translate(
                                 "NetworkSettings",
                                 "Network/ComputerName = \"%1\" is not a computer name (1 "
                                 "to 15 bytes, none of \\ / : * ? \" < > |); using %2")
                                 .arg(name, QString::fromStdString(MakeLocalSystem()->ComputerName()));
        }
    }
    return read;
}
