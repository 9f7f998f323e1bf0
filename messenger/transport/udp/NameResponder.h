// Answers NetBIOS name queries for the own computer name, so that Windows hosts can reach it directly, and
// asks at start whether another computer answers to that name too.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

#include "messenger/transport/udp/FileDescriptor.h"
#include "messenger/transport/udp/UdpSettings.h"

class TNameResponder {
public:
    /// Starts answering on the name-service port; nothing when the port cannot be bound (no privilege,
    /// or another name server holds it), in which case the program does without.
    static std::unique_ptr<TNameResponder> Start(const std::string& computerName,
                                                 const TUdpSettings& settings);
    ~TNameResponder();

    TNameResponder(TFileDescriptor socket, std::string computerName, TUdpSettings settings);

private:
    void Serve(std::stop_token stop);
    void Answer(std::string_view request, const struct sockaddr_in& from);

    TFileDescriptor Socket;
    TWakeEvent Wake;
    const std::string OwnName;
    const TUdpSettings Settings;
    std::jthread Thread;
};

/// Asks the networks of `settings` once who holds `name` (a broadcast name query to the name-service port)
/// and gathers for `timeout` the addresses that answer, leaving out this computer's own (its own responder
/// answers too). Empty when the name service is turned off.
std::vector<std::uint32_t> FindNameHolders(const std::string& name, const TUdpSettings& settings,
                                           std::chrono::milliseconds timeout);

/// The warning about a name that other computers hold too; empty when `holders` is.
std::string NameConflictWarning(const std::string& name, const std::vector<std::uint32_t>& holders);

/// How long a copy waits at start for answers to its query about its own name.
inline constexpr std::chrono::milliseconds NameCheckTime{500};
