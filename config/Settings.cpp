#include "config/Settings.h"
#include "framework/CodePage.h"
#include <windows.h>

namespace {
// A failed save must never leave a truncated settings file: the new file is
// written beside it and moved over it in one step. While another program has
// the file open (a virus scanner, a backup, an editor reading it) the move is
// refused, so it is tried again for a moment before the save gives up.
bool ReplaceFileAtomically(const char* from, const char* to) {
    constexpr int kAttempts = 40;
    constexpr DWORD kRetryMs = 25;
    for (int attempt = 1;; ++attempt) {
        if (::MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        const DWORD error = ::GetLastError();
        const bool busy = error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION ||
                          error == ERROR_LOCK_VIOLATION;
        const DWORD attributes = ::GetFileAttributesA(to);
        const bool readOnly =
            attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
        if (!busy || readOnly || attempt == kAttempts)
            return false;
        ::Sleep(kRetryMs);
    }
}
} // namespace

CIniFile g_settingsIni(AnsiCharRule(), ReplaceFileAtomically, LegacyToAnsi);

std::string GetExeDir() {
    // The call cuts a path that does not fit: grow until it fits (paths can
    // be far longer than MAX_PATH).
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            return DirectoryOf(path, AnsiCharRule());
        }
        if (path.size() >= 0x10000 * 4)
            return {}; // no file system allows a longer path
        path.resize(path.size() * 2);
    }
}

std::string SettingsFilePath() {
    return GetExeDir() + kSettingsFileName;
}

bool SettingsFileExists() {
    const DWORD attributes = ::GetFileAttributesA(SettingsFilePath().c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string StoredSkinName() {
    std::string name = g_settingsIni.GetString(kPreferencesSection, kSkinKey);
    if (name.empty()) {
        name = kDefaultSkinName;
        g_settingsIni.SetString(kPreferencesSection, kSkinKey, kDefaultSkinName, true);
        g_settingsIni.Save();
    }
    return name;
}
