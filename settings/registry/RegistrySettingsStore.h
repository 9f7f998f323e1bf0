// The settings store in the current user's registry: HKEY_CURRENT_USER\Software\Olvanta\Kestrin\General.
#pragma once

#include "settings/SettingsStore.h"

class TRegistrySettingsStore final : public TSettingsStore {
public:
    std::optional<std::string> ReadPopUp() override;
    void WritePopUp(const std::string& text) override;
    std::optional<std::string> ReadNotify() override;
};
