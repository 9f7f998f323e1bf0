// INI backend of the settings store.
#include "settings/ini/IniSettingsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>

#include "settings/ini/IniLines.h"

namespace {

// QSettings keeps keys without a group in the file's [General] section.
const QString PopUpKey = QStringLiteral("PopUp");
const QString NotifyKey = QStringLiteral("Notify");

}  // namespace

std::optional<std::string> TIniSettingsStore::ReadPopUp() {
    return ReadGeneral(PopUpKey);
}

std::optional<std::string> TIniSettingsStore::ReadNotify() {
    return ReadGeneral(NotifyKey);
}

std::optional<std::string> TIniSettingsStore::ReadGeneral(const QString& key) const {
    const QSettings file(Path, QSettings::IniFormat);
    const bool present = file.contains(key);
    if (file.status() != QSettings::NoError) {
        throw TSettingsError("cannot read " + Path.toStdString());
    }
    if (!present) {
        return std::nullopt;
    }
    return file.value(key).toString().toStdString();
}

void TIniSettingsStore::WritePopUp(const std::string& text) {
    // Not through QSettings, which writes the whole file anew in its own order and drops every comment of
    // a file the user keeps by hand. The new text goes to a temporary file renamed over the old one, so a
    // failure at any point leaves the old file whole.
    QByteArray contents;
    if (QFile existing(Path); existing.exists()) {
        if (!existing.open(QIODevice::ReadOnly)) {
            throw TSettingsError("cannot read " + Path.toStdString());
        }
        contents = existing.readAll();
    }
    const QString changed = WithIniValue(QString::fromUtf8(contents), QStringLiteral("General"), PopUpKey,
                                         QString::fromStdString(text));
    QSaveFile file(Path);
    if (!QDir().mkpath(QFileInfo(Path).absolutePath()) || !file.open(QIODevice::WriteOnly) ||
        file.write(changed.toLatin1()) < 0 || !file.commit()) {
        throw TSettingsError("cannot write " + Path.toStdString());
    }
}
