// Windows sends WM_ENDSESSION to every top-level window of a program at log-off; here to the test thread's.
#include <windows.h>

#include "tests/support/ProcessEnd.h"

void AskThisProcessToEnd() {
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM) -> BOOL {
            SendMessageA(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
            return TRUE;
        },
        0);
}
