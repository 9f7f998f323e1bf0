// Text and JSON renderings of arrivals and list changes.
#include "cli/EventFormatter.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

QJsonArray TextArray(const TStringList& lines, const TWireText& text) {
    QJsonArray array;
    for (const auto& line : lines) {
        array.append(text.Read(line));
    }
    return array;
}

std::string JsonLine(const QJsonObject& object) {
    return EscapeJsonControls(QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact)))
               .toStdString() +
           "\n";
}

}  // namespace

std::string TEventFormatter::Memo(const std::string& origin, const std::string& time,
                                  const TStringList& lines) const {
    if (Json) {
        return JsonLine({{"event", "memo"},
                         {"origin", WireText.Read(origin)},
                         {"time", WireText.Read(time)},
                         {"lines", TextArray(lines, WireText)}});
    }
    std::string text = "memo from " + Text(origin) + " at " + Text(time) + ":\n";
    for (const auto& line : lines) {
        text += "  | " + Text(line) + "\n";
    }
    return text;
}

std::string TEventFormatter::Line(const std::string& origin, const std::string& time,
                                  const std::string& line) const {
    if (Json) {
        return JsonLine({{"event", "line"},
                         {"origin", WireText.Read(origin)},
                         {"time", WireText.Read(time)},
                         {"line", WireText.Read(line)}});
    }
    return "line from " + Text(origin) + " at " + Text(time) + ": " + Text(line) + "\n";
}

std::string TEventFormatter::Users(const TStringList& users) const {
    if (Json) {
        return JsonLine({{"event", "users"}, {"users", TextArray(users, WireText)}});
    }
    std::string text = "computers:";
    for (std::size_t i = 0; i < users.size(); ++i) {
        text += (i == 0 ? " " : ", ") + Text(users[i]);
    }
    return text + (users.empty() ? " (none)\n" : "\n");
}

std::string TEventFormatter::Change(const std::string& name, TUserChange change) const {
    const bool joined = change == TUserChange::Joined;
    if (Json) {
        return JsonLine({{"event", joined ? "joined" : "left"}, {"computer", WireText.Read(name)}});
    }
    return (joined ? "listed: " : "gone: ") + Text(name) + "\n";
}

std::string TEventFormatter::Error(const std::string& text, std::uint64_t notSent) const {
    if (Json) {
        return JsonLine({{"event", "error"},
                         {"text", QString::fromUtf8(text)},
                         {"not_sent", static_cast<qint64>(notSent)}});
    }
    return "error: " + VisibleText(QString::fromUtf8(text)).toStdString() + "\n";
}
