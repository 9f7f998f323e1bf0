// Answers NetBIOS name queries for the own computer name, so that Windows hosts can reach it directly.
#pragma once

#include <memory>
#include <stop_token>
#include <string>
#include <thread>

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
