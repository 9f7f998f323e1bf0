// An eventfd that a stop request or a close writes to, so a thread blocked in poll() wakes at once.
#pragma once

#include "messenger/transport/udp/FileDescriptor.h"

class TWakeEvent {
public:
    TWakeEvent();

    bool Valid() const { return Fd.Valid(); }
    int Get() const { return Fd.Get(); }
    /// Safe from any thread, also from a stop callback.
    void Signal();
    /// Takes back every signal so the next poll blocks again.
    void Clear();

private:
    TFileDescriptor Fd;
};
