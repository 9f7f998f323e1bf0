// kestrin-cli doctor on Windows. Its checks are those of a Linux computer (the ports and who holds them, the
// capabilities, the interfaces, the firewall rules); on Windows the system's own mailslots carry the memos.
#include "cli/Commands.h"
#include "cli/Doctor.h"
#include "cli/Output.h"

TDoctorLook TakeDoctorLook(const TUdpSettings& /*settings*/) {
    return {};
}

int RunDoctor(TCliSession& /*session*/, const TCliCommand& /*command*/, const TDoctorLook& /*look*/,
              QCoreApplication& /*app*/) {
    PrintError(
        "kestrin-cli: doctor checks the network set-up of a Linux computer; on Windows the system's own "
        "mailslots carry the memos\n");
    return ExitCode::Failed;
}
