// INI backend of the settings store.
#include "settings/ini/IniSettingsStore.h"

#include <QSettings>

#include "settings/ini/FileRewrite.h"
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
    // Not through QSettings, which writes the whole file anew in its own order and encoding and drops every
    // comment of a file the user keeps by hand: only the bytes of the PopUp line change.
    RewriteFile(Path, [&](const QByteArray& contents) {
        return WithIniValue(contents, "General", PopUpKey.toLatin1(), QByteArray::fromStdString(text));
    });
}
