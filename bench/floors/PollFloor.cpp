// PollFloor: a process that blocks in poll() with nothing to wait for, until a signal ends it. The
// idle console client is set beside it: any wake-up above this one's zero is the program's own.
#include <poll.h>

int main() {
    for (;;) {
        poll(nullptr, 0, -1);
    }
}
