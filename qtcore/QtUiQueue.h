// The user-interface queue on Qt's event loop: calls posted from workers run on the thread of `context`.
#pragma once

#include <QObject>
#include <atomic>
#include <memory>

#include "messenger/UiThreadQueue.h"

class TQtUiQueue final : public TUiThreadQueue {
public:
    /// `context` lives on the user-interface thread and must outlive every Post: its owner stops and joins
    /// the workers that post (the messenger's) before `context` goes. Nothing on a worker can tell safely
    /// whether a QObject still lives, so this is a contract, checked in debug builds. With no context at
    /// all, calls are dropped.
    explicit TQtUiQueue(QObject* context);

    void Post(std::function<void()> call) override;

private:
    QObject* Context;
    std::shared_ptr<std::atomic<bool>> ContextGone = std::make_shared<std::atomic<bool>>(false);
};
