// Reading /proc/net/snmp and /proc/net/dev.
#include "bench/udp/NetCounters.h"

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

// /proc/net/snmp holds each protocol as a line of names followed by a line of values.
std::int64_t UdpField(const std::string& wanted) {
    std::ifstream file("/proc/net/snmp");
    std::string names;
    std::string values;
    while (std::getline(file, names)) {
        if (names.rfind("Udp: ", 0) != 0 || !std::getline(file, values)) {
            continue;
        }
        std::istringstream nameStream(names);
        std::istringstream valueStream(values);
        std::string name;
        std::string value;
        while (nameStream >> name && valueStream >> value) {
            if (name == wanted) {
                return std::stoll(value);
            }
        }
    }
    return 0;
}

// Columns after "iface:": rx bytes packets errs drop fifo frame compressed multicast, then tx bytes packets
// errs drop.
std::int64_t SumOfDeviceDrops() {
    std::ifstream file("/proc/net/dev");
    std::string line;
    std::int64_t drops = 0;
    while (std::getline(file, line)) {
        const auto colon = line.find(':');
        if (colon == std::string::npos) {
            continue;
        }
        std::istringstream fields(line.substr(colon + 1));
        std::vector<std::int64_t> numbers;
        std::int64_t number = 0;
        while (fields >> number) {
            numbers.push_back(number);
        }
        if (numbers.size() >= 12) {
            drops += numbers[3] + numbers[11];
        }
    }
    return drops;
}

}  // namespace

TNetCounters TNetCounters::Read() {
    return {UdpField("RcvbufErrors"), UdpField("SndbufErrors"), UdpField("InErrors"), SumOfDeviceDrops()};
}

TNetCounters TNetCounters::operator-(const TNetCounters& earlier) const {
    return {UdpReceiveBufferErrors - earlier.UdpReceiveBufferErrors,
            UdpSendBufferErrors - earlier.UdpSendBufferErrors, UdpInErrors - earlier.UdpInErrors,
            DeviceDrops - earlier.DeviceDrops};
}
