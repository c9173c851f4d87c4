// The settings file "settings.ini" beside the executable and the helpers
// every file path of the program starts from.
#pragma once
#include "config/IniFile.h"
#include <string>

// The one settings store of the program, loaded at start-up.
extern CIniFile g_settingsIni;

constexpr const char kSettingsFileName[] = "settings.ini";
constexpr const char kPreferencesSection[] = "PREFERENCES";
constexpr const char kSkinKey[] = "skin";
constexpr const char kEnableWinampKey[] = "enwinamp";
constexpr const char kEnableWmpKey[] = "enwmp";
constexpr const char kDefaultSkinName[] = "Default Skin 1";

// The executable's directory with its trailing separator ("" when the path
// holds no separator).
std::string GetExeDir();
// The directory part of `path`: everything up to and including its last "\" or "/".
std::string DirectoryOf(const std::string& path);

// The active ANSI code page's lead-byte test, for the double-byte-aware text helpers.
bool AnsiLeadByte(unsigned char byte);
// Moves a freshly written file over the settings file in one step.
bool ReplaceFileAtomically(const char* from, const char* to);
