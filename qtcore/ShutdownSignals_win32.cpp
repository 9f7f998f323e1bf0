// The end of a session on Windows. A console program hears Ctrl+C, Ctrl+Break, its console's closing, log-off
// and shut-down through a console control handler, which the system calls on a thread of its own; every
// program hears log-off and shut-down as WM_ENDSESSION on its top-level windows, here a hidden one of its
// own.
#include <windows.h>

#include <QMetaObject>
#include <QObject>
#include <mutex>
#include <utility>

#include "qtcore/ShutdownSignals.h"

namespace {

class TShutdownWatcher;

std::mutex CurrentMutex;
TShutdownWatcher* Current = nullptr;  ///< the one context's watcher, while it lives

constexpr char WindowClass[] = "KestrinShutdownWatcher";

class TShutdownWatcher final : public QObject {
public:
    TShutdownWatcher(QObject& context, std::function<void()> onShutdown)
        : QObject(&context), OnShutdown(std::move(onShutdown)) {
        WNDCLASSEXA windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = &TShutdownWatcher::WindowProcedure;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = WindowClass;
        RegisterClassExA(&windowClass);  // fails harmlessly when a watcher before this one registered it
        // Top-level and never shown: a message-only window would hear no WM_ENDSESSION.
        Window = CreateWindowExA(0, WindowClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                 windowClass.hInstance, nullptr);
        if (Window != nullptr) {
            SetWindowLongPtrA(Window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        }
        std::lock_guard lock(CurrentMutex);
        Current = this;
        SetConsoleCtrlHandler(&TShutdownWatcher::ConsoleHandler, TRUE);
    }

    ~TShutdownWatcher() override {
        {
            std::lock_guard lock(CurrentMutex);
            SetConsoleCtrlHandler(&TShutdownWatcher::ConsoleHandler, FALSE);
            Current = nullptr;
        }
        if (Window != nullptr) {
            DestroyWindow(Window);
        }
    }

private:
    static BOOL WINAPI ConsoleHandler(DWORD event) {
        {
            std::lock_guard lock(CurrentMutex);
            if (Current == nullptr) {
                return FALSE;
            }
            QMetaObject::invokeMethod(
                Current, [watcher = Current] { watcher->OnShutdown(); }, Qt::QueuedConnection);
        }
        // After the console closes, or at log-off or shut-down, the system ends the process as soon as this
        // returns: wait here, and the program ends the normal way meanwhile (the system waits a few seconds).
        if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT) {
            Sleep(INFINITE);
        }
        return TRUE;
    }

    static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        // The system may end the process as soon as every window has answered, so the call runs at once.
        if (message == WM_ENDSESSION && wParam != FALSE) {
            if (auto* watcher =
                    reinterpret_cast<TShutdownWatcher*>(GetWindowLongPtrA(window, GWLP_USERDATA))) {
                watcher->OnShutdown();
            }
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }

    std::function<void()> OnShutdown;
    HWND Window = nullptr;
};

}  // namespace

void OnShutdownSignals(QObject& context, std::function<void()> onShutdown) {
    new TShutdownWatcher(context, std::move(onShutdown));
}
