// How kestrin-cli prints what arrives: readable text, or one JSON object per line for scripts.
#pragma once

#include <QCoreApplication>
#include <cstdint>
#include <string>

#include "messenger/StringList.h"
#include "messenger/uniMessenger.h"
#include "qtcore/PeerText.h"
#include "qtcore/WireText.h"

/// Message text is decoded once (TPeerText) and printed in UTF-8, the terminal's and JSON's encoding; the
/// text lines show controls, never pass them to the terminal, and JSON escapes them. The text is in the
/// user's language; JSON, which scripts read, never is.
class TEventFormatter {
    Q_DECLARE_TR_FUNCTIONS(TEventFormatter)

public:
    explicit TEventFormatter(bool json, const TWireText& text = {}) : Json(json), Peers(text) {}

    std::string Memo(const std::string& origin, const std::string& time, const TStringList& lines) const {
        return Arrival(Peers.Memo(origin, time, lines));
    }
    std::string Line(const std::string& origin, const std::string& time, const std::string& line) const {
        return Arrival(Peers.Line(origin, time, line));
    }
    std::string Arrival(const TArrival& arrival) const;
    /// The whole list, as text (the console's `/who`).
    std::string Users(const TStringList& users) const;
    /// One computer that joined the list or left it: a flood of names costs one line each, not the list.
    std::string Change(const std::string& name, TUserChange change) const;
    /// A failure the messenger reports, such as a datagram that could not be sent; `tally` counts them.
    std::string Error(const std::string& text, std::uint64_t notSent) const;

private:
    bool Json;
    TPeerText Peers;
};
