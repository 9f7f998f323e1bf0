// kestrin-cli doctor: "why can't I see my colleague's computer?", answered one check per line.
#pragma once

#include <QCoreApplication>
#include <cstdint>
#include <string>
#include <vector>

#include "cli/CliSession.h"
#include "cli/CommandLine.h"
#include "messenger/transport/udp/Capabilities.h"

/// What must be looked at before this process opens the ports itself and gives up its capabilities:
/// afterwards its own sockets would stand in the way, and other users' processes are closed to it.
struct TDoctorLook {
    struct TPort {
        std::uint16_t Number = 0;
        bool Held = false;
        bool HeldByKestrin = false;  ///< a copy of Kestrin has its mailbox, or the port, open
        std::string Holder;          ///< "nmbd (process 1234)"; empty when it cannot be seen
    };
    TPortCapabilities Capabilities;
    std::vector<TPort> Ports;  ///< the datagram port, then the name-service port if it is on
};
TDoctorLook TakeDoctorLook(const TUdpSettings& settings);

/// Runs every check and the round trip, prints them (plain, or one JSON object per line) and returns
/// 0 when all is well, 1 when something needs the user.
int RunDoctor(TCliSession& session, const TCliCommand& command, const TDoctorLook& look,
              QCoreApplication& app);
