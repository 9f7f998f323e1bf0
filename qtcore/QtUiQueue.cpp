// Posting to Qt's event loop; modal dialogs run the same loop, so calls keep flowing under them.
#include "qtcore/QtUiQueue.h"

#include <QMetaObject>
#include <utility>

TQtUiQueue::TQtUiQueue(QObject* context) : Context(context) {
    if (Context != nullptr) {
        QObject::connect(Context, &QObject::destroyed, [gone = ContextGone] { *gone = true; });
    }
}

void TQtUiQueue::Post(std::function<void()> call) {
    Q_ASSERT_X(!*ContextGone, "TQtUiQueue::Post", "a worker posted after the queue's context was destroyed");
    if (Context != nullptr) {
        QMetaObject::invokeMethod(Context, std::move(call), Qt::QueuedConnection);
    }
}
