// Answers NetBIOS name queries for the own computer name, so that Windows hosts can reach it directly, and
// asks at start whether another computer answers to that name too.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

#include "messenger/transport/udp/FileDescriptor.h"
#include "messenger/transport/udp/NetworkInterfaces.h"
#include "messenger/transport/udp/UdpSettings.h"
#include "messenger/transport/udp/UdpSocket.h"

class TNameResponder {
public:
    /// Starts answering on the name-service socket; nothing when there is none (no privilege, or another
    /// name server holds the port), in which case the program does without.
    /// `broadcasts`, when valid, is a second socket that only listens (see OpenBroadcastListener).
    static std::unique_ptr<TNameResponder> Start(TFileDescriptor socket, TFileDescriptor broadcasts,
                                                 const std::string& computerName,
                                                 const TUdpSettings& settings);
    ~TNameResponder();

    TNameResponder(TFileDescriptor socket, TFileDescriptor broadcasts, std::string computerName,
                   TUdpSettings settings);

private:
    void Serve(std::stop_token stop);
    void AnswerAll(int socket);
    void Answer(std::string_view request, const struct sockaddr_in& from);

    TFileDescriptor Socket;  ///< answers leave from here
    TFileDescriptor Broadcasts;
    TWakeEvent Wake;
    const std::string OwnName;
    const TUdpSettings Settings;
    std::jthread Thread;
};

/// Whether a name query from `source` is answered. The answer goes back to the source, so a query from an
/// address that is not one other computer's is ignored (forged, it would have the answer go to every
/// computer, or to this one): zero, loopback, multicast or reserved (the limited broadcast among them), a
/// network's or broadcast address of the networks `own`, or an address of this computer.
bool AnswersQueryFrom(std::uint32_t source, const std::vector<TIpv4Interface>& own);

/// The name-service port of `settings`, bound; no socket when it cannot be or the service is off.
TUdpSocket OpenNameServiceSocket(const TUdpSettings& settings);

struct TNameHolders {
    std::vector<std::uint32_t> Others;  ///< addresses of other computers that answered
    bool ThisComputer = false;          ///< one of this computer's own addresses answered
};

/// Asks the networks of `settings` once who holds `name` (a broadcast name query to the name-service port)
/// and gathers for `timeout` the addresses that answer. Nobody when the name service is turned off.
TNameHolders FindNameHolders(const std::string& name, const TUdpSettings& settings,
                             std::chrono::milliseconds timeout);

/// The warning about a name that other computers hold too, or that nothing on this computer answers to
/// while another program (`nameServer`, see TMailboxSockets) holds the name-service port; empty when all
/// is well.
std::string NameWarning(const std::string& name, const TNameHolders& holders,
                        const std::optional<std::string>& nameServer, std::uint16_t nameServicePort);

/// How long a copy waits at start for answers to its query about its own name.
inline constexpr std::chrono::milliseconds NameCheckTime{500};
