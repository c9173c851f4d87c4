// The settings file "settings.ini" beside the executable: its one store and
// its keys, and the executable's directory every file path starts from.
#pragma once
#include "core/IniFile.h"
#include <string>

// The one settings store of the program, loaded at start-up.
extern CIniFile g_settingsIni;

constexpr const char kSettingsFileName[] = "settings.ini";
constexpr const char kPreferencesSection[] = "PREFERENCES";
constexpr const char kSkinKey[] = "skin";
constexpr const char kEnableWinampKey[] = "enwinamp";
constexpr const char kEnableWmpKey[] = "enwmp";
// 1: Windows' own media sessions are watched (any player in Windows' media overlay).
constexpr const char kEnableMediaSessionsKey[] = "enmedia";
constexpr const char kDefaultSkinName[] = "Default Skin 1";
// 1: the pop-up shows new tracks over full-screen applications too; missing
// or anything else: it stays out of their way.
constexpr const char kShowOverFullScreenKey[] = "fullscreen";

// The skin the settings name; when they name none, the default skin, which
// is then stored.
std::string StoredSkinName();

// The executable's directory with its trailing separator ("" when the path
// holds no separator), however long the path is.
std::string GetExeDir();
// The settings file's path, and whether it is there (before the first start
// it is not).
std::string SettingsFilePath();
bool SettingsFileExists();
