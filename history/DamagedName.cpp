// The aside name carries the time, so that a second damaged file does not replace the first.
#include "history/DamagedName.h"

#include <cstdio>

std::filesystem::path DamagedName(const std::filesystem::path& path, std::chrono::system_clock::time_point when) {
    using namespace std::chrono;
    const auto day = floor<days>(when);
    const year_month_day date{day};
    const hh_mm_ss time{floor<seconds>(when - day)};
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, ".damaged-%04d%02u%02u-%02d%02d%02d", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                  static_cast<int>(time.hours().count()), static_cast<int>(time.minutes().count()),
                  static_cast<int>(time.seconds().count()));
    std::filesystem::path aside = path;
    aside += suffix;
    return aside;
}
