// NetBIOS name service: reading a query for a name and answering it with one IPv4 address.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "messenger/transport/udp/NetbiosName.h"

inline constexpr std::uint16_t NetbiosNamePort = 137;
/// Seconds a positive answer may be cached.
inline constexpr std::uint32_t NameQueryAnswerTtl = 300000;
inline constexpr std::size_t NameQueryResponseSize = 62;

struct TNameQuery {
    std::uint16_t TransactionId = 0;
    bool RecursionDesired = false;  ///< RD, echoed in the answer
    bool Broadcast = false;         ///< B, set on queries sent to the subnet
    TNetbiosName Name;

    friend bool operator==(const TNameQuery&, const TNameQuery&) = default;
};

/// The 50-byte request: one NB/IN question for the normalised name.
std::string EncodeNameQuery(const TNameQuery& query);

/// Nothing unless `bytes` is a request (not a response) with opcode 0 and exactly one question of
/// type NB, class IN, for an unscoped name. Answer, authority and additional counts are not read.
std::optional<TNameQuery> DecodeNameQuery(std::string_view bytes);

/// The 62-byte positive answer naming `address` (IPv4, host byte order) as a unique B-node: flags R|AA,
/// plus RD when the query had it.
std::string EncodeNameQueryResponse(const TNameQuery& query, std::uint32_t address);

struct TNameQueryAnswer {
    std::uint16_t TransactionId = 0;
    TNetbiosName Name;
    std::vector<std::uint32_t> Addresses;  ///< host byte order, one per address entry
};

/// Nothing unless `bytes` is a positive answer (response, opcode 0, no error code) with an NB/IN record
/// for an unscoped name.
std::optional<TNameQueryAnswer> DecodeNameQueryResponse(std::string_view bytes);
