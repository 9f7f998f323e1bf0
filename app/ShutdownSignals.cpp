// Session end and signals to window close.
#include "app/ShutdownSignals.h"

#include <QPointer>
#include <QWidget>

#include "qtcore/UnixSignalWatcher.h"

void CloseOnShutdownSignals(QWidget& window) {
    QPointer<QWidget> target(&window);
    auto* watcher = new TUnixSignalWatcher(&window);
    QObject::connect(watcher, &TUnixSignalWatcher::SignalReceived, &window, [target] {
        if (target) {
            target->close();
        }
    });
}
