// How `kestrin-cli history` prints what the history kept: a block of text per memo, or one JSON object per
// line.
#pragma once

#include <QCoreApplication>
#include <string>

#include "history/HistoryEntry.h"

/// The file holds the text as it was shown, but it is a file anyone with the user's rights could have
/// written: controls are made visible (text) or escaped (JSON) again before they reach a terminal. The text
/// is in the user's language; JSON never is.
class THistoryFormatter {
    Q_DECLARE_TR_FUNCTIONS(THistoryFormatter)

public:
    explicit THistoryFormatter(bool json) : Json(json) {}

    /// Text: the local time it was received or sent, what and from or to whom, the sender's time, then the
    /// text's lines as `listen` prints them. JSON: id, received (UTC), direction, kind, computer, time, text.
    std::string Entry(const THistoryEntry& entry) const;

private:
    bool Json;
};
