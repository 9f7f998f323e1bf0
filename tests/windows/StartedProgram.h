// What the Windows tests share: the desktop program started as a user starts it, for the tests that look at
// its window and its end, and the registry values they read.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

constexpr char RunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char SettingsKey[] = "Software\\Olvanta\\Kestrin\\General";

/// A text value of the registry; nothing when it is absent or not a text.
std::optional<std::string> RegistryText(HKEY root, const char* key, const char* name);

/// A program (`kestrin.exe`, a setup program) started with only the system's folders on its PATH, so that it
/// loads its DLLs from beside itself or not at all. A test that leaves it running ends it by force (exit
/// code 99).
class TStartedProgram {
public:
    explicit TStartedProgram(const std::string& path, const std::string& arguments = {});
    ~TStartedProgram();
    TStartedProgram(const TStartedProgram&) = delete;
    TStartedProgram& operator=(const TStartedProgram&) = delete;

    bool Started() const { return Process.hProcess != nullptr; }
    /// Its main window, titled "Kestrin v1.0", once it shows; nullptr when the program ended first or no
    /// window came within a minute.
    HWND WaitForWindow();
    /// Presses Ctrl+Q in `window` until the program ends (Escape first in the message box that holds the
    /// keys under Wine); true when it ended.
    bool PressCtrlQUntilItEnds(HWND window);
    bool WaitForEnd(DWORD milliseconds);
    /// The exit code once it ended.
    DWORD ExitCode() const;

private:
    PROCESS_INFORMATION Process{};
};

/// The whole check of a copy of the desktop program: its window shows under its title, and Ctrl+Q ends it
/// with exit code 0.
void ExpectWindowThenCleanEndOnCtrlQ(const std::string& program);
