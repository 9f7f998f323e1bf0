// A replacement file on Windows: FlushFileBuffers. Its access rights come from the folder, as the old
// file's did, and a read-only old file refuses to be replaced, which the save reports.
#include <io.h>
#include <windows.h>

#include "settings/ini/ReplacementFile.h"

bool SyncToDisk(QFileDevice& file) {
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(file.handle()));
    return handle != INVALID_HANDLE_VALUE && FlushFileBuffers(handle) != 0;
}

bool TakeOwnerAndMode(QFileDevice&, const QString&) {
    return true;
}
