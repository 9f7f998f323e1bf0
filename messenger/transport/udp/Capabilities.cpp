// Dropping capabilities with libcap.
#include "messenger/transport/udp/Capabilities.h"

#include <sys/capability.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <type_traits>

std::string DropCapabilities() {
    // cap_init() is the empty set; setting it as the process's clears the permitted set too, so the
    // capabilities cannot be raised again.
    const std::unique_ptr<std::remove_pointer_t<cap_t>, decltype(&cap_free)> none(cap_init(), &cap_free);
    if (!none || cap_set_proc(none.get()) != 0) {
        return std::string("cannot give up the capabilities: ") + std::strerror(errno);
    }
    return {};
}
