// Computer name, user name and regional time of day on POSIX systems.
#include <langinfo.h>
#include <locale.h>
#include <pwd.h>
#include <unistd.h>

#include <ctime>
#include <string>
#include <utility>

#include "messenger/AsciiText.h"
#include "messenger/SystemServices.h"
#include "messenger/TimeFormat.h"

namespace {

// Names are queried into a 255-byte buffer, terminator included, as on the other platform.
constexpr std::size_t NameBufferSize = 255;

// The user's LC_TIME, without switching the process-wide locale that other code may rely on.
TTimeFormat ReadRegionalTimeFormat() {
    locale_t locale = newlocale(LC_TIME_MASK, "", static_cast<locale_t>(nullptr));
    if (locale == static_cast<locale_t>(nullptr)) {
        locale = newlocale(LC_TIME_MASK, "C", static_cast<locale_t>(nullptr));
    }
    if (locale == static_cast<locale_t>(nullptr)) {
        return {};
    }
    const TTimeFormat format =
        TTimeFormat::FromStrftime(nl_langinfo_l(T_FMT, locale), nl_langinfo_l(T_FMT_AMPM, locale),
                                  nl_langinfo_l(AM_STR, locale), nl_langinfo_l(PM_STR, locale));
    freelocale(locale);
    return format;
}

class TPosixSystem final : public TSystemServices {
public:
    explicit TPosixSystem(std::string computerName) : Name(std::move(computerName)) {}

    std::string ComputerName() override {
        if (!Name.empty()) {
            return Name;
        }
        char buffer[NameBufferSize] = {};
        const std::string derived =
            gethostname(buffer, sizeof buffer - 1) == 0 ? NetbiosNameOfHost(buffer) : std::string();
        return derived.empty() ? "LOCALHOST" : derived;
    }

    std::string UserName() override {
        passwd entry{};
        passwd* found = nullptr;
        char storage[4096];
        if (getpwuid_r(geteuid(), &entry, storage, sizeof storage, &found) == 0 && found != nullptr) {
            return std::string(found->pw_name).substr(0, NameBufferSize - 1);
        }
        return std::to_string(geteuid());
    }

    std::string TimeStamp() override {
        const std::time_t now = std::time(nullptr);
        std::tm local{};
        localtime_r(&now, &local);
        return Format.Format(local.tm_hour, local.tm_min, local.tm_sec);
    }

private:
    const std::string Name;
    const TTimeFormat Format = ReadRegionalTimeFormat();
};

}  // namespace

std::unique_ptr<TSystemServices> MakeLocalSystem(std::string computerName) {
    return std::make_unique<TPosixSystem>(std::move(computerName));
}
