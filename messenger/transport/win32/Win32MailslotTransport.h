// The mailslot transport on Windows: the system's own mailslots, called exactly as the messenger uses them.
#pragma once

#include <map>
#include <mutex>

#include "messenger/MailslotTransport.h"

class TWin32MailslotTransport final : public TMailslotTransport {
public:
    TWin32MailslotTransport() = default;
    ~TWin32MailslotTransport() override;

    TMailslotHandle CreateMailslot(std::string_view path, std::uint32_t maxMessageSize,
                                   std::uint32_t readTimeout) override;
    std::optional<TMailslotInfo> GetMailslotInfo(TMailslotHandle mailbox) override;
    std::optional<std::uint32_t> ReadFile(TMailslotHandle mailbox, std::span<char> buffer) override;
    TMailslotHandle CreateFile(std::string_view path) override;
    TSendResult WriteFile(TMailslotHandle target, std::string_view bytes) override;
    void CloseHandle(TMailslotHandle handle) override;
    // No WaitForDatagram: a mailslot offers no wait that a stop request can interrupt, so the poller
    // looks every millisecond.

private:
    // Windows handles are pointer-sized; the messenger keeps 32-bit values that a worker can read
    // while the user-interface thread replaces them, so each handle gets a number of its own.
    TMailslotHandle Register(void* systemHandle);
    void* SystemHandle(TMailslotHandle handle) const;

    mutable std::mutex Mutex;
    std::map<TMailslotHandle, void*> Handles;
    TMailslotHandle NextHandle = 1;
};
