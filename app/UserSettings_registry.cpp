// The user's settings in HKEY_CURRENT_USER\Software\Olvanta\Kestrin.
#include "app/UserSettings.h"
#include "settings/registry/RegistrySettingsStore.h"

std::unique_ptr<TSettingsStore> MakeUserSettingsStore() {
    return std::make_unique<TRegistrySettingsStore>();
}
