// The history file's place on Linux, as the XDG base directory rules say.
#include <cstdlib>

#include "history/HistoryPath.h"

std::filesystem::path DefaultHistoryPath() {
    std::filesystem::path base;
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data == '/') {
        base = data;
    } else {
        const char* home = std::getenv("HOME");
        base = std::filesystem::path(home ? home : "") / ".local" / "share";
    }
    return base / "Olvanta" / "Kestrin" / "history.sqlite";
}
