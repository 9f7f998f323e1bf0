// The user's settings file, which also holds the [Network] section.
#include "app/UserSettings.h"
#include "qtcore/NetworkSettings.h"
#include "settings/ini/IniSettingsStore.h"

std::unique_ptr<TSettingsStore> MakeUserSettingsStore() {
    return std::make_unique<TIniSettingsStore>(DefaultSettingsPath());
}
