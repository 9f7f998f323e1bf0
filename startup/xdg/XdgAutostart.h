// Start at logon on Linux: the machine-wide XDG autostart entry Kestrin.desktop.
#pragma once

#include <QByteArray>
#include <QString>

#include "startup/StartupRegistration.h"

/// The autostart folder of the first absolute entry of `configDirs` (a value of $XDG_CONFIG_DIRS), else of
/// /etc/xdg.
QString AutostartFolderFor(const QByteArray& configDirs);

/// The entry Kestrin.desktop in one autostart folder; the folder is made when the first entry is written.
class TXdgAutostart final : public TStartupRegistration {
public:
    explicit TXdgAutostart(QString folder);

    void Register(const std::string& programPath) override;
    void Unregister() override;
    bool IsRegistered() override;

    /// Where the entry is or would be.
    QString EntryPath() const;

private:
    QString Folder;
};
