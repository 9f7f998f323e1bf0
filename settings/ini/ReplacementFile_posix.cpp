// A replacement file on POSIX systems: fsync, and the old file's owner and mode set through the open file.
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>

#include "settings/ini/ReplacementFile.h"

bool SyncToDisk(QFileDevice& file) {
    return ::fsync(file.handle()) == 0;
}

bool TakeOwnerAndMode(QFileDevice& replacement, const QString& original) {
    struct stat old {};
    if (::stat(QFile::encodeName(original).constData(), &old) != 0) {
        return errno == ENOENT;  // a first save: the new file keeps what the umask gives it
    }
    struct stat created {};
    const int handle = replacement.handle();
    if (::fstat(handle, &created) != 0) {
        return false;
    }
    // Only when they differ: a user saving their own file may not hand a file to anybody.
    if ((created.st_uid != old.st_uid || created.st_gid != old.st_gid) &&
        ::fchown(handle, old.st_uid, old.st_gid) != 0) {
        return false;
    }
    // After the owner, whose change clears the set-ID bits.
    return ::fchmod(handle, old.st_mode & 07777) == 0;
}
