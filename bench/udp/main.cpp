// UdpBench: Kestrin's messenger over real UDP, one role per copy, for the virtual-LAN benchmark.
#include <cstdio>
#include <string>

#include "bench/udp/BenchOptions.h"
#include "bench/udp/BenchPeer.h"
#include "bench/udp/Modes.h"
#include "bench/udp/StopSignals.h"
#include "messenger/CallQueue.h"

namespace {

int RunListen(TBenchPeer& peer) {
    std::printf("ready\n");
    std::fflush(stdout);
    peer.PumpUntilStopped();
    return ExitCode::Ok;
}

int Run(TBenchPeer& peer, const TBenchOptions& options) {
    if (options.Mode == "ping") {
        return RunPing(peer, options);
    }
    if (options.Mode == "echo") {
        return RunEcho(peer, options);
    }
    if (options.Mode == "burst-send") {
        return RunBurstSend(peer, options);
    }
    if (options.Mode == "burst-recv") {
        return RunBurstReceive(peer, options);
    }
    return RunListen(peer);
}

}  // namespace

int main(int argc, char** argv) {
    std::string error;
    const auto options = ParseBenchOptions(argc, argv, error);
    if (!options) {
        std::fprintf(error.empty() ? stdout : stderr, "%s%s%s",
                     error.empty() ? "" : "UdpBench: ", error.empty() ? "" : (error + "\n").c_str(),
                     BenchUsage);
        return error.empty() ? ExitCode::Ok : ExitCode::BadArguments;
    }
    if (options->Mode == "raw-ping" || options->Mode == "raw-echo" || options->Mode == "forge") {
        const int code = options->Mode == "raw-ping"   ? RunRawPing(*options)
                         : options->Mode == "raw-echo" ? RunRawEcho(*options)
                                                       : RunForge(*options);
        std::fflush(stdout);
        return code;
    }
    TCallQueue queue;
    TStopSignals stop(queue);
    TBenchPeer peer(*options, queue, stop);
    if (!peer.Activate(error)) {
        std::fprintf(stderr, "UdpBench: %s\n", error.c_str());
        return ExitCode::Failed;
    }
    const int code = Run(peer, *options);
    std::fflush(stdout);
    return code;
}
