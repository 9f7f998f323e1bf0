// Ticker loop: hand the tick over, then sleep the current Interval.
#include "messenger/TimerThread.h"

#include <thread>

#include "messenger/HandOver.h"
#include "messenger/uniMessenger.h"

TTimerThread::TTimerThread(TMainMessenger& messenger) : Messenger(messenger) {
    Start([this](std::stop_token stop) { Execute(stop); });
}

TTimerThread::~TTimerThread() {
    RequestStop();
    Join();
}

void TTimerThread::Execute(std::stop_token stop) {
    while (!stop.stop_requested()) {
        try {
            HandOver(Messenger.UiQueue, [&messenger = Messenger] { messenger.DoTimer(); }, stop);
        } catch (...) {
            // A failing timer handler must not stop the ticks that follow.
        }
        // Read anew before every sleep, so a changed Interval applies from the next one on.
        const auto interval = Messenger.FInterval.load();
        if (interval == 0) {
            std::this_thread::yield();
        } else {
            SleepFor(std::chrono::milliseconds(interval), stop);
        }
    }
}
