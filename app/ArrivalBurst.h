// The arrivals that came in one turn of the event loop: the window shows the last, a notification tells them
// all.
#pragma once

#include <QCoreApplication>
#include <QSet>
#include <QString>
#include <QStringList>
#include <optional>

#include "qtcore/PeerText.h"

class TArrivalBurst {
    Q_DECLARE_TR_FUNCTIONS(TArrivalBurst)

public:
    /// Adds an arrival; true when it is the first one, so the caller knows to show the burst later.
    bool Add(const TArrival& arrival);

    bool Empty() const { return !Latest.has_value(); }
    /// The one the window shows; only while not Empty().
    const TArrival& Last() const { return *Latest; }
    /// "Kestrin: memo from ANNA-PC" for one arrival, "Kestrin: 3 memos from ANNA-PC, BORIS-PC" for more, each
    /// computer once, in the order they came, the first few of them.
    QString Summary() const;

private:
    std::optional<TArrival> Latest;
    int Arrived = 0;
    QStringList Origins;  ///< the first few computers, in the order they came
    QSet<QString> Seen;   ///< every computer of the burst
};
