// Application object with the default error display around event dispatch, and the end of a session.
#include "app/KestrinApplication.h"

#include <QWidget>
#include <exception>

#include "qtcore/ShutdownSignals.h"
#include "widgets/ErrorDisplay.h"

TKestrinApplication::TKestrinApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName("Kestrin");
    setOrganizationName("Olvanta");
    setApplicationVersion("1.0.0");
}

bool TKestrinApplication::notify(QObject* receiver, QEvent* event) {
    // The handler that failed is left where it failed; the program goes on.
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& failure) {
        ShowDefaultError(QString::fromLocal8Bit(failure.what()));
    } catch (...) {
        ShowDefaultError("Unknown failure");
    }
    return false;
}

void CloseOnShutdownSignals(QWidget& window) {
    OnShutdownSignals(window, [&window] { window.close(); });
}
