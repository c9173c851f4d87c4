// Test-side switch of the Wine prefix's browser: while a CRecorderRegistration
// lives, the open command of http and https URLs is recorder.exe.
//
// The machine-wide HKLM\Software\Classes\<scheme>\shell\open\command values
// are changed, their originals kept beside them (see RegistryValueSwap.h).
// Every test process of the prefix takes a shared lock first, so two tests
// never swap the handlers under each other.
#pragma once
#include "tests/fakes/RegistryValueSwap.h"

#include <string>

namespace recorder {

constexpr char kLockName[] = "TrackglowUrlHandlerLock";
// The open commands of http and https URLs.
constexpr fakes::SwappedValue kOpenCommands[] = {
    {"Software\\Classes\\http\\shell\\open\\command", nullptr, "TrackglowSavedCommand"},
    {"Software\\Classes\\https\\shell\\open\\command", nullptr, "TrackglowSavedCommand"},
};

// The command the shell runs for a URL with the recorder in place.
inline std::string RecorderCommand(const std::string& exePath) {
    return "\"" + exePath + "\" \"%1\"";
}

inline std::string RecorderExePath() {
    return fakes::BesideThisProgram("recorder.exe");
}

} // namespace recorder

// While it lives, the shell opens http and https URLs with recorder.exe.
class CRecorderRegistration : public fakes::RegistryValueSwap {
  public:
    explicit CRecorderRegistration(const std::string& exePath = recorder::RecorderExePath())
        : RegistryValueSwap(recorder::kLockName,
                            {{recorder::kOpenCommands[0], recorder::RecorderCommand(exePath)},
                             {recorder::kOpenCommands[1], recorder::RecorderCommand(exePath)}}) {}
};
