// The history file's place on Windows: the user's local (not roaming) application data, as a file that one
// computer's copy writes belongs there.
#include <shlobj.h>

#include "history/HistoryPath.h"

std::filesystem::path DefaultHistoryPath() {
    std::filesystem::path base;
    if (PWSTR local = nullptr; SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &local) == S_OK) {
        base = local;
        CoTaskMemFree(local);
    }
    return base / "Olvanta" / "Kestrin" / "history.sqlite";
}
