// Turns SIGINT, SIGTERM and SIGHUP into a Qt signal on the user-interface thread.
#pragma once

#include <QObject>

class QSocketNotifier;

class TUnixSignalWatcher final : public QObject {
    Q_OBJECT

public:
    /// One watcher per process: the handlers write into its pipe, which Qt's loop watches.
    explicit TUnixSignalWatcher(QObject* parent = nullptr);
    ~TUnixSignalWatcher() override;

signals:
    void SignalReceived(int signalNumber);

private:
    void ReadPipe();

    QSocketNotifier* Notifier = nullptr;
};
