// The user's settings file, which also holds the [Network] section.
#include <QSettings>

#include "app/UserSettings.h"
#include "qtcore/NetworkSettings.h"
#include "settings/ini/IniSettingsStore.h"

std::unique_ptr<TSettingsStore> MakeUserSettingsStore() {
    return std::make_unique<TIniSettingsStore>(DefaultSettingsPath());
}

TDesktopSettings ReadDesktopSettings() {
    // QSettings keeps keys without a group in the file's [General] section.
    const QSettings file(DefaultSettingsPath(), QSettings::IniFormat);
    return ReadDesktopValues(file);
}
