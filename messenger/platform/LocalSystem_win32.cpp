// Computer name, user name and regional time of day on Windows.
#include <windows.h>

#include <string>
#include <utility>

#include "messenger/SystemServices.h"

namespace {

constexpr DWORD NameBufferSize = 255;

class TWin32System final : public TSystemServices {
public:
    explicit TWin32System(std::string computerName) : Name(std::move(computerName)) {}

    std::string ComputerName() override {
        if (!Name.empty()) {
            return Name;
        }
        char buffer[NameBufferSize] = {};
        DWORD size = NameBufferSize;
        return GetComputerNameA(buffer, &size) ? std::string(buffer, size) : std::string();
    }

    std::string UserName() override {
        char buffer[NameBufferSize] = {};
        DWORD size = NameBufferSize;
        return GetUserNameA(buffer, &size) && size > 0 ? std::string(buffer, size - 1) : std::string();
    }

    // Windows writes the user's long time format itself when no format is passed.
    std::string TimeStamp() override {
        char buffer[80] = {};
        const int length = GetTimeFormatA(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, buffer, sizeof buffer);
        return length > 0 ? std::string(buffer, static_cast<std::size_t>(length - 1)) : std::string();
    }

private:
    const std::string Name;
};

}  // namespace

std::unique_ptr<TSystemServices> MakeLocalSystem(std::string computerName) {
    return std::make_unique<TWin32System>(std::move(computerName));
}
