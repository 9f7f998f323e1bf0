// How kestrin-cli prints what arrives: readable text, or one JSON object per line for scripts.
#pragma once

#include <cstdint>
#include <string>

#include "messenger/StringList.h"
#include "messenger/uniMessenger.h"
#include "qtcore/VisibleText.h"
#include "qtcore/WireText.h"

/// Message text is read as `text` says and printed in UTF-8, the terminal's and JSON's encoding; controls
/// in it are shown, never passed to the terminal (see VisibleText).
class TEventFormatter {
public:
    explicit TEventFormatter(bool json, const TWireText& text = {}) : Json(json), WireText(text) {}

    std::string Memo(const std::string& origin, const std::string& time, const TStringList& lines) const;
    std::string Line(const std::string& origin, const std::string& time, const std::string& line) const;
    /// The whole list (`who`, `/who`).
    std::string Users(const TStringList& users) const;
    /// One computer that joined the list or left it: a flood of names costs one line each, not the list.
    std::string Change(const std::string& name, TUserChange change) const;
    /// A failure the messenger reports, such as a datagram that could not be sent; `tally` counts them.
    std::string Error(const std::string& text, std::uint64_t notSent) const;

private:
    std::string Text(const std::string& bytes) const {
        return VisibleText(WireText.Read(bytes)).toStdString();
    }

    bool Json;
    TWireText WireText;
};
