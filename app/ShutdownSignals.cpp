// Session end and signals to window close.
#include "ShutdownSignals.h"

#include <QPointer>
#include <QWidget>

#include "UnixSignalWatcher.h"

void CloseOnShutdownSignals(QWidget& window) {
    QPointer<QWidget> target(&window);
    auto* watcher = new TUnixSignalWatcher(&window);
    QObject::connect(watcher, &TUnixSignalWatcher::SignalReceived, &window, [target] {
        if (target) {
            target->close();
        }
    });
}
