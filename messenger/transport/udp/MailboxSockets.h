// What the own mailbox needs from the system, opened in one go so that a program can give up its
// privileges right after: the UDP port (or, beside a name server that holds it, a raw receiver), a socket
// to send from, the name-service port, and the lock that keeps one copy per computer.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "messenger/transport/udp/FileDescriptor.h"
#include "messenger/transport/udp/UdpSettings.h"

struct TMailboxSockets {
    TFileDescriptor Lock;               ///< held while the mailbox is open
    TFileDescriptor Receiver;           ///< the mailbox's datagrams arrive here
    TFileDescriptor BroadcastReceiver;  ///< and, listening on one address only, its broadcasts here
    bool Raw = false;                   ///< each read from Receiver starts with the IP and UDP headers
    /// For a raw Receiver listening on one address only: the destinations it takes (the address, its
    /// broadcast address and the limited broadcast); empty: all of them.
    std::vector<std::uint32_t> RawDestinations;
    TFileDescriptor Sender;  ///< invalid: datagrams leave from Receiver
    std::uint16_t SendPort = 0;
    std::uint16_t ReceivePort = 0;
    TFileDescriptor NameService;           ///< the name-service port, when this copy could take it
    TFileDescriptor NameServiceBroadcast;  ///< its broadcasts, listening on one address only
    /// Set when another program holds the name-service port: that program ("nmbd (process 1234)"), or
    /// empty when it cannot be seen. Looked up now, while this process may still look into others.
    std::optional<std::string> NameServiceHolder;
    std::string Error;  ///< why the mailbox cannot be opened, in words a user can act on

    int SendSocket() const { return Sender.Valid() ? Sender.Get() : Receiver.Get(); }
};

/// Whether a copy of Kestrin has its mailbox open on `port` of this computer (looked at, not taken).
bool MailboxLockHeld(std::uint16_t port);

/// Opens the mailbox's sockets for `settings`. When another program (Samba's nmbd, typically) holds the
/// datagram port, the datagrams are read beside it from a raw socket and sent from a port of their own.
TMailboxSockets OpenMailboxSockets(const TUdpSettings& settings);
