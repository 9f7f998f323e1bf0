// kestrin-cli doctor: "why can't I see my colleague's computer?", answered one check per line.
#pragma once

#include <QCoreApplication>

#include "cli/CliSession.h"
#include "cli/CommandLine.h"
#include "qtcore/NetworkBackend.h"

/// Prints what the backend found (`diagnosis`, taken before this process opened its own mailbox), then the
/// checks of the running copy: the firewall, the settings, the computer name, a round trip, who answers, the
/// receive buffer and the sends. Plain, or one JSON object per line; returns 0 when all is well, 1 when
/// something needs the user.
int RunDoctor(TCliSession& session, const TCliCommand& command, const TNetworkDiagnosis& diagnosis,
              QCoreApplication& app);
