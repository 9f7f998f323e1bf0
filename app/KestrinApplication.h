// The application object: every failure that escapes a handler Qt dispatches ends in the default error
// display.
#pragma once

#include <QApplication>

class QWidget;

class TKestrinApplication final : public QApplication {
    Q_OBJECT

public:
    TKestrinApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};

/// Closes `window` when a terminating signal arrives (the session's end sends one), so the program
/// leaves as it does on Exit: one offline announcement, every thread joined. A session manager that
/// ends the event loop itself reaches the same end, since the window is destroyed after the loop.
void CloseOnShutdownSignals(QWidget& window);
