// Text and JSON renderings of arrivals and list changes.
#include "cli/EventFormatter.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "qtcore/VisibleText.h"

namespace {

std::string JsonLine(const QJsonObject& object) {
    return EscapeJsonControls(QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact)))
               .toStdString() +
           "\n";
}

}  // namespace

std::string TEventFormatter::Arrival(const TArrival& arrival) const {
    if (Json) {
        QJsonObject object{{"event", arrival.Memo ? "memo" : "line"},
                           {"origin", arrival.Origin.Text},
                           {"time", arrival.Time}};
        if (arrival.Memo) {
            object["lines"] = QJsonArray::fromStringList(arrival.Lines);
        } else {
            object["line"] = arrival.Lines.value(0);
        }
        return JsonLine(object);
    }
    if (!arrival.Memo) {
        return tr("line from %1 at %2: %3")
                   .arg(arrival.Origin.Shown, arrival.ShownTime, arrival.Shown.value(0))
                   .toStdString() +
               "\n";
    }
    std::string text =
        tr("memo from %1 at %2:").arg(arrival.Origin.Shown, arrival.ShownTime).toStdString() + "\n";
    for (const auto& line : arrival.Shown) {
        text += "  | " + line.toStdString() + "\n";
    }
    return text;
}

std::string TEventFormatter::Users(const TStringList& users) const {
    if (users.empty()) {
        return tr("computers: (none)").toStdString() + "\n";
    }
    QStringList names;
    for (const auto& user : users) {
        names << Peers.Name(user).Shown;
    }
    return tr("computers: %1").arg(names.join(", ")).toStdString() + "\n";
}

std::string TEventFormatter::Change(const std::string& name, TUserChange change) const {
    const bool joined = change == TUserChange::Joined;
    if (Json) {
        return JsonLine({{"event", joined ? "joined" : "left"}, {"computer", Peers.Name(name).Text}});
    }
    const QString shown = Peers.Name(name).Shown;
    return (joined ? tr("listed: %1") : tr("gone: %1")).arg(shown).toStdString() + "\n";
}

std::string TEventFormatter::Error(const std::string& text, std::uint64_t notSent) const {
    if (Json) {
        return JsonLine({{"event", "error"},
                         {"text", QString::fromUtf8(text)},
                         {"not_sent", static_cast<qint64>(notSent)}});
    }
    return tr("error: %1").arg(VisibleText(QString::fromUtf8(text))).toStdString() + "\n";
}
