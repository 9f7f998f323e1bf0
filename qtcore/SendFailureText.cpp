// The engine words its refusals in English and has no Qt; the programs show them through this translation.
#include "qtcore/SendFailureText.h"

#include <QCoreApplication>

QString SendFailureText(const TSendFailure& failure) {
    // The transport's reason comes from the system and stays as it said it.
    if (!failure.NotSent.empty()) {
        return QCoreApplication::translate("SendFailure", "The memo was not sent: %1.")
            .arg(QString::fromStdString(failure.NotSent));
    }
    return QCoreApplication::translate(
               "SendFailure", "The memo is %1 bytes long; a computer on the network takes at most %2.")
        .arg(failure.Size)
        .arg(failure.Limit);
}
