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
#include <vector>

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
class CRecorderRegistration {
  public:
    explicit CRecorderRegistration(const std::string& exePath = recorder::RecorderExePath())
        : m_swap(recorder::kLockName, Replacements(exePath)) {}
    bool Active() const { return m_swap.Active(); }

  private:
    static std::vector<fakes::RegistryValueSwap::Replacement>
    Replacements(const std::string& exePath) {
        std::vector<fakes::RegistryValueSwap::Replacement> replacements;
        for (const fakes::SwappedValue& command : recorder::kOpenCommands)
            replacements.push_back({command, recorder::RecorderCommand(exePath)});
        return replacements;
    }

    fakes::RegistryValueSwap m_swap;
};
