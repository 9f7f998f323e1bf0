// Registry backend of the settings store: the values PopUp and Notify (REG_SZ) of the key General.
#include "settings/registry/RegistrySettingsStore.h"

#include <windows.h>

#include <memory>
#include <type_traits>
#include <vector>

namespace {

constexpr char ApplicationKey[] = "Software\\Olvanta\\Kestrin";
constexpr char Section[] = "General";
constexpr char PopUpValue[] = "PopUp";
constexpr char NotifyValue[] = "Notify";

struct TKeyCloser {
    void operator()(HKEY key) const { RegCloseKey(key); }
};
using TOpenKey = std::unique_ptr<std::remove_pointer_t<HKEY>, TKeyCloser>;

TOpenKey CreateKey(HKEY parent, const char* path) {
    HKEY key = nullptr;
    const bool made = RegCreateKeyExA(parent, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                                      nullptr, &key, nullptr) == ERROR_SUCCESS;
    return TOpenKey(made ? key : nullptr);
}

// Made on first use, section excepted. Where it can be neither opened nor made, the section is looked for
// directly under the user's hive instead; the registry's answer is not reported.
TOpenKey OpenApplicationKey() {
    return CreateKey(HKEY_CURRENT_USER, ApplicationKey);
}

HKEY Parent(const TOpenKey& application) {
    return application ? application.get() : HKEY_CURRENT_USER;
}

TOpenKey OpenSection(const TOpenKey& application) {
    HKEY key = nullptr;
    const bool opened = RegOpenKeyExA(Parent(application), Section, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS;
    return TOpenKey(opened ? key : nullptr);
}

// The text of a REG_SZ value of the section; nothing when the section or the value is missing.
std::optional<std::string> ReadSectionText(const char* name) {
    const TOpenKey application = OpenApplicationKey();
    const TOpenKey section = OpenSection(application);
    DWORD type = 0;
    DWORD size = 0;
    if (!section || RegQueryValueExA(section.get(), name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    if (size == 0) {
        return std::string();
    }
    std::vector<char> data(size);
    if (RegQueryValueExA(section.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) !=
            ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ)) {
        throw TSettingsError(
            std::string("cannot read HKEY_CURRENT_USER\\Software\\Olvanta\\Kestrin\\General\\") + name);
    }
    // The text ends at the first NUL, or with the data when there is none.
    const std::string text(data.data(), size);
    return text.substr(0, text.find('\0'));
}

}  // namespace

std::optional<std::string> TRegistrySettingsStore::ReadPopUp() {
    return ReadSectionText(PopUpValue);
}

std::optional<std::string> TRegistrySettingsStore::ReadNotify() {
    return ReadSectionText(NotifyValue);
}

void TRegistrySettingsStore::WritePopUp(const std::string& text) {
    const TOpenKey application = OpenApplicationKey();
    if (!CreateKey(Parent(application), Section)) {
        throw TSettingsError("cannot create HKEY_CURRENT_USER\\Software\\Olvanta\\Kestrin\\General");
    }
    const TOpenKey section = OpenSection(application);
    if (!section) {
        return;
    }
    // Stored without a terminating NUL, as the flag always has been.
    if (RegSetValueExA(section.get(), PopUpValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.data()),
                       static_cast<DWORD>(text.size())) != ERROR_SUCCESS) {
        throw TSettingsError("cannot write HKEY_CURRENT_USER\\Software\\Olvanta\\Kestrin\\General\\PopUp");
    }
}
