// Dropping capabilities with libcap.
#include "messenger/transport/udp/Capabilities.h"

#include <sys/capability.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <type_traits>

TPortCapabilities HeldPortCapabilities() {
    const std::unique_ptr<std::remove_pointer_t<cap_t>, decltype(&cap_free)> held(cap_get_proc(), &cap_free);
    const auto has = [&held](cap_value_t capability) {
        cap_flag_value_t value = CAP_CLEAR;
        return held && cap_get_flag(held.get(), capability, CAP_EFFECTIVE, &value) == 0 && value == CAP_SET;
    };
    return {has(CAP_NET_BIND_SERVICE), has(CAP_NET_RAW)};
}

std::string DropCapabilities() {
    // cap_init() is the empty set; setting it as the process's clears the permitted set too, so the
    // capabilities cannot be raised again.
    const std::unique_ptr<std::remove_pointer_t<cap_t>, decltype(&cap_free)> none(cap_init(), &cap_free);
    if (!none || cap_set_proc(none.get()) != 0) {
        return std::string("cannot give up the capabilities: ") + std::strerror(errno);
    }
    return {};
}
