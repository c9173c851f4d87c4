// The installer as a user meets it, run silently (/S): what lands in
// %LOCALAPPDATA%\Programs\Trackglow, the Start-menu entry, the start-up and
// uninstall registrations, the installed program starting as it would at
// log-on, an update over a used installation, and the uninstaller taking
// away exactly what was installed.
//
// The installation is the test prefix's one real installation, so every
// test starts and ends by removing whatever a previous run left behind.
#include "support/ChildProcess.h"
#include "support/E2e.h"

#include <gtest/gtest.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstdlib>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

using namespace e2e;

namespace {

constexpr char kUninstallKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Trackglow";
constexpr char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kRunValue[] = "Trackglow";
// Installing unpacks a few hundred kilobytes; on a crowded machine under
// Wine that can take a while, but never this long.
constexpr DWORD kInstallerMs = 120000;

std::string SetupPath() {
    const char* setup = std::getenv("TG_SETUP");
    if (setup == nullptr || *setup == '\0') {
        throw std::runtime_error("TG_SETUP is not set (run the test through CTest)");
    }
    return ToWindowsPath(setup);
}

std::string ShellFolder(int csidl) {
    char path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) {
        throw std::runtime_error("no shell folder " + std::to_string(csidl));
    }
    return path;
}

std::string InstallFolder() {
    return JoinPath(ShellFolder(CSIDL_LOCAL_APPDATA), "Programs\\Trackglow");
}

std::string InstalledFile(const std::string& name) {
    return JoinPath(InstallFolder(), name);
}

std::string ShortcutPath() {
    return JoinPath(ShellFolder(CSIDL_PROGRAMS), "Trackglow.lnk");
}

std::string Quoted(const std::string& path) {
    return "\"" + path + "\"";
}

// --- Registry ----------------------------------------------------------------

std::optional<std::string> UserRegistryString(const char* key, const char* value) {
    char data[1024] = {};
    DWORD size = sizeof data;
    if (RegGetValueA(HKEY_CURRENT_USER, key, value, RRF_RT_REG_SZ, nullptr, data, &size) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    return std::string(data);
}

bool UserRegistryKeyExists(const char* key) {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_READ, &opened) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(opened);
    return true;
}

// --- Files -------------------------------------------------------------------

// Every file below a folder as "sub\name" paths with their bytes, sorted by path.
void CollectFiles(const std::string& folder, const std::string& prefix,
                  std::vector<std::pair<std::string, std::string>>& files) {
    for (const std::string& name : ListFolder(folder)) {
        const std::string path = JoinPath(folder, name);
        if (GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY) {
            CollectFiles(path, prefix + name + "\\", files);
        } else {
            files.emplace_back(prefix + name, ReadFileBytes(path).value_or("<unreadable>"));
        }
    }
}

std::vector<std::pair<std::string, std::string>> FilesBelow(const std::string& folder) {
    std::vector<std::pair<std::string, std::string>> files;
    CollectFiles(folder, "", files);
    return files;
}

void RemoveTree(const std::string& folder) {
    for (const std::string& name : ListFolder(folder)) {
        const std::string path = JoinPath(folder, name);
        if (GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY) {
            RemoveTree(path);
        } else {
            DeleteFileA(path.c_str());
        }
    }
    RemoveDirectoryA(folder.c_str());
}

// The program a shortcut starts, read through the shell's own link object.
std::optional<std::string> ShortcutTarget(const std::string& shortcut) {
    IShellLinkA* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&link)))) {
        return std::nullopt;
    }
    std::optional<std::string> target;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        wchar_t wide[MAX_PATH] = {};
        MultiByteToWideChar(CP_ACP, 0, shortcut.c_str(), -1, wide, MAX_PATH);
        char path[MAX_PATH] = {};
        if (SUCCEEDED(file->Load(wide, STGM_READ)) &&
            SUCCEEDED(link->GetPath(path, MAX_PATH, nullptr, SLGP_RAWPATH))) {
            target = path;
        }
        file->Release();
    }
    link->Release();
    return target;
}

