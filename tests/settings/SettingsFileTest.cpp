// Saving the settings file: only the PopUp line's bytes change, a failed save leaves the old file, writers
// take turns, and a killed save's leftovers, the owner and the mode are taken care of.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <csignal>
#include <thread>

#include "settings/ini/IniSettingsStore.h"

namespace {

std::string Read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : "(unreadable)";
}

bool Write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

/// Waits for a forked child; true when it exited with 0.
bool Succeeded(pid_t child) {
    int status = -1;
    return waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

struct TSettingsFile {
    QTemporaryDir Dir;
    QString Path = Dir.filePath("Kestrin.conf");
    TIniSettingsStore Store{Path};
};

TEST(SettingsFile, ASaveChangesOnlyThePopUpLineWhateverTheEncoding) {
    const std::tuple<const char*, QByteArray, QByteArray> rows[] = {
        {"a BOM, blanks and CR LF", "\xEF\xBB\xBF[General]\r\nPopUp = 1\r\nX=2\r\n",
         "\xEF\xBB\xBF[General]\r\nPopUp = 0\r\nX=2\r\n"},
        // Bytes that are no UTF-8 come back as they were, and so does UTF-8.
        {"Latin-1, windows-1251 and UTF-8 bytes",
         "; caf\xe9 Офис €\n[General]\nPopUp=1\nNotify=0\n\n[Network]\nWorkgroup=\xce\xf4\xe8\xf1\n",
         "; caf\xe9 Офис €\n[General]\nPopUp=0\nNotify=0\n\n[Network]\nWorkgroup=\xce\xf4\xe8\xf1\n"},
        {"no key: after the section's last value", "[General]\nA=1\n\n[Network]\nPopUp=1\n",
         "[General]\nA=1\nPopUp=0\n\n[Network]\nPopUp=1\n"},
        {"no section: first, after the BOM", "\xEF\xBB\xBF[Network]\r\nPort=138",
         "\xEF\xBB\xBF[General]\r\nPopUp=0\r\n\r\n[Network]\r\nPort=138"},
        {"no file", {}, "[General]\nPopUp=0\n"}};
    for (const auto& [label, before, after] : rows) {
        TSettingsFile file;
        ASSERT_TRUE(before.isEmpty() || Write(file.Path, before));
        file.Store.WritePopUp("0");
        EXPECT_EQ(Read(file.Path), after.toStdString()) << label;
    }
}

TEST(SettingsFile, AFailedSaveThrowsAndLeavesTheOldFileWhole) {
    // A file-size limit as a full disk: at 0 bytes not even the lock is written, at 1 KiB the lock is and
    // the new file only in part.
    for (const rlim_t limit : {rlim_t{0}, rlim_t{1024}}) {
        TSettingsFile file;
        const QByteArray old = "; " + QByteArray(4000, 'x') + "\n[General]\nPopUp=1\n";
        ASSERT_TRUE(Write(file.Path, old));
        if (const pid_t child = fork(); child == 0) {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit small{limit, RLIM_INFINITY};
            setrlimit(RLIMIT_FSIZE, &small);
            try {
                file.Store.WritePopUp("0");
            } catch (const TSettingsError&) {
                _exit(0);
            }
            _exit(1);
        } else {
            EXPECT_TRUE(Succeeded(child)) << "no error under a limit of " << limit;
        }
        EXPECT_EQ(Read(file.Path), old.toStdString()) << limit;
    }
}

TEST(SettingsFile, WritersTakeTurnsSoNoOtherSaveIsLost) {
    TSettingsFile file;
    ASSERT_TRUE(Write(file.Path, "[General]\nPopUp=1\n\n[Network]\nWorkgroup=OFFICE\n"));
    const auto save = [&](const char* value) {
        TIniSettingsStore store(file.Path);
        for (int i = 0; i < 40; ++i)
            EXPECT_NO_THROW(store.WritePopUp(value));
    };
    std::thread first(save, "0"), second(save, "1");
    // QSettings takes the same lock beside the file for its saves.
    QSettings other(file.Path, QSettings::IniFormat);
    for (int i = 0; i < 20; ++i) {
        other.setValue(QStringLiteral("Network/Added%1").arg(i), i);
        other.sync();
    }
    first.join();
    second.join();
    const QString saved = QString::fromStdString(Read(file.Path));
    for (int i = 0; i < 20; ++i)
        EXPECT_TRUE(saved.contains(QStringLiteral("\nAdded%1=%1\n").arg(i))) << "lost: Added" << i;
    EXPECT_TRUE(saved.contains("\nWorkgroup=OFFICE\n") &&
                saved.contains(QRegularExpression("\nPopUp=[01]\n")))
        << saved.toStdString();
}

// The owner is another user's when root saves, as when an administrator edits a user's file.
TEST(SettingsFile, TheNextSaveClearsAwayWhatAKilledSaveLeftAndKeepsTheOwnerAndTheMode) {
    TSettingsFile file;
    ASSERT_TRUE(Write(file.Path, "[General]\nPopUp=1\n"));
    const QByteArray name = QFile::encodeName(file.Path);
    const bool root = geteuid() == 0;
    const uid_t user = root ? 65534 : geteuid();
    const gid_t group = root ? 65534 : getegid();
    const mode_t mode = root ? 0444 : 0600;  // a read-only file is refused to anyone but root
    ASSERT_EQ(chown(name.constData(), user, group) | chmod(name.constData(), mode), 0);
    // A writer killed in the middle of a save: its lock and its half-written new file stay behind.
    if (const pid_t child = fork(); child == 0) {
        QLockFile lock(file.Path + ".lock");
        _exit(lock.tryLock() && Write(file.Path + ".saving", "[Gen") ? 0 : 1);
    } else {
        ASSERT_TRUE(Succeeded(child));
    }
    file.Store.WritePopUp("0");
    EXPECT_EQ(Read(file.Path), "[General]\nPopUp=0\n");
    EXPECT_EQ(QDir(file.Dir.path()).entryList(QDir::Files | QDir::Hidden).join(' ').toStdString(),
              "Kestrin.conf");
    struct stat saved {};
    ASSERT_EQ(stat(name.constData(), &saved), 0);
    EXPECT_EQ(std::tuple(saved.st_uid, saved.st_gid, saved.st_mode & 07777), std::tuple(user, group, mode));
}

}  // namespace
