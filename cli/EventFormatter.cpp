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
    const std::string from = arrival.Origin.Shown.toStdString() + " at " + arrival.ShownTime.toStdString();
    if (!arrival.Memo) {
        return "line from " + from + ": " + arrival.Shown.value(0).toStdString() + "\n";
    }
    std::string text = "memo from " + from + ":\n";
    for (const auto& line : arrival.Shown) {
        text += "  | " + line.toStdString() + "\n";
    }
    return text;
}

std::string TEventFormatter::Users(const TStringList& users) const {
    std::string text = "computers:";
    for (std::size_t i = 0; i < users.size(); ++i) {
        text += (i == 0 ? " " : ", ") + Peers.Name(users[i]).Shown.toStdString();
    }
    return text + (users.empty() ? " (none)\n" : "\n");
}

std::string TEventFormatter::Change(const std::string& name, TUserChange change) const {
    const bool joined = change == TUserChange::Joined;
    if (Json) {
        return JsonLine({{"event", joined ? "joined" : "left"}, {"computer", Peers.Name(name).Text}});
    }
    return (joined ? "listed: " : "gone: ") + Peers.Name(name).Shown.toStdString() + "\n";
}

std::string TEventFormatter::Error(const std::string& text, std::uint64_t notSent) const {
    if (Json) {
        return JsonLine({{"event", "error"},
                         {"text", QString::fromUtf8(text)},
                         {"not_sent", static_cast<qint64>(notSent)}});
    }
    return "error: " + VisibleText(QString::fromUtf8(text)).toStdString() + "\n";
}