// --- Processes ---------------------------------------------------------------

struct EnumContext {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindVisibleDialog(HWND window, LPARAM context) {
    auto* wanted = reinterpret_cast<EnumContext*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    const WindowInfo info = DescribeWindow(window);
    if (owner == wanted->processId && info.className == "#32770" && info.visible) {
        wanted->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND WaitForMainWindowOf(const ChildProcess& process) {
    EnumContext context{process.ProcessId(), nullptr};
    WaitUntil([&] {
        EnumWindows(&FindVisibleDialog, reinterpret_cast<LPARAM>(&context));
        return context.found != nullptr;
    });
    return context.found;
}

// Runs a program to its end, started from anywhere but the installation.
std::optional<DWORD> RunToEnd(const std::string& commandLine) {
    ChildProcess process(commandLine, ShellFolder(CSIDL_LOCAL_APPDATA));
    return process.WaitForExit(kInstallerMs);
}

// --- The installation --------------------------------------------------------

class Installer : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(FileExists(SetupPath())) << SetupPath() << " is missing (is nsis installed?)";
        ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
        RemoveInstallation();
        ASSERT_FALSE(FileExists(InstallFolder())) << "a previous installation is in the way";
    }

    void TearDown() override {
        RemoveInstallation();
        CoUninitialize();
    }

    // Runs the installer silently and expects success.
    static void Install() {
        EXPECT_EQ(RunToEnd(Quoted(SetupPath()) + " /S"), std::optional<DWORD>(0));
    }

    // Runs the uninstaller silently with extra options and waits until it
    // has finished: the uninstaller hands its work to a copy of itself in
    // the temporary folder and returns at once, and that copy removes the
    // uninstall registration last.
    static void Uninstall(const std::string& options = "") {
        const std::string uninstaller = InstalledFile("uninstall.exe");
        ASSERT_TRUE(FileExists(uninstaller));
        EXPECT_EQ(RunToEnd(Quoted(uninstaller) + " /S" + options), std::optional<DWORD>(0));
        EXPECT_TRUE(WaitUntil([] { return !UserRegistryKeyExists(kUninstallKey); }, kInstallerMs))
            << "the uninstaller did not finish";
    }

