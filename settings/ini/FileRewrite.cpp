// Locked, atomic rewrite of a file. Not with QSaveFile: its commit renames a file whose buffered write
// failed (a full disk left an empty settings file), and the random names of the temporary files it leaves
// when killed cannot be told from a user's copy such as `Kestrin.conf.backup`.
#include "settings/ini/FileRewrite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QScopeGuard>
#include <filesystem>
#include <system_error>

#include "settings/SettingsStore.h"
#include "settings/ini/ReplacementFile.h"

namespace {

// Another copy's save takes milliseconds. A lock left by a killed copy on this computer is taken over at
// once, one from another computer sharing the folder after QLockFile's 30 s.
constexpr int LockWaitMs = 5000;

[[noreturn]] void Fail(const char* what, const QString& path) {
    throw TSettingsError("cannot " + std::string(what) + ' ' + path.toStdString());
}

QString FileBehind(const QString& path) {
    const QFileInfo info(path);
    if (!info.isSymLink()) {
        return path;
    }
    const QString target = info.canonicalFilePath();
    return target.isEmpty() ? info.symLinkTarget() : target;  // a link to a file not made yet
}

QByteArray CurrentBytes(const QString& path) {
    QFile file(path);
    if (!file.exists()) {
        return {};
    }
    if (!file.open(QIODevice::ReadOnly)) {
        Fail("read", path);
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        Fail("read", path);
    }
    return bytes;
}

void WriteReplacement(const QString& path, const QByteArray& bytes, const QString& original) {
    QFile file(path);
    // Unbuffered, so that the write returns what the system did, not what went into a buffer.
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered) ||
        file.write(bytes) != bytes.size() || !TakeOwnerAndMode(file, original) || !SyncToDisk(file)) {
        Fail("write", path);
    }
    file.close();
    if (file.error() != QFileDevice::NoError) {
        Fail("write", path);
    }
}

}  // namespace

void RewriteFile(const QString& path, const std::function<QByteArray(const QByteArray&)>& change) {
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        Fail("make the folder of", path);
    }
    QLockFile lock(path + QStringLiteral(".lock"));
    if (!lock.tryLock(LockWaitMs)) {
        Fail("lock", path);
    }
    const QString target = FileBehind(path);
    // A read-only file is refused as writing into it would be (root may write any file, and its save keeps
    // the mode).
    if (const QFileInfo existing(target); existing.exists() && !existing.isWritable()) {
        Fail("write to the read-only", target);
    }
    // No other save is under way while this one holds the lock: a replacement file still there was left
    // by a save that was killed.
    const QString replacement = target + QStringLiteral(".saving");
    if (!QFile::remove(replacement) && QFileInfo::exists(replacement)) {
        Fail("remove", replacement);
    }
    const QByteArray bytes = change(CurrentBytes(target));
    auto removeReplacement = qScopeGuard([&] { QFile::remove(replacement); });
    WriteReplacement(replacement, bytes, target);
    std::error_code error;
    std::filesystem::rename(QFileInfo(replacement).filesystemFilePath(),
                            QFileInfo(target).filesystemFilePath(), error);
    if (error) {
        Fail("replace", target);
    }
    removeReplacement.dismiss();
}
