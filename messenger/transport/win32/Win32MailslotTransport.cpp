// Windows mailslots behind the transport interface.
#include "messenger/transport/win32/Win32MailslotTransport.h"

#include <windows.h>

#include <limits>
#include <string>

TWin32MailslotTransport::~TWin32MailslotTransport() {
    for (const auto& [id, systemHandle] : Mailboxes) {
        CloseHandle(systemHandle);
    }
}

void* TWin32MailslotTransport::SystemHandle(TMailboxId mailbox) const {
    std::lock_guard lock(Mutex);
    const auto found = Mailboxes.find(mailbox);
    return found == Mailboxes.end() ? INVALID_HANDLE_VALUE : found->second;
}

TMailboxId TWin32MailslotTransport::OpenMailbox(std::string_view box) {
    const TMailslotPath path{".", std::string(box)};
    if (!path.Valid()) {
        return InvalidMailboxId;
    }
    // No size limit (0) and reads that never wait (0).
    void* const systemHandle = CreateMailslotA(path.ToString().c_str(), 0, 0, nullptr);
    if (systemHandle == INVALID_HANDLE_VALUE) {
        return InvalidMailboxId;
    }
    std::lock_guard lock(Mutex);
    const TMailboxId id = NextMailbox++;
    Mailboxes.emplace(id, systemHandle);
    return id;
}

std::optional<TMailslotInfo> TWin32MailslotTransport::Pending(TMailboxId mailbox) {
    void* const systemHandle = SystemHandle(mailbox);
    DWORD nextSize = 0;
    DWORD messageCount = 0;
    if (systemHandle == INVALID_HANDLE_VALUE ||
        !GetMailslotInfo(systemHandle, nullptr, &nextSize, &messageCount, nullptr)) {
        return std::nullopt;
    }
    if (nextSize == MAILSLOT_NO_MESSAGE) {
        return TMailslotInfo{0, 0};
    }
    return TMailslotInfo{static_cast<std::int32_t>(messageCount), nextSize};
}

std::optional<std::uint32_t> TWin32MailslotTransport::Take(TMailboxId mailbox, std::span<char> buffer) {
    void* const systemHandle = SystemHandle(mailbox);
    DWORD bytesRead = 0;
    if (systemHandle == INVALID_HANDLE_VALUE ||
        !ReadFile(systemHandle, buffer.data(), static_cast<DWORD>(buffer.size()), &bytesRead, nullptr)) {
        return std::nullopt;
    }
    return bytesRead;
}

TSendResult TWin32MailslotTransport::Send(const TMailslotPath& target, std::string_view bytes) {
    if (!target.Valid()) {
        return TSendResult::Unopened("not a mailbox path: " + target.ToString());
    }
    void* const systemHandle = CreateFileA(target.ToString().c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                           CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (systemHandle == INVALID_HANDLE_VALUE) {
        return TSendResult::Unopened("the system refused to open it (error " +
                                     std::to_string(GetLastError()) + ")");
    }
    DWORD written = 0;
    const bool wrote =
        WriteFile(systemHandle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    const DWORD error = GetLastError();
    // The target serves exactly this one write; keeping it open would leak one per message.
    CloseHandle(systemHandle);
    if (!wrote) {
        return TSendResult::Refused("the system refused the write (error " + std::to_string(error) + ")");
    }
    return written == bytes.size() ? TSendResult::Ok() : TSendResult::Refused("only part of it was written");
}

void TWin32MailslotTransport::Close(TMailboxId mailbox) {
    void* systemHandle = INVALID_HANDLE_VALUE;
    {
        std::lock_guard lock(Mutex);
        const auto found = Mailboxes.find(mailbox);
        if (found == Mailboxes.end()) {
            return;
        }
        systemHandle = found->second;
        Mailboxes.erase(found);
    }
    CloseHandle(systemHandle);
}

std::size_t TWin32MailslotTransport::MaxWriteSize(const TMailslotPath& target) const {
    return target.IsLocal() ? std::numeric_limits<std::size_t>::max() : WindowsMaxMessageSize;
}
