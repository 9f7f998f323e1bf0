// The mailslot transport on Windows: the system's own mailslots, called exactly as the messenger uses them.
#pragma once

#include <map>
#include <mutex>

#include "messenger/MailslotTransport.h"

class TWin32MailslotTransport final : public TMailslotTransport {
public:
    TWin32MailslotTransport() = default;
    ~TWin32MailslotTransport() override;

    TMailboxId OpenMailbox(std::string_view box) override;
    std::optional<TMailslotInfo> Pending(TMailboxId mailbox) override;
    std::optional<std::uint32_t> Take(TMailboxId mailbox, std::span<char> buffer) override;
    /// Opens the target, writes once and closes it again, as Windows sends to a mailslot.
    TSendResult Send(const TMailslotPath& target, std::string_view bytes) override;
    void Close(TMailboxId mailbox) override;
    // No Wait: a mailslot offers no wait that a stop request can interrupt, so the poller looks every
    // millisecond.
    /// What Windows mailslots take: 424 bytes to other computers, any size to this one (`\\.\`).
    std::size_t MaxWriteSize(const TMailslotPath& target) const override;

private:
    // Windows handles are pointer-sized; the messenger keeps 32-bit values that a worker can read
    // while the user-interface thread replaces them, so each mailbox gets a number of its own.
    void* SystemHandle(TMailboxId mailbox) const;

    mutable std::mutex Mutex;
    std::map<TMailboxId, void*> Mailboxes;
    TMailboxId NextMailbox = 1;
};
