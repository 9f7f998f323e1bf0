// Text and JSON renderings of the history's entries.
#include "cli/HistoryFormatter.h"

#include <QDateTime>
#include <QJsonDocument>
#include <QJsonObject>

#include "qtcore/VisibleText.h"

namespace {

std::string Visible(const std::string& text) {
    return VisibleText(QString::fromStdString(text)).toStdString();
}

}  // namespace

std::string THistoryFormatter::Entry(const THistoryEntry& entry) const {
    const bool received = entry.Direction == THistoryDirection::Received;
    const bool memo = entry.Kind == THistoryKind::Memo;
    if (Json) {
        const QJsonObject object{
            {"id", static_cast<qint64>(entry.Id)},
            {"received",
             QDateTime::fromMSecsSinceEpoch(entry.ReceivedMs, Qt::UTC).toString(Qt::ISODateWithMs)},
            {"direction", received ? "received" : "sent"},
            {"kind", memo ? "memo" : "line"},
            {"computer", QString::fromStdString(entry.Computer)},
            {"time", QString::fromStdString(entry.SenderTime)},
            {"text", QString::fromStdString(entry.Text)}};
        return EscapeJsonControls(QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact)))
                   .toStdString() +
               "\n";
    }
    const std::string when =
        QDateTime::fromMSecsSinceEpoch(entry.ReceivedMs).toString("yyyy-MM-dd HH:mm:ss").toStdString();
    const QString computer = !received && entry.Computer == HistoryToAll
                                 ? tr("every computer")
                                 : VisibleText(QString::fromStdString(entry.Computer));
    QString what = memo ? (received ? tr("memo from %1") : tr("memo to %1"))
                        : (received ? tr("line from %1") : tr("line to %1"));
    what = what.arg(computer);
    if (!entry.SenderTime.empty()) {
        what = tr("%1 at %2").arg(what, VisibleText(QString::fromStdString(entry.SenderTime)));
    }
    std::string head = when + "  " + what.toStdString();
    if (!memo) {
        return head + ": " + Visible(entry.Text) + "\n";
    }
    head += ":\n";
    // The recorder joins a memo's lines with LF; any other control in them is made visible.
    for (const QString& line : QString::fromStdString(entry.Text).split('\n')) {
        head += "  | " + VisibleText(line).toStdString() + "\n";
    }
    return head;
}
