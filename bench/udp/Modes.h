// The roles a UdpBench copy can play; each prints its figures as "key=value" lines and returns the exit code.
#pragma once

#include "bench/udp/BenchOptions.h"

class TBenchPeer;

namespace ExitCode {
inline constexpr int Ok = 0;
inline constexpr int Failed = 1;
inline constexpr int BadArguments = 2;
inline constexpr int Interrupted = 130;
}  // namespace ExitCode

int RunPing(TBenchPeer& peer, const TBenchOptions& options);
int RunEcho(TBenchPeer& peer, const TBenchOptions& options);
int RunBurstSend(TBenchPeer& peer, const TBenchOptions& options);
int RunBurstReceive(TBenchPeer& peer, const TBenchOptions& options);
// The plain-UDP floor: no messenger, so they take no peer.
int RunRawPing(const TBenchOptions& options);
int RunRawEcho(const TBenchOptions& options);
int RunForge(const TBenchOptions& options);