    // Whatever is left of an installation, by the uninstaller if there is
    // one, and then by hand.
    static void RemoveInstallation() {
        const std::string uninstaller = InstalledFile("uninstall.exe");
        if (FileExists(uninstaller)) {
            RunToEnd(Quoted(uninstaller) + " /S /REMOVESETTINGS");
            WaitUntil([] { return !UserRegistryKeyExists(kUninstallKey); }, kInstallerMs);
        }
        RemoveTree(InstallFolder());
        DeleteFileA(ShortcutPath().c_str());
        RegDeleteKeyValueA(HKEY_CURRENT_USER, kRunKey, kRunValue);
        RegDeleteKeyA(HKEY_CURRENT_USER, kUninstallKey);
    }
};

TEST_F(Installer, InstallsStartsUpdatesAndUninstallsKeepingTheUsersFiles) {
    Install();

    // The program with the shipped skins, the user's readme and licence, and
    // the uninstaller; nothing else (no settings until the program runs).
    const std::string folder = InstallFolder();
    EXPECT_EQ(ListFolder(folder), (std::vector<std::string>{"LICENSE", "README.txt", "interface",
                                                            "trackglow.exe", "uninstall.exe"}));
    EXPECT_EQ(ReadFileBytes(InstalledFile("trackglow.exe")),
              ReadFileBytes(JoinPath(DistDir(), "trackglow.exe")));
    EXPECT_EQ(FilesBelow(InstalledFile("interface")),
              FilesBelow(JoinPath(ToWindowsPath(TG_SOURCE_DIR), "interface")));
    const std::string readme = ReadFileBytes(InstalledFile("README.txt")).value_or("");
    EXPECT_EQ(readme.rfind("Trackglow ", 0), 0u) << readme.substr(0, 40);
    size_t bareLineFeeds = 0;
    for (size_t i = 0; i < readme.size(); ++i) {
        bareLineFeeds += readme[i] == '\n' && (i == 0 || readme[i - 1] != '\r');
    }
    EXPECT_EQ(bareLineFeeds, 0u) << "the readme is not CR LF text";

    // Start menu, start with Windows, and the uninstall registration.
    const std::string exe = InstalledFile("trackglow.exe");
    EXPECT_EQ(ShortcutTarget(ShortcutPath()), exe);
    const std::optional<std::string> runCommand = UserRegistryString(kRunKey, kRunValue);
    EXPECT_EQ(runCommand, Quoted(exe));
    EXPECT_EQ(UserRegistryString(kUninstallKey, "DisplayName"), std::string("Trackglow"));
    EXPECT_EQ(UserRegistryString(kUninstallKey, "InstallLocation"), folder);
    EXPECT_EQ(UserRegistryString(kUninstallKey, "UninstallString"),
              Quoted(InstalledFile("uninstall.exe")));

    // The program starts as at log-on (the Run entry's command, from another
    // folder), writes its first settings beside itself and exits cleanly.
    ASSERT_TRUE(runCommand.has_value());
    {
        ChildProcess program(*runCommand, ShellFolder(CSIDL_WINDOWS));
        HWND main = WaitForMainWindowOf(program);
        ASSERT_NE(main, nullptr) << "the installed program showed no main window";
        EXPECT_TRUE(WaitUntil([] { return FileExists(InstalledFile("settings.ini")); }));
        PostMessageA(main, WM_COMMAND, kCommandExit, 0);
        EXPECT_EQ(program.WaitForExit(kGenerousMs), std::optional<DWORD>(0));
    }
    const std::optional<std::string> settings = ReadFileBytes(InstalledFile("settings.ini"));
    ASSERT_TRUE(settings.has_value());
    EXPECT_NE(settings->find("skin=Default Skin 1"), std::string::npos) << *settings;

    // An update over it keeps the settings and a skin the user added.
    const std::string ownSkin = JoinPath(InstalledFile("interface"), "Mine.ini");
    WriteFileBytes(ownSkin, "[SKIN]\r\nimage=background.bmp\r\n");
    Install();
    EXPECT_EQ(ReadFileBytes(InstalledFile("settings.ini")), settings);
    EXPECT_TRUE(FileExists(ownSkin));
    EXPECT_TRUE(FileExists(exe));

    // Uninstalling takes what was installed and leaves the user's own files.
    Uninstall();
    EXPECT_FALSE(FileExists(ShortcutPath()));
    EXPECT_EQ(UserRegistryString(kRunKey, kRunValue), std::nullopt);
    EXPECT_FALSE(UserRegistryKeyExists(kUninstallKey));
    EXPECT_EQ(ListFolder(folder), (std::vector<std::string>{"interface", "settings.ini"}));
    EXPECT_EQ(ListFolder(InstalledFile("interface")), std::vector<std::string>{"Mine.ini"});
    EXPECT_EQ(ReadFileBytes(InstalledFile("settings.ini")), settings);
}

TEST_F(Installer, UninstallingWithRemoveSettingsLeavesNoFolder) {
    Install();
    WriteFileBytes(InstalledFile("settings.ini"), "[PREFERENCES]\r\nskin=Paper\r\n\r\n");

    Uninstall(" /REMOVESETTINGS");
    EXPECT_FALSE(FileExists(InstallFolder()))
        << "left behind: " << testing::PrintToString(ListFolder(InstallFolder()));
    EXPECT_FALSE(FileExists(ShortcutPath()));
    EXPECT_EQ(UserRegistryString(kRunKey, kRunValue), std::nullopt);
}

} // namespace
