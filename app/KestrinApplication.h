// The application object: every failure that escapes a handler Qt dispatches ends in the default error
// display, and the end of a session says goodbye whatever is open.
#pragma once

#include <QApplication>
#include <functional>

class TKestrinApplication final : public QApplication {
    Q_OBJECT

public:
    TKestrinApplication(int& argc, char** argv);
    ~TKestrinApplication() override;

    bool notify(QObject* receiver, QEvent* event) override;

    /// From now on the end of a session (a terminating signal, log-off, shut-down) runs `sayGoodbye` at
    /// once, where it is heard, and then ends every event loop, a message box's or a dialog's included, so
    /// that the program leaves with exit code 0 whatever is open. An exit that Qt forces (the display went
    /// away) runs it too. `sayGoodbye` must do nothing the second time.
    void SayGoodbyeAtSessionEnd(std::function<void()> sayGoodbye);
    /// Whether the session ended: the event loop must not be started (again) then.
    bool SessionEnded() const { return Ended; }

private:
    static void SayGoodbyeAtExit();

    std::function<void()> Goodbye;
    bool Ended = false;
};
