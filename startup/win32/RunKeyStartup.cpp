// Start at logon on Windows: the value "Kestrin" under the machine-wide Run key.
#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "startup/StartupRegistration.h"

namespace {

// Key names ignore case: this spelling names the system's Run key.
constexpr char RunKey[] = "Software\\Microsoft\\windows\\CurrentVersion\\run";
constexpr char ValueName[] = "Kestrin";

struct TKeyCloser {
    void operator()(HKEY key) const { RegCloseKey(key); }
};
using TOpenKey = std::unique_ptr<std::remove_pointer_t<HKEY>, TKeyCloser>;

TOpenKey OpenRunKey(REGSAM access) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, RunKey, 0, access, &key) != ERROR_SUCCESS) {
        return TOpenKey();
    }
    return TOpenKey(key);
}

// Result codes are the registry's answers (no right to the machine-wide hive, no such value) and reach
// nobody: the next check shows what is really stored.
class TRunKeyStartup final : public TStartupRegistration {
public:
    void Register(const std::string& programPath) override {
        HKEY created = nullptr;
        if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, RunKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                            nullptr, &created, nullptr) != ERROR_SUCCESS) {
            return;
        }
        const TOpenKey key(created);
        // The path as it stands, unquoted, with its terminating NUL counted in the size.
        RegSetValueExA(key.get(), ValueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(programPath.c_str()),
                       static_cast<DWORD>(programPath.size() + 1));
    }

    void Unregister() override {
        if (const TOpenKey key = OpenRunKey(KEY_ALL_ACCESS)) {
            RegDeleteValueA(key.get(), ValueName);
        }
    }

    bool IsRegistered() override {
        const TOpenKey key = OpenRunKey(KEY_READ);
        if (!key) {
            return false;
        }
        // The buffer grows to what the value holds, so a value longer than 256 bytes (a long install path)
        // counts as well; a value that keeps growing between two reads gives up after a few.
        std::vector<BYTE> buffer(256);
        for (int attempt = 0; attempt < 8; ++attempt) {
            DWORD size = static_cast<DWORD>(buffer.size());
            const LONG result =
                RegQueryValueExA(key.get(), ValueName, nullptr, nullptr, buffer.data(), &size);
            if (result != ERROR_MORE_DATA) {
                return result == ERROR_SUCCESS;
            }
            buffer.resize(std::max<std::size_t>(size, buffer.size() * 2));
        }
        return false;
    }
};

}  // namespace

std::unique_ptr<TStartupRegistration> MakeStartupRegistration() {
    return std::make_unique<TRunKeyStartup>();
}

std::string RunningProgramPath() {
    // MAX_PATH first; the buffer grows when the name fills it, as a path longer than that would otherwise be
    // cut off and the entry would start nothing.
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size() || path.size() >= 32768) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}
