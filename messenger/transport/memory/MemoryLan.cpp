// The simulated LAN: routes each written datagram to the mailboxes it is addressed to.
#include "messenger/transport/memory/MemoryLan.h"

#include <utility>

#include "messenger/MailslotPath.h"
#include "messenger/transport/memory/MemoryComputer.h"

TMemoryLan::TMemoryLan() = default;
TMemoryLan::~TMemoryLan() = default;

TMemoryComputer& TMemoryLan::AddComputer(const std::string& name) {
    std::lock_guard lock(Mutex);
    Computers.push_back(std::make_unique<TMemoryComputer>(*this, name));
    return *Computers.back();
}

void TMemoryLan::SetLoss(TLossFilter filter) {
    std::lock_guard lock(Mutex);
    Loss = std::move(filter);
}

std::vector<TMemoryDatagram> TMemoryLan::Traffic() const {
    std::lock_guard lock(Mutex);
    return Written;
}

void TMemoryLan::SetRecording(bool on) {
    std::lock_guard lock(Mutex);
    Recording = on;
}

void TMemoryLan::ClearTraffic() {
    std::lock_guard lock(Mutex);
    Written.clear();
}

void TMemoryLan::Deliver(const std::string& from, const TMailslotPath& target, TMemoryDatagram datagram) {
    // Called with Mutex held by the writing computer.
    for (const auto& computer : Computers) {
        const bool addressed = target.IsBroadcast() || (target.IsLocal() && computer->Name() == from) ||
                               EqualsIgnoringCase(target.Server, computer->Name());
        if (!addressed || (Loss && Loss(datagram, computer->Name()))) {
            continue;
        }
        computer->Receive(target.Box, datagram.Bytes);
    }
    if (Recording) {
        Written.push_back(std::move(datagram));
    }
}
