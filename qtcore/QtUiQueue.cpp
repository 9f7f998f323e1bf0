// Posting to Qt's event loop; modal dialogs run the same loop, so calls keep flowing under them.
#include "qtcore/QtUiQueue.h"

#include <QMetaObject>
#include <utility>

void TQtUiQueue::Post(std::function<void()> call) {
    QMetaObject::invokeMethod(Context.data(), std::move(call), Qt::QueuedConnection);
}
