// Owns one POSIX file descriptor and closes it exactly once; and the eventfd that wakes a poll().
#pragma once

#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>
#include <utility>

class TFileDescriptor {
public:
    TFileDescriptor() = default;
    explicit TFileDescriptor(int fd) : Fd(fd) {}
    ~TFileDescriptor() { Reset(); }
    TFileDescriptor(TFileDescriptor&& other) noexcept : Fd(std::exchange(other.Fd, -1)) {}
    TFileDescriptor& operator=(TFileDescriptor&& other) noexcept {
        if (this != &other) {
            Reset();
            Fd = std::exchange(other.Fd, -1);
        }
        return *this;
    }
    TFileDescriptor(const TFileDescriptor&) = delete;
    TFileDescriptor& operator=(const TFileDescriptor&) = delete;

    int Get() const { return Fd; }
    bool Valid() const { return Fd >= 0; }
    void Reset() {
        if (Fd >= 0) {
            ::close(Fd);
            Fd = -1;
        }
    }

private:
    int Fd = -1;
};

/// An eventfd that a stop request or a close writes to, so a thread blocked in poll() wakes at once.
class TWakeEvent {
public:
    TWakeEvent() : Fd(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

    bool Valid() const { return Fd.Valid(); }
    int Get() const { return Fd.Get(); }
    /// Safe from any thread, also from a stop callback.
    void Signal() {
        const std::uint64_t one = 1;
        [[maybe_unused]] const auto written = ::write(Fd.Get(), &one, sizeof one);
    }
    /// Takes back every signal so the next poll blocks again.
    void Clear() {
        std::uint64_t count = 0;
        [[maybe_unused]] const auto read = ::read(Fd.Get(), &count, sizeof count);
    }

private:
    TFileDescriptor Fd;
};
