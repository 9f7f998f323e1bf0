// Fuzzes splitting and header reading, and a messenger that receives the bytes as a datagram.
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string_view>

#include "messenger/CallQueue.h"
#include "messenger/MessageText.h"
#include "messenger/transport/memory/MemoryComputer.h"
#include "messenger/transport/memory/MemoryLan.h"
#include "messenger/uniMessenger.h"
#include "tests/support/TestPeer.h"

namespace {

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// One computer whose active messenger reads every input through its own workers, and one that sends
// it. The messenger is rebuilt now and then so that its list of computers cannot grow without bound
// over a long run; every list it reports is checked.
struct TFuzzWorld {
    TFuzzWorld() { Lan.SetRecording(false); }

    TMessenger& Messenger() {
        if (!Receiver || ++Uses % 4096 == 0) {
            Receiver.reset();
            Receiver = std::make_unique<TMessenger>(TMessengerEnvironment{Own, Queue, System});
            Receiver->SetPresenceTiming(TPresenceTiming::Immediate());
            Receiver->SetInterval(60000);
            Receiver->OnUserListChange = [this](TMainMessenger&, const TStringList& users) {
                for (std::size_t i = 0; i < users.size(); ++i) {
                    Require(users[i] != System.Computer);
                    for (std::size_t j = i + 1; j < users.size(); ++j) {
                        Require(users[i] != users[j]);
                    }
                }
            };
            Receiver->Activate();
        }
        return *Receiver;
    }

    TMemoryLan Lan;
    TMemoryComputer& Own = Lan.AddComputer("WS01");
    TMemoryComputer& Peer = Lan.AddComputer("WS02");
    TCallQueue Queue;
    TFixedSystem System{"WS01"};
    std::unique_ptr<TMessenger> Receiver;
    unsigned Uses = 0;
};

void CheckPureFunctions(std::string_view bytes) {
    const TStringList lines = MessageText::Split(bytes);
    // Split lines hold no break and no NUL, so joining and splitting again changes nothing.
    Require(MessageText::Split(MessageText::Join(lines)) == lines);
    const auto header = MessageText::ReadHeader(lines);
    Require(header.has_value() == (lines.size() >= 4));
    if (header) {
        Require(header->MsgLines.size() == (lines.size() > 5 ? lines.size() - 5 : 0));
    }
}

void DeliverToMessenger(TFuzzWorld& world, std::string_view bytes) {
    world.Messenger();
    world.Peer.Send({"WS01", "SignalBox"}, bytes);
    // Served until the mailbox is empty. An answer addressed to a name that matches this computer lands
    // here too; it carries the own name and is ignored, so this settles within a few reads.
    while (world.Own.WaitingIn("SignalBox") != 0) {
        world.Queue.RunOne(std::chrono::seconds(1));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static TFuzzWorld world;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CheckPureFunctions(bytes);
    DeliverToMessenger(world, bytes);
    return 0;
}
