// Owns one POSIX file descriptor and closes it exactly once.
#pragma once

#include <unistd.h>

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
