// The user-interface queue on Qt's event loop: calls posted from workers run on the thread of `context`.
#pragma once

#include <QObject>
#include <QPointer>

#include "messenger/UiThreadQueue.h"

class TQtUiQueue final : public TUiThreadQueue {
public:
    /// `context` lives on the user-interface thread; calls posted after it is gone are dropped.
    explicit TQtUiQueue(QObject* context) : Context(context) {}

    void Post(std::function<void()> call) override;

private:
    QPointer<QObject> Context;
};
