// Fuzzes splitting and header reading, and a messenger that receives the bytes as a datagram.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string_view>

#include "messenger/CallQueue.h"
#include "messenger/MessageText.h"
#include "messenger/transport/memory/MemoryComputer.h"
#include "messenger/transport/memory/MemoryLan.h"
#include "tests/support/ExposedMessenger.h"
#include "tests/support/FixedSystem.h"

namespace {

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// One computer whose messenger reads every input, and one that sends it. The messenger is rebuilt
// now and then so that its list of computers cannot grow without bound over a long run.
struct TFuzzWorld {
    TFuzzWorld() { Lan.SetRecording(false); }

    TExposedMessenger& Messenger() {
        if (!Receiver || ++Uses % 4096 == 0) {
            if (Receiver) {
                Own.CloseHandle(Receiver->SlotHandle);
            }
            Receiver.reset();
            Receiver = std::make_unique<TExposedMessenger>(TMessengerEnvironment{Own, Queue, System});
            Receiver->OnNewMemo = [](TMainMessenger&, const std::string&, const std::string&, const TStringList&) {};
            Receiver->OnNewLine = [](TMainMessenger&, const std::string&, const std::string&, const std::string&) {};
            Receiver->SlotHandle = Own.CreateMailslot("\\\\.\\mailslot\\SignalBox", 0, 0);
            Require(Receiver->SlotHandle != InvalidMailslotHandle);
        }
        return *Receiver;
    }

    TMemoryLan Lan;
    TMemoryComputer& Own = Lan.AddComputer("WS01");
    TMemoryComputer& Peer = Lan.AddComputer("WS02");
    TCallQueue Queue;
    TFixedSystem System{"WS01"};
    std::unique_ptr<TExposedMessenger> Receiver;
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
    TExposedMessenger& messenger = world.Messenger();
    const auto target = world.Peer.CreateFile("\\\\WS01\\mailslot\\SignalBox");
    world.Peer.WriteFile(target, bytes);
    world.Peer.CloseHandle(target);
    // An answer addressed to a name that matches this computer lands here too; it carries the own
    // name and is ignored, so this settles within a few reads.
    for (int read = 0; read < 4; ++read) {
        const auto info = world.Own.GetMailslotInfo(messenger.SlotHandle);
        if (!info || info->MessageCount == 0) {
            break;
        }
        messenger.NextSize = info->NextSize;
        messenger.ReadMessage();
    }
    const TStringList& users = messenger.UserList;
    for (std::size_t i = 0; i < users.size(); ++i) {
        Require(users[i] != messenger.Computer());
        for (std::size_t j = i + 1; j < users.size(); ++j) {
            Require(users[i] != users[j]);
        }
    }
    Require(messenger.InLines.empty() && messenger.OutLines.empty());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static TFuzzWorld world;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CheckPureFunctions(bytes);
    DeliverToMessenger(world, bytes);
    return 0;
}
