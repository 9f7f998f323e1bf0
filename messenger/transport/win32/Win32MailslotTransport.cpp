// Windows mailslots behind the transport interface.
#include <windows.h>
// <windows.h> maps these names to their ANSI or wide functions; here they must name the transport's
// operations, and the system functions are called by their explicit A names.
#undef CreateMailslot
#undef CreateFile

#include <string>

#include "messenger/transport/win32/Win32MailslotTransport.h"

TWin32MailslotTransport::~TWin32MailslotTransport() {
    for (const auto& [handle, systemHandle] : Handles) {
        ::CloseHandle(systemHandle);
    }
}

TMailslotHandle TWin32MailslotTransport::Register(void* systemHandle) {
    if (systemHandle == INVALID_HANDLE_VALUE) {
        return InvalidMailslotHandle;
    }
    std::lock_guard lock(Mutex);
    const TMailslotHandle handle = NextHandle++;
    Handles.emplace(handle, systemHandle);
    return handle;
}

void* TWin32MailslotTransport::SystemHandle(TMailslotHandle handle) const {
    std::lock_guard lock(Mutex);
    const auto found = Handles.find(handle);
    return found == Handles.end() ? INVALID_HANDLE_VALUE : found->second;
}

TMailslotHandle TWin32MailslotTransport::CreateMailslot(std::string_view path, std::uint32_t maxMessageSize,
                                                        std::uint32_t readTimeout) {
    const std::string name(path);
    return Register(CreateMailslotA(name.c_str(), maxMessageSize, readTimeout, nullptr));
}

std::optional<TMailslotInfo> TWin32MailslotTransport::GetMailslotInfo(TMailslotHandle mailbox) {
    void* const systemHandle = SystemHandle(mailbox);
    DWORD nextSize = 0;
    DWORD messageCount = 0;
    if (systemHandle == INVALID_HANDLE_VALUE ||
        !::GetMailslotInfo(systemHandle, nullptr, &nextSize, &messageCount, nullptr)) {
        return std::nullopt;
    }
    if (nextSize == MAILSLOT_NO_MESSAGE) {
        return TMailslotInfo{0, 0};
    }
    return TMailslotInfo{static_cast<std::int32_t>(messageCount), nextSize};
}

std::optional<std::uint32_t> TWin32MailslotTransport::ReadFile(TMailslotHandle mailbox, std::span<char> buffer) {
    void* const systemHandle = SystemHandle(mailbox);
    DWORD bytesRead = 0;
    if (systemHandle == INVALID_HANDLE_VALUE ||
        !::ReadFile(systemHandle, buffer.data(), static_cast<DWORD>(buffer.size()), &bytesRead, nullptr)) {
        return std::nullopt;
    }
    return bytesRead;
}

TMailslotHandle TWin32MailslotTransport::CreateFile(std::string_view path) {
    const std::string name(path);
    return Register(CreateFileA(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
}

TSendResult TWin32MailslotTransport::WriteFile(TMailslotHandle target, std::string_view bytes) {
    void* const systemHandle = SystemHandle(target);
    if (systemHandle == INVALID_HANDLE_VALUE) {
        return TSendResult::Refused("not a handle opened for writing");
    }
    DWORD written = 0;
    if (!::WriteFile(systemHandle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)) {
        return TSendResult::Refused("the system refused the write (error " + std::to_string(GetLastError()) + ")");
    }
    return written == bytes.size() ? TSendResult::Ok() : TSendResult::Refused("only part of it was written");
}

void TWin32MailslotTransport::CloseHandle(TMailslotHandle handle) {
    void* systemHandle = INVALID_HANDLE_VALUE;
    {
        std::lock_guard lock(Mutex);
        const auto found = Handles.find(handle);
        if (found == Handles.end()) {
            return;
        }
        systemHandle = found->second;
        Handles.erase(found);
    }
    ::CloseHandle(systemHandle);
}
