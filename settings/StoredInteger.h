// The reading rules of a stored number, shared by every settings backend (INI file, registry).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

/// A decimal number with an optional sign, or "$"/"0x" followed by up to 8 significant hexadecimal
/// digits (above 7FFFFFFF reading as negative), after leading blanks and with nothing after the digits.
/// Nothing for any other text, the empty one included.
std::optional<std::int32_t> ParseStoredInteger(std::string_view text);

/// The pop-up flag from its stored text: true unless the text is a number equal to 0.
bool PopUpFromStoredText(std::string_view text);

/// What is stored for the pop-up flag: the single character "1" or "0".
inline std::string PopUpToStoredText(bool popUp) {
    return popUp ? "1" : "0";
}
