// Application object with the default error display around event dispatch, and the end of a session.
#include "app/KestrinApplication.h"

#include <cstdlib>
#include <exception>

#include "qtcore/ShutdownSignals.h"
#include "widgets/ErrorDisplay.h"

namespace {

TKestrinApplication* Leaving = nullptr;  ///< the application whose goodbye an exit still owes

}  // namespace

TKestrinApplication::TKestrinApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName("Kestrin");
    setOrganizationName("Olvanta");
    setApplicationVersion(QStringLiteral(KESTRIN_VERSION));
}

TKestrinApplication::~TKestrinApplication() {
    if (Leaving == this) {
        Leaving = nullptr;
    }
}

bool TKestrinApplication::notify(QObject* receiver, QEvent* event) {
    // The handler that failed is left where it failed; the program goes on.
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& failure) {
        ShowDefaultError(QString::fromLocal8Bit(failure.what()));
    } catch (...) {
        ShowDefaultError(tr("Unknown failure"));
    }
    return false;
}

void TKestrinApplication::SayGoodbyeAtSessionEnd(std::function<void()> sayGoodbye) {
    Goodbye = std::move(sayGoodbye);
    OnShutdownSignals(*this, [this] {
        Ended = true;
        // First, and synchronously: Windows may end the process as soon as its log-off message is answered.
        Goodbye();
        // Every loop ends, a modal box's too: a box waiting for an OK that nobody gives at a log-off would
        // otherwise keep the program running, its window hidden.
        QCoreApplication::exit(0);
    });
    // Qt calls exit() itself when the X display goes away.
    if (Leaving == nullptr) {
        Leaving = this;
        std::atexit(&TKestrinApplication::SayGoodbyeAtExit);
    }
}

void TKestrinApplication::SayGoodbyeAtExit() {
    if (Leaving != nullptr && Leaving->Goodbye) {
        Leaving->Goodbye();
    }
}
