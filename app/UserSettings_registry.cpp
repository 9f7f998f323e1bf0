// The user's settings in HKEY_CURRENT_USER\Software\Olvanta\Kestrin.
#include <QSettings>

#include "app/UserSettings.h"
#include "settings/registry/RegistrySettingsStore.h"

std::unique_ptr<TSettingsStore> MakeUserSettingsStore() {
    return std::make_unique<TRegistrySettingsStore>();
}

TDesktopSettings ReadDesktopSettings() {
    // The values of the key General, beside PopUp and Notify.
    QSettings registry(QSettings::NativeFormat, QSettings::UserScope, "Olvanta", "Kestrin");
    registry.beginGroup("General");
    return ReadDesktopValues(registry);
}
