// The poller: has every datagram that waits in the own mailbox read on the user-interface thread.
#pragma once

#include "messenger/WorkerThread.h"

class TMainMessenger;

class TSignalThread final : public TWorkerThread {
public:
    explicit TSignalThread(TMainMessenger& messenger);
    ~TSignalThread() override;

    TMainMessenger& Messenger;

private:
    void Execute(std::stop_token stop);
};
