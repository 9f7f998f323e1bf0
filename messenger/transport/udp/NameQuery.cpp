// Byte layout of the name query and its positive answer, all fields in network order.
#include "messenger/transport/udp/NameQuery.h"

#include "messenger/transport/udp/WireBytes.h"

using namespace WireBytes;

namespace {

constexpr std::size_t HeaderSize = 12;
constexpr std::uint16_t FlagResponse = 0x8000;
constexpr std::uint16_t OpcodeMask = 0x7800;
constexpr std::uint16_t FlagAuthoritative = 0x0400;
constexpr std::uint16_t FlagRecursionDesired = 0x0100;
constexpr std::uint16_t FlagBroadcast = 0x0010;
constexpr std::uint16_t ResultCodeMask = 0x000F;
constexpr std::uint16_t TypeNb = 0x0020;
constexpr std::uint16_t ClassIn = 0x0001;
constexpr std::uint16_t UniqueBNode = 0x0000;
constexpr std::uint16_t AddressEntrySize = 6;

void AppendHeader(std::string& out, std::uint16_t id, unsigned flags, unsigned questions, unsigned answers) {
    PutBig16(out, id);
    PutBig16(out, flags);
    PutBig16(out, questions);
    PutBig16(out, answers);
    PutBig16(out, 0);  // NSCOUNT
    PutBig16(out, 0);  // ARCOUNT
}

}  // namespace

std::string EncodeNameQuery(const TNameQuery& query) {
    std::string out;
    const unsigned flags =
        (query.RecursionDesired ? FlagRecursionDesired : 0u) | (query.Broadcast ? FlagBroadcast : 0u);
    AppendHeader(out, query.TransactionId, flags, 1, 0);
    AppendEncodedNetbiosName(out, query.Name);
    PutBig16(out, TypeNb);
    PutBig16(out, ClassIn);
    return out;
}

std::optional<TNameQuery> DecodeNameQuery(std::string_view bytes) {
    if (bytes.size() < HeaderSize) {
        return std::nullopt;
    }
    const std::uint16_t flags = Big16(bytes, 2);
    if ((flags & (FlagResponse | OpcodeMask)) != 0 || Big16(bytes, 4) != 1) {
        return std::nullopt;
    }
    // A scoped name is another name than ours, even with the same 16 bytes.
    const auto name = DecodeNetbiosName(bytes, HeaderSize);
    if (!name || !name->Scope.empty() || bytes.size() - name->End < 4 || Big16(bytes, name->End) != TypeNb ||
        Big16(bytes, name->End + 2) != ClassIn) {
        return std::nullopt;
    }
    TNameQuery query;
    query.TransactionId = Big16(bytes, 0);
    query.RecursionDesired = (flags & FlagRecursionDesired) != 0;
    query.Broadcast = (flags & FlagBroadcast) != 0;
    query.Name = name->Name;
    return query;
}

std::string EncodeNameQueryResponse(const TNameQuery& query, std::uint32_t address) {
    std::string out;
    out.reserve(NameQueryResponseSize);
    const unsigned flags =
        FlagResponse | FlagAuthoritative | (query.RecursionDesired ? FlagRecursionDesired : 0u);
    AppendHeader(out, query.TransactionId, flags, 0, 1);
    AppendEncodedNetbiosName(out, query.Name);
    PutBig16(out, TypeNb);
    PutBig16(out, ClassIn);
    PutBig32(out, NameQueryAnswerTtl);
    PutBig16(out, AddressEntrySize);
    PutBig16(out, UniqueBNode);
    PutBig32(out, address);
    return out;
}

std::optional<TNameQueryAnswer> DecodeNameQueryResponse(std::string_view bytes) {
    if (bytes.size() < HeaderSize) {
        return std::nullopt;
    }
    const std::uint16_t flags = Big16(bytes, 2);
    if ((flags & (FlagResponse | OpcodeMask | ResultCodeMask)) != FlagResponse || Big16(bytes, 6) == 0) {
        return std::nullopt;
    }
    // Name, type, class, TTL, then the length of the address entries that follow it.
    const auto name = DecodeNetbiosName(bytes, HeaderSize);
    if (!name || !name->Scope.empty() || bytes.size() - name->End < 10 || Big16(bytes, name->End) != TypeNb ||
        Big16(bytes, name->End + 2) != ClassIn) {
        return std::nullopt;
    }
    const std::size_t entries = name->End + 10;
    const std::size_t length = Big16(bytes, name->End + 8);
    if (length % AddressEntrySize != 0 || bytes.size() - entries < length) {
        return std::nullopt;
    }
    TNameQueryAnswer answer{Big16(bytes, 0), name->Name, {}};
    for (std::size_t at = entries; at < entries + length; at += AddressEntrySize) {
        answer.Addresses.push_back(Big32(bytes, at + 2));
    }
    return answer;
}
