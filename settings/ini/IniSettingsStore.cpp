// INI backend of the settings store.
#include "settings/ini/IniSettingsStore.h"

#include <QSettings>

namespace {

// QSettings keeps keys without a group in the file's [General] section.
const QString PopUpKey = QStringLiteral("PopUp");

}  // namespace

std::optional<std::string> TIniSettingsStore::ReadPopUp() {
    const QSettings file(Path, QSettings::IniFormat);
    const bool present = file.contains(PopUpKey);
    if (file.status() != QSettings::NoError) {
        throw TSettingsError("cannot read " + Path.toStdString());
    }
    if (!present) {
        return std::nullopt;
    }
    return file.value(PopUpKey).toString().toStdString();
}

void TIniSettingsStore::WritePopUp(const std::string& text) {
    QSettings file(Path, QSettings::IniFormat);
    file.setValue(PopUpKey, QString::fromStdString(text));
    file.sync();
    if (file.status() != QSettings::NoError) {
        throw TSettingsError("cannot write " + Path.toStdString());
    }
}
