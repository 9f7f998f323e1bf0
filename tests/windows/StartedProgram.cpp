#include "tests/windows/StartedProgram.h"

#include <gtest/gtest.h>

#include <cstdlib>

TStartedProgram::TStartedProgram(const std::string& path, const std::string& arguments) {
    std::string environment;
    for (const char* variable : {"SystemRoot", "windir", "TEMP", "USERPROFILE", "DISPLAY"}) {
        if (const char* value = std::getenv(variable)) {
            environment += std::string(variable) + "=" + value + '\0';
        }
    }
    environment += std::string("PATH=C:\\windows\\system32;C:\\windows") + '\0';
    std::string command = "\"" + path + "\"" + (arguments.empty() ? "" : " " + arguments);
    STARTUPINFOA start{};
    start.cb = sizeof start;
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, environment.data(), nullptr,
                        &start, &Process)) {
        Process = {};
    }
}

TStartedProgram::~TStartedProgram() {
    if (!Started()) {
        return;
    }
    if (!WaitForEnd(0)) {
        TerminateProcess(Process.hProcess, 99);
    }
    CloseHandle(Process.hThread);
    CloseHandle(Process.hProcess);
}

HWND TStartedProgram::WaitForWindow() {
    for (int wait = 0; Started() && wait < 600; ++wait) {
        if (WaitForEnd(100)) {
            return nullptr;  // it ended without a window
        }
        if (HWND window = FindWindowA(nullptr, "Kestrin v1.0")) {
            return window;
        }
    }
    return nullptr;
}

bool TStartedProgram::PressCtrlQUntilItEnds(HWND window) {
    INPUT keys[6] = {};
    for (INPUT& key : keys) {
        key.type = INPUT_KEYBOARD;
    }
    keys[0].ki.wVk = keys[3].ki.wVk = VK_CONTROL;
    keys[1].ki.wVk = keys[2].ki.wVk = 'Q';
    keys[2].ki.dwFlags = keys[3].ki.dwFlags = KEYEVENTF_KEYUP;
    keys[4].ki.wVk = keys[5].ki.wVk = VK_ESCAPE;
    keys[5].ki.dwFlags = KEYEVENTF_KEYUP;
    // Typed again while the program runs: keys that come before its window takes the focus go elsewhere.
    bool ended = WaitForEnd(0);
    for (int attempt = 0; window != nullptr && !ended && attempt < 20; ++attempt) {
        // Under Wine no announcement leaves (it opens only this computer's mailslots), and the window says so
        // once in its message box, which holds the keys until Escape closes it.
        if (HWND box = FindWindowA(nullptr, "Kestrin")) {
            SetForegroundWindow(box);
            SendInput(2, keys + 4, sizeof(INPUT));
        }
        SetForegroundWindow(window);
        SendInput(4, keys, sizeof(INPUT));
        ended = WaitForEnd(3000);
    }
    return ended;
}

std::optional<std::string> RegistryText(HKEY root, const char* key, const char* name) {
    char value[1024];
    DWORD size = sizeof value;
    if (RegGetValueA(root, key, name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return value;
}

bool TStartedProgram::WaitForEnd(DWORD milliseconds) {
    return Started() && WaitForSingleObject(Process.hProcess, milliseconds) == WAIT_OBJECT_0;
}

DWORD TStartedProgram::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(Process.hProcess, &code);
    return code;
}

void ExpectWindowThenCleanEndOnCtrlQ(const std::string& program) {
    TStartedProgram started(program);
    ASSERT_TRUE(started.Started()) << program;
    const HWND window = started.WaitForWindow();
    EXPECT_NE(window, nullptr) << "no window titled Kestrin v1.0";
    const bool ended = started.PressCtrlQUntilItEnds(window);
    const bool windowLeft = window != nullptr && !IsWindow(window);
    EXPECT_TRUE(ended) << (windowLeft ? "its window closed, but it did not end" : "its window stayed");
    if (ended) {
        EXPECT_EQ(started.ExitCode(), 0u);
    }
}
