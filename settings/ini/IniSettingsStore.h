// The settings store as an INI file (on Linux `~/.config/Olvanta/Kestrin.conf`), read by QSettings and
// changed line by line.
#pragma once

#include <QString>

#include "settings/SettingsStore.h"

class TIniSettingsStore final : public TSettingsStore {
public:
    explicit TIniSettingsStore(QString path) : Path(std::move(path)) {}

    std::optional<std::string> ReadPopUp() override;
    void WritePopUp(const std::string& text) override;
    std::optional<std::string> ReadNotify() override;

private:
    std::optional<std::string> ReadGeneral(const QString& key) const;

    QString Path;
};
