// Which program holds a UDP port, for messages that tell the user what stands in the way.
#pragma once

#include <cstdint>
#include <string>

/// Whether any socket of this computer is bound to UDP `port` (on any address).
bool UdpPortHeld(std::uint16_t port);
/// The program holding UDP `port` on this computer, as "nmbd (process 1234)"; empty when it cannot be
/// seen (no socket on the port, or one of another user's processes that this one may not look into).
std::string UdpPortHolder(std::uint16_t port);
