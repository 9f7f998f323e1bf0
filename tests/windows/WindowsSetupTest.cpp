// The setup program as an administrator deploys it, silently, on the Wine folder's C: drive: what it
// installs and registers, the program it installed, an update over a running copy, and the uninstaller.
#include <gtest/gtest.h>
#include <shlobj.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "startup/StartupRegistration.h"
#include "tests/windows/StartedProgram.h"

namespace {

namespace fs = std::filesystem;

constexpr char UninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Kestrin";

/// The exit code of a program run to its end; nothing when it did not end in two minutes.
std::optional<DWORD> RunToEnd(const std::string& program, const std::string& arguments) {
    TStartedProgram run(program, arguments);
    return run.WaitForEnd(120000) ? std::optional(run.ExitCode()) : std::nullopt;
}

fs::path KnownFolder(REFKNOWNFOLDERID id) {
    PWSTR path = nullptr;
    fs::path folder;
    if (SUCCEEDED(SHGetKnownFolderPath(id, 0, nullptr, &path))) {
        folder = path;
    }
    CoTaskMemFree(path);
    return folder;
}

/// What a file holds: a shortcut holds the path of the program it starts.
std::string Bytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

/// What a run that failed half-way left, so that everything the setup should make is checked anew.
void RemoveInstallation(const fs::path& folder, const fs::path& menu) {
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, UninstallKey);
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\Olvanta\\Kestrin");
    RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, RunKey, "Kestrin");
    std::error_code ignored;
    fs::remove_all(folder, ignored);
    fs::remove_all(menu, ignored);
}

/// The files under `root`, as paths relative to it.
std::vector<fs::path> FilesUnder(const fs::path& root) {
    std::vector<fs::path> files;
    std::error_code missing;
    for (const auto& entry : fs::recursive_directory_iterator(root, missing)) {
        if (entry.is_regular_file()) {
            files.push_back(entry.path().lexically_relative(root));
        }
    }
    return files;
}

TEST(WindowsSetup, InstallsUpdatesOverARunningCopyAndUninstallsKeepingTheUsersSettings) {
    const std::string setup = fs::path(KESTRIN_SETUP).lexically_normal().string();
    const fs::path zipTree = fs::path(KESTRIN_ZIP_PROGRAM).lexically_normal().parent_path().parent_path();
    const fs::path folder = KnownFolder(FOLDERID_ProgramFiles) / "Kestrin";
    const fs::path menu = KnownFolder(FOLDERID_CommonPrograms) / "Kestrin";
    const std::string program = (folder / "bin" / "kestrin.exe").string();
    const std::string uninstallerPath = (folder / "Uninstall.exe").string();
    const std::string uninstaller = "\"" + uninstallerPath + "\"";  // as the uninstall entry quotes it
    RemoveInstallation(folder, menu);
    // A setting of the user's, which neither an update nor the uninstaller may take.
    ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, SettingsKey, "PopUp", REG_SZ, "0", 2), ERROR_SUCCESS);

    EXPECT_EQ(RunToEnd(setup, "/S /AUTOSTART=1"), 0u);
    // Every file the zip carries, the same bytes.
    for (const fs::path& file : FilesUnder(zipTree)) {
        std::error_code missing;
        EXPECT_EQ(fs::file_size(folder / file, missing), fs::file_size(zipTree / file)) << file;
    }
    EXPECT_NE(Bytes(menu / "Kestrin.lnk").find(program), std::string::npos);
    const std::pair<const char*, std::string> entry[] = {
        {"DisplayName", "Kestrin"},       {"DisplayVersion", KESTRIN_VERSION},
        {"Publisher", "Olvanta"},         {"DisplayIcon", program},
        {"UninstallString", uninstaller}, {"QuietUninstallString", uninstaller + " /S"},
    };
    for (const auto& [name, value] : entry) {
        EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, UninstallKey, name), value) << name;
    }
    // As the Options dialog reads it, and what it starts.
    EXPECT_TRUE(MakeStartupRegistration()->IsRegistered());
    EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, RunKey, "Kestrin"), program);

    {
        SCOPED_TRACE("the installed kestrin.exe");
        ExpectWindowThenCleanEndOnCtrlQ(program);
    }

    // The setup again, as an update, over a running copy, without the option: the copy ends with its goodbye
    // before its files are replaced, and the logon choice and the user's setting stay.
    {
        TStartedProgram running(program);
        ASSERT_NE(running.WaitForWindow(), nullptr);
        EXPECT_EQ(RunToEnd(setup, "/S"), 0u);
        EXPECT_TRUE(running.WaitForEnd(0)) << "the setup replaced the files of a running copy";
        EXPECT_EQ(running.ExitCode(), 0u);
    }
    EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, RunKey, "Kestrin"), program);
    EXPECT_EQ(RegistryText(HKEY_CURRENT_USER, SettingsKey, "PopUp"), std::string("0"));
    // Made again after the installed version's uninstaller removed it.
    EXPECT_NE(Bytes(menu / "Kestrin.lnk").find(program), std::string::npos);

    // A copy that does not end when asked, here a window of that class in this test that answers nothing:
    // the uninstaller stops before it removes anything, and says so in its exit code.
    {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "KestrinShutdownWatcher";
        RegisterClassA(&windowClass);
        const HWND deaf = CreateWindowExA(0, windowClass.lpszClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr,
                                          nullptr, windowClass.hInstance, nullptr);
        ASSERT_NE(deaf, nullptr);
        EXPECT_EQ(RunToEnd(uninstallerPath, "/S _?=" + folder.string()), 2u);
        DestroyWindow(deaf);
    }
    EXPECT_EQ(FilesUnder(folder).size(), FilesUnder(zipTree).size() + 1);
    EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, UninstallKey, "DisplayName"), std::string("Kestrin"));

    // The uninstaller, over a running copy too. _?= runs it in place, so that it is waited for; it cannot
    // remove itself then.
    {
        TStartedProgram running(program);
        ASSERT_NE(running.WaitForWindow(), nullptr);
        EXPECT_EQ(RunToEnd(uninstallerPath, "/S _?=" + folder.string()), 0u);
        EXPECT_TRUE(running.WaitForEnd(0)) << "the uninstaller removed the files of a running copy";
        EXPECT_EQ(running.ExitCode(), 0u);
    }
    EXPECT_EQ(FilesUnder(folder), std::vector<fs::path>{"Uninstall.exe"});
    EXPECT_FALSE(fs::exists(menu));
    EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, UninstallKey, "DisplayName"), std::nullopt);
    EXPECT_FALSE(MakeStartupRegistration()->IsRegistered());
    EXPECT_EQ(RegistryText(HKEY_CURRENT_USER, SettingsKey, "PopUp"), std::string("0"));
    RemoveInstallation(folder, menu);
}

}  // namespace
