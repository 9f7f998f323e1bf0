// eventfd wrapper used to interrupt poll().
#include "messenger/transport/udp/WakeEvent.h"

#include <sys/eventfd.h>

#include <cstdint>

TWakeEvent::TWakeEvent() : Fd(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

void TWakeEvent::Signal() {
    const std::uint64_t one = 1;
    [[maybe_unused]] const auto written = ::write(Fd.Get(), &one, sizeof one);
}

void TWakeEvent::Clear() {
    std::uint64_t count = 0;
    [[maybe_unused]] const auto read = ::read(Fd.Get(), &count, sizeof count);
}
