// Poller loop: query, hand one read over, then wait for the next datagram.
#include "messenger/SignalThread.h"

#include "messenger/HandOver.h"
#include "messenger/uniMessenger.h"

TSignalThread::TSignalThread(TMainMessenger& messenger) : Messenger(messenger) {
    Start([this](std::stop_token stop) { Execute(stop); });
}

TSignalThread::~TSignalThread() {
    RequestStop();
    Join();
}

void TSignalThread::Execute(std::stop_token stop) {
    TMailslotTransport& transport = Messenger.Transport;
    while (!stop.stop_requested()) {
        // Until Activate stores the new mailbox, and after Deactivate closed it, the query fails
        // and counts as nothing waiting.
        const TMailslotHandle slot = Messenger.SlotHandle;
        const auto info = transport.GetMailslotInfo(slot);
        Messenger.MessageCount = info ? info->MessageCount : 0;
        Messenger.NextSize = info ? info->NextSize : 0;
        if (Messenger.MessageCount > 0) {
            try {
                HandOver(Messenger.UiQueue, [&messenger = Messenger] { messenger.ReadMessage(); }, stop);
            } catch (...) {
                // A failing event handler must not end reception; the datagram was read and is gone.
            }
            continue;
        }
        // Where the transport can wait, the poller sleeps until a datagram arrives; otherwise it
        // looks again after a millisecond, which is all a plain mailbox offers.
        if (transport.WaitForDatagram(slot, stop) == TMailslotWait::CannotWait) {
            SleepFor(std::chrono::milliseconds(1), stop);
        }
    }
}
