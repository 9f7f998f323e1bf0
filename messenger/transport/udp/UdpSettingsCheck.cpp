// [Network]: the ports, workgroup, interfaces, address and longest message of the UDP transport.
#include "messenger/transport/udp/UdpSettingsCheck.h"

#include <charconv>
#include <cstdint>
#include <optional>
#include <string_view>

#include "messenger/transport/udp/MailslotDatagram.h"
#include "messenger/transport/udp/NetworkInterfaces.h"

namespace {

std::string_view Trimmed(std::string_view text) {
    constexpr std::string_view blanks = " \t\r\n\v\f";
    const auto first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(blanks) + 1 - first);
}

// A whole number in decimal, with an optional sign, and blanks around it.
std::optional<long long> ParseWholeNumber(std::string_view text) {
    text = Trimmed(text);
    if (text.starts_with('+')) {
        text.remove_prefix(1);
    }
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

class TChecker {
public:
    explicit TChecker(const std::map<std::string, std::string>& raw) : Raw(raw) {}

    const std::string* Value(const std::string& key) const {
        const auto found = Raw.find(key);
        return found == Raw.end() ? nullptr : &found->second;
    }

    void Refuse(const std::string& key, const std::string& what, const std::string& fallback) {
        Problems.push_back("Network/" + key + " = \"" + *Value(key) + "\" is not " + what + "; using " +
                           fallback);
    }

    // A whole number from `lowest` to `highest`, else the fallback and a sentence saying that it is not
    // `what`.
    template <typename TNumber>
    TNumber Number(const std::string& key, TNumber fallback, long long lowest, long long highest,
                   const std::string& what) {
        const std::string* text = Value(key);
        if (text == nullptr) {
            return fallback;
        }
        const auto value = ParseWholeNumber(*text);
        if (!value || *value < lowest || *value > highest) {
            Refuse(key, what, std::to_string(fallback));
            return fallback;
        }
        return static_cast<TNumber>(*value);
    }

    std::uint16_t Port(const std::string& key, std::uint16_t fallback, long long lowest) {
        return Number(key, fallback, lowest, 65535, "a port number");
    }

    std::vector<std::string> Problems;

private:
    const std::map<std::string, std::string>& Raw;
};

std::vector<std::string> SplitList(std::string_view text) {
    std::vector<std::string> items;
    while (!text.empty()) {
        const auto comma = text.find(',');
        if (const auto item = Trimmed(text.substr(0, comma)); !item.empty()) {
            items.emplace_back(item);
        }
        text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
    }
    return items;
}

}  // namespace

TUdpSettingsCheck ValidateUdpSettings(const std::map<std::string, std::string>& raw) {
    TUdpSettingsCheck checked;
    TUdpSettings& settings = checked.Settings;
    TChecker check(raw);

    settings.Port = check.Port("Port", settings.Port, 1);
    settings.NameServicePort = check.Port("NameServicePort", settings.NameServicePort, 0);

    // Up to the 15 bytes that a NetBIOS name holds.
    if (const std::string* workgroup = check.Value("Workgroup")) {
        const std::string_view name = Trimmed(*workgroup);
        if (name.empty() || workgroup->size() > 15 || name.find('\\') != std::string_view::npos) {
            check.Refuse("Workgroup", "a workgroup name", settings.Workgroup);
        } else {
            settings.Workgroup = name;
        }
    }

    if (const std::string* interfaces = check.Value("Interfaces")) {
        settings.Interfaces = SplitList(*interfaces);
    }
    // Kept, since the interface may come later (a VPN, a dock), but said: a mistyped name would otherwise
    // leave the copy sending and hearing nothing without a word.
    for (const std::string& name : settings.Interfaces) {
        if (!InterfaceExists(name)) {
            check.Problems.push_back("Network/Interfaces: this computer has no interface \"" + name +
                                     "\" now; nothing is sent or heard on it");
        }
    }

    if (const std::string* address = check.Value("BindAddress")) {
        if (ParseIpv4(std::string(Trimmed(*address)))) {
            settings.BindAddress = Trimmed(*address);
        } else {
            check.Refuse("BindAddress", "an IPv4 address", settings.BindAddress);
        }
    }

    // Only a lift: below what Windows takes, memos the whole office could read would be refused. Above what
    // one datagram to the office's mailbox MB303 carries, nothing could be sent.
    const auto most = static_cast<long long>(MaxMailslotDataSize(MailslotWireName("MB303").size()));
    const auto least = static_cast<long long>(WindowsMaxMessageSize);
    settings.MaxMessageBytes =
        check.Number("MaxMessageBytes", settings.MaxMessageBytes, least, most,
                     "a number from " + std::to_string(least) + " to " + std::to_string(most));

    checked.Problems = std::move(check.Problems);
    return checked;
}
