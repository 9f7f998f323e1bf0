// Encoding, routing and sending one mailslot write, waiting a bounded time for room.
#include "messenger/transport/udp/DatagramSender.h"

#include <random>

#include "messenger/transport/udp/MailslotDatagram.h"
#include "messenger/transport/udp/UdpSocket.h"

namespace {

// Interfaces rarely change; listing them costs about 90 us, too much to pay for every datagram.
constexpr auto InterfaceListLifetime = std::chrono::seconds(2);

}  // namespace

TDatagramSender::TDatagramSender(std::string computerName, const TUdpSettings& settings,
                                 const TPeerAddressBook& peers)
    : ComputerName(std::move(computerName)), Settings(settings), Peers(peers) {
    // Datagram ids pair copies of one datagram; starting at random keeps a restarted copy's ids apart.
    NextDatagramId = static_cast<std::uint16_t>(std::random_device{}());
}

void TDatagramSender::Use(int socket, std::uint16_t port) {
    std::lock_guard lock(Mutex);
    Borrowed = {socket, port};
}

void TDatagramSender::StopUsing() {
    std::lock_guard lock(Mutex);
    Borrowed = {};
}

TDatagramSender::TSocket TDatagramSender::SendSocket() {
    if (Borrowed.Descriptor >= 0) {
        return Borrowed;
    }
    // A send from a copy that does not listen, or the goodbye after the mailbox closed. One that failed
    // to open is tried again at the next send.
    if (!Spare.Valid()) {
        TUdpSocket opened = OpenSendSocket();
        if (opened.Socket.Valid()) {
            ReportSendErrors(opened.Socket.Get());
        }
        Spare = std::move(opened.Socket);
        SparePort = opened.Port;
    }
    return {Spare.Get(), SparePort};
}

TSendResult TDatagramSender::Send(std::string_view server, std::string_view box, std::string_view bytes) {
    const std::string boxName(box);
    if (bytes.size() > MaxMailslotDataSize(MailslotWireName(boxName).size())) {
        return TSendResult::Refused("longer than one datagram carries");
    }
    std::lock_guard lock(Mutex);
    const TSocket sender = SendSocket();
    if (sender.Descriptor < 0) {
        return TSendResult::Refused("no socket to send from");
    }
    const TRoute route = Route(server, ComputerName, Interfaces(), Peers, Settings);
    if (route.Destinations.empty()) {
        return TSendResult::Refused("no network to send on is up");
    }
    TMailslotDatagram datagram;
    datagram.Type = route.Type;
    datagram.DatagramId = NextDatagramId++;
    // The header names the port the datagram really leaves from.
    datagram.SourcePort = sender.Port;
    datagram.SourceName = {ComputerName, 0x00};
    datagram.DestinationName = route.DestinationName;
    datagram.MailslotName = MailslotWireName(boxName);
    datagram.Data = std::string(bytes);
    // One deadline for every copy: a write waits at most this long in all, whatever the networks.
    const auto deadline = std::chrono::steady_clock::now() + RoomWait;
    TSendResult result = TSendResult::Refused("no destination");
    bool anySent = false;
    for (const auto& destination : route.Destinations) {
        datagram.SourceAddress = destination.SourceAddress;
        TSendResult copy =
            SendWhenRoom(sender.Descriptor, EncodeMailslotDatagram(datagram), destination.Address, Settings.Port,
                         deadline);
        anySent = anySent || copy.Sent();
        if (!copy.Sent()) {
            result = std::move(copy);
        }
    }
    // A broadcast that left on one network of several did reach the office; the others are said by the
    // interface check.
    return anySent ? TSendResult::Ok() : result;
}

bool TDatagramSender::ReachesOtherComputers() {
    std::lock_guard lock(Mutex);
    return !Interfaces().empty();
}

void TDatagramSender::ForgetInterfaces() {
    std::lock_guard lock(Mutex);
    InterfacesListed = false;
}

const std::vector<TIpv4Interface>& TDatagramSender::Interfaces() {
    const auto now = std::chrono::steady_clock::now();
    if (!InterfacesListed || now - InterfacesListedAt > InterfaceListLifetime) {
        InterfaceList = BroadcastInterfaces(Settings.Interfaces);
        InterfacesListedAt = now;
        InterfacesListed = true;
    }
    return InterfaceList;
}
