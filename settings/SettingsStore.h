// Where the pop-up and notification flags are kept between runs; one backend per platform.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>

/// Raised when the store cannot be read or written; callers show their fixed message for it.
class TSettingsError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TSettingsStore {
public:
    virtual ~TSettingsStore() = default;

    /// The stored text of [General] PopUp; nothing when the section or the value is missing.
    virtual std::optional<std::string> ReadPopUp() = 0;
    /// Stores the text, creating the section when needed.
    virtual void WritePopUp(const std::string& text) = 0;
    /// The stored text of [General] Notify, read like PopUp. Never written: the user sets it in the file, and
    /// a save of PopUp keeps it.
    virtual std::optional<std::string> ReadNotify() = 0;
};
