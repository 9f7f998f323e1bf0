// The application object: every failure that escapes a handler Qt dispatches ends in the default error display.
#pragma once

#include <QApplication>

class TKestrinApplication final : public QApplication {
    Q_OBJECT

public:
    TKestrinApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};
