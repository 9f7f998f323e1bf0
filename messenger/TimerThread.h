// The ticker: raises the messenger's timer event every Interval milliseconds on the user-interface thread.
#pragma once

#include "messenger/WorkerThread.h"

class TMainMessenger;

class TTimerThread final : public TWorkerThread {
public:
    explicit TTimerThread(TMainMessenger& messenger);
    ~TTimerThread() override;

    TMainMessenger& Messenger;

private:
    void Execute(std::stop_token stop);
};
