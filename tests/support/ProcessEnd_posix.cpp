#include <csignal>

#include "tests/support/ProcessEnd.h"

void AskThisProcessToEnd() {
    std::raise(SIGTERM);
}
