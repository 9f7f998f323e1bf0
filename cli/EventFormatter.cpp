// Text and JSON renderings of arrivals and list changes.
#include "cli/EventFormatter.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "qtcore/WireText.h"

namespace {

// Messages are 8-bit text in the sender's code page; no byte may be lost on the way into JSON.
QString Text(const std::string& bytes) {
    return FromWire(bytes);
}

QJsonArray TextArray(const TStringList& lines) {
    QJsonArray array;
    for (const auto& line : lines) {
        array.append(Text(line));
    }
    return array;
}

std::string JsonLine(const QJsonObject& object) {
    return QJsonDocument(object).toJson(QJsonDocument::Compact).toStdString() + "\n";
}

}  // namespace

std::string TEventFormatter::Memo(const std::string& origin, const std::string& time,
                                  const TStringList& lines) const {
    if (Json) {
        return JsonLine(
            {{"event", "memo"}, {"origin", Text(origin)}, {"time", Text(time)}, {"lines", TextArray(lines)}});
    }
    std::string text = "memo from " + origin + " at " + time + ":\n";
    for (const auto& line : lines) {
        text += "  | " + line + "\n";
    }
    return text;
}

std::string TEventFormatter::Line(const std::string& origin, const std::string& time,
                                  const std::string& line) const {
    if (Json) {
        return JsonLine(
            {{"event", "line"}, {"origin", Text(origin)}, {"time", Text(time)}, {"line", Text(line)}});
    }
    return "line from " + origin + " at " + time + ": " + line + "\n";
}

std::string TEventFormatter::Users(const TStringList& users) const {
    if (Json) {
        return JsonLine({{"event", "users"}, {"users", TextArray(users)}});
    }
    std::string text = "computers:";
    for (std::size_t i = 0; i < users.size(); ++i) {
        text += (i == 0 ? " " : ", ") + users[i];
    }
    return text + (users.empty() ? " (none)\n" : "\n");
}
