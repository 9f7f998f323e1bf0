// The XDG autostart entry: written whole or not at all, removed, and looked for.
#include "startup/xdg/XdgAutostart.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <utility>

#include "startup/xdg/DesktopEntry.h"

QString AutostartFolderFor(const QByteArray& configDirs) {
    // Relative entries are invalid in the variable; readers of it pass over them, and so do we.
    for (const QByteArray& entry : configDirs.split(':')) {
        const QString folder = QFile::decodeName(entry);
        if (QDir::isAbsolutePath(folder)) {
            return QDir::cleanPath(folder + "/autostart");
        }
    }
    return "/etc/xdg/autostart";
}

TXdgAutostart::TXdgAutostart(QString folder) : Folder(std::move(folder)) {}

QString TXdgAutostart::EntryPath() const {
    return Folder + "/Kestrin.desktop";
}

// Every failure here is the file system's answer (no right to the folder, a folder that cannot be made) and,
// like a registry result code, reaches nobody: the next look at the entry shows what is really stored.
void TXdgAutostart::Register(const std::string& programPath) {
    if (!QDir().mkpath(Folder)) {
        return;
    }
    // Written beside the old entry and renamed over it, so a session starting meanwhile reads a whole one.
    // Unbuffered, so that a write the disk refuses (full, or over a size limit) fails here, and the
    // uncommitted file is dropped instead of replacing a whole entry with a short one.
    QSaveFile file(EntryPath());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        return;
    }
    const std::string text = DesktopEntryText(programPath);
    if (file.write(text.data(), static_cast<qint64>(text.size())) != static_cast<qint64>(text.size()) ||
        !file.commit()) {
        return;
    }
    // Readable by every user whatever the administrator's umask, or it would start nothing for them.
    QFile::setPermissions(EntryPath(),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
}

void TXdgAutostart::Unregister() {
    QFile::remove(EntryPath());
}

bool TXdgAutostart::IsRegistered() {
    // Only a regular file is opened: a FIFO of that name would hold the opening until someone wrote to it.
    QFile file(EntryPath());
    return QFileInfo(file).isFile() && file.open(QIODevice::ReadOnly);
}

std::unique_ptr<TStartupRegistration> MakeStartupRegistration() {
    return std::make_unique<TXdgAutostart>(AutostartFolderFor(qgetenv("XDG_CONFIG_DIRS")));
}

std::string RunningProgramPath() {
    return QFile::encodeName(QCoreApplication::applicationFilePath()).toStdString();
}
