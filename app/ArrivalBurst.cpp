// Gathering a burst of arrivals and wording its notification.
#include "app/ArrivalBurst.h"

namespace {

// A summary is read at a glance: beyond a few names the rest are in the History window.
constexpr int NamedOrigins = 4;

}  // namespace

bool TArrivalBurst::Add(const TArrival& arrival) {
    const bool first = Empty();
    Latest = arrival;
    ++Arrived;
    const QString& origin = arrival.Origin.Shown;
    if (!Seen.contains(origin)) {
        Seen.insert(origin);
        if (Origins.size() < NamedOrigins) {
            Origins << origin;
        }
    }
    return first;
}

QString TArrivalBurst::Summary() const {
    if (Arrived == 1) {
        return tr("Kestrin: memo from %1").arg(Origins.first());
    }
    const bool more = Seen.size() > Origins.size();  // computers beyond the named few
    return tr("Kestrin: %n memos from %1%2", nullptr, Arrived)
        .arg(Origins.join(QStringLiteral(", ")), more ? QStringLiteral(", \u2026") : QString());
}
