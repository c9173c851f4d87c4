// A private copy of the portable program for one test.
//
// The constructor copies trackglow.exe and its interface\ folder from the
// dist folder (TG_DIST) into a fresh folder under the temporary directory,
// so each test starts from a known settings file (or none) and nothing a
// test does reaches the dist folder or another test. The destructor removes
// the folder again, read-only attributes included.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace e2e {

class TestInstall {
  public:
    // An install without a settings file.
    TestInstall();
    // An install whose settings.ini holds exactly these bytes.
    explicit TestInstall(const std::string& settingsBytes);
    ~TestInstall();
    TestInstall(const TestInstall&) = delete;
    TestInstall& operator=(const TestInstall&) = delete;

    const std::string& Folder() const { return m_folder; }
    std::string ExePath() const;
    std::string SettingsPath() const;
    // The skins folder, interface\ beside the program.
    std::string SkinFolder() const;

    void WriteSettings(const std::string& bytes) const;
    // The settings file's bytes, or nothing when it does not exist.
    std::optional<std::string> ReadSettings() const;
    // Names directly inside the install folder, sorted.
    std::vector<std::string> Entries() const;

  private:
    std::string m_folder;
};

} // namespace e2e
