// The Windows backends on the system's own calls: the mailslots under the messenger, the computer's names,
// the settings in the registry, the Run key and the code pages.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "messenger/transport/win32/Win32MailslotTransport.h"
#include "qtcore/WireText.h"
#include "settings/StoredInteger.h"
#include "settings/registry/RegistrySettingsStore.h"
#include "startup/StartupRegistration.h"
#include "tests/support/TestPeer.h"
#include "tests/support/WireTextRows.h"
#include "tests/windows/StartedProgram.h"

namespace {

// Wine is not Windows: it opens only this computer's own mailslots (\\.\), none of \\*\ or \\NAME\.
bool UnderWine() {
    return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
}

/// What a command printed, as the console shows it.
std::string Output(const std::string& command) {
    std::string text;
    if (FILE* pipe = _popen(command.c_str(), "r")) {
        char buffer[512];
        for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
            text.append(buffer, got);
        }
        _pclose(pipe);
    }
    return text;
}

TEST(Win32Mailslots, HoldOneMailboxPerNameAndBringAMemoToThisComputerBack) {
    TWin32MailslotTransport transport;
    TCallQueue queue;
    const auto system = MakeLocalSystem();
    EXPECT_EQ(system->ComputerName(), std::getenv("COMPUTERNAME"));
    EXPECT_EQ(system->UserName(), std::getenv("USERNAME"));
    std::vector<std::string> events;
    TExposedMessenger own({transport, queue, *system}), second({transport, queue, *system});
    for (TExposedMessenger* messenger : {&own, &second}) {
        messenger->OnError = [&](auto&, auto& message) { events.push_back("error " + message); };
        messenger->OnNewMemo = [&](auto&, auto& from, auto&, auto& lines) {
            events.push_back("memo from " + from + " [" + TTestPeer::Joined(lines) + "]");
        };
        messenger->SetBoxName("KestrinTest");
    }
    const std::vector<std::string> remote =
        UnderWine() ? std::vector<std::string>{"error Could not Open a Remote Mail Slot"}
                    : std::vector<std::string>{};

    own.Activate();  // announces itself to every computer
    EXPECT_EQ(std::exchange(events, {}), remote);
    second.Activate();
    EXPECT_EQ(std::exchange(events, {}), std::vector<std::string>{"error Could not Create Mail Slot"});
    EXPECT_TRUE(own.Active() && !second.Active());

    own.SendMemoTo(".", {"Lunch?", "At one"});
    ASSERT_TRUE(PumpUntil(queue, [&] { return !events.empty(); }));
    EXPECT_EQ(events, std::vector<std::string>{"memo from " + system->ComputerName() + " [Lunch?|At one]"});
    events.clear();
    own.Deactivate();  // says goodbye to every computer, and frees the name
    EXPECT_EQ(events, remote);
    const TMailboxId again = transport.OpenMailbox("KestrinTest");
    EXPECT_NE(again, InvalidMailboxId);
    transport.Close(again);
}

TEST(RegistrySettingsStore, KeepsPopUpWhereRegQueryShowsItAndReadsTheTextsOthersStored) {
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Olvanta\\Kestrin");
    EXPECT_EQ(TRegistrySettingsStore().ReadPopUp(), std::nullopt);  // nothing stored: the flag stays on
    TRegistrySettingsStore().WritePopUp(PopUpToStoredText(false));
    EXPECT_EQ(TRegistrySettingsStore().ReadPopUp(), "0");  // as the next start reads it
    EXPECT_NE(Output("reg query HKCU\\Software\\Olvanta\\Kestrin\\General /v PopUp")
                  .find("    PopUp    REG_SZ    0"),
              std::string::npos);

    // Values another program or an older copy wrote, read by the rules of the settings file.
    const std::tuple<const char*, DWORD, std::string, std::optional<std::string>, bool> rows[] = {
        // what, type, data, read as (nothing: fails), pop-up
        {"with its terminating NUL", REG_SZ, std::string("0\0", 2), "0", false},
        {"text after a NUL", REG_SZ, std::string("$0\0 7", 5), "$0", false},
        {"expandable text", REG_EXPAND_SZ, "0x0", "0x0", false},
        {"empty", REG_SZ, "", "", true},
        {"a number, not a text", REG_DWORD, std::string(4, '\0'), std::nullopt, false},
        {"a word", REG_SZ, "no", "no", true},
    };
    for (const auto& [what, type, data, read, popUp] : rows) {
        ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, SettingsKey, "PopUp", type, data.data(),
                                  static_cast<DWORD>(data.size())),
                  ERROR_SUCCESS);
        if (!read) {
            EXPECT_THROW(TRegistrySettingsStore().ReadPopUp(), TSettingsError) << what;
            continue;
        }
        EXPECT_EQ(TRegistrySettingsStore().ReadPopUp(), read) << what;
        EXPECT_EQ(PopUpFromStoredText(*read), popUp) << what;
    }
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Olvanta\\Kestrin");
}

TEST(RunKeyStartup, RegistersThePathAsItStandsAndUnregisters) {
    const std::string program = RunningProgramPath();
    EXPECT_TRUE(program.ends_with("\\WindowsTest.exe")) << program;
    const auto startup = MakeStartupRegistration();
    startup->Unregister();  // nothing there: nothing happens
    EXPECT_FALSE(startup->IsRegistered());
    // This program; blanks, which stay unquoted; longer than the 256 bytes a value was once read into.
    for (const std::string& path : {program, std::string("C:\\Program Files\\Kestrin Chat\\kestrin.exe"),
                                    "C:\\" + std::string(300, 'k') + "\\kestrin.exe"}) {
        startup->Register(path);
        EXPECT_TRUE(startup->IsRegistered()) << path;
        EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, RunKey, "Kestrin"), path);
    }
    startup->Unregister();
    EXPECT_FALSE(startup->IsRegistered());
}

TEST(WindowsCodePages, ConvertWithTheSystemsTables) {
    const TWireTextRow rows[] = {
        {"Russian Windows", "cp1251", "\xcf\xf0\xe8\xe2\xe5\xf2", "Привет", "\xcf\xf0\xe8\xe2\xe5\xf2"},
        {"Japanese Windows", "windows-932", "\x93\xfa\x96\x7b", "日本", "\x93\xfa\x96\x7b"},
        {"beyond the code page, no look-alike", "windows-1252", "\xc4\x8d", "č", "\xc4\x8d"},
        {"a lead byte without its trail", "windows-936", "a\xb0", "a\u00b0", "a\xa1\xe3"},
    };
    ExpectWireTextRows(rows);
}

}  // namespace
