// [History]'s values, checked the same way wherever they are kept.
#include "qtcore/HistorySettings.h"

#include <QCoreApplication>
#include <QSettings>

THistorySettings ReadHistoryValues(QSettings& settings) {
    THistorySettings read;
    if (settings.contains("History/Enabled")) {
        const QString text = settings.value("History/Enabled").toString().trimmed();
        if (text == "0" || text == "1") {
            read.Enabled = text == "1";
        } else {
            read.Problems << QCoreApplication::translate("HistorySettings",
                                                         "History/Enabled = \"%1\" is not 0 or 1; using 1")
                                 .arg(text);
        }
    }
    if (settings.contains("History/KeepDays")) {
        bool ok = false;
        const QString text = settings.value("History/KeepDays").toString().trimmed();
        const int days = text.toInt(&ok);
        if (ok && days >= 0 && days <= 365'000) {
            read.KeepDays = days;
        } else {
            read.Problems << QCoreApplication::translate(
                                 "HistorySettings",
                                 "History/KeepDays = \"%1\" is not a number of days from 0 "
                                 "to 365000; using %2")
                                 .arg(text)
                                 .arg(read.KeepDays);
        }
    }
    return read;
}
