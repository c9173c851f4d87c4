// Test-side control of the fake media player: writes its state file, reads
// its log, and points the fake at both through the environment (which the
// fake reads in-process and which programs started by the test inherit).
#pragma once
#include <windows.h>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

class CFakeWmpDriver {
  public:
    CFakeWmpDriver() {
        char dir[MAX_PATH];
        GetTempPathA(MAX_PATH, dir);
        const std::string stem = std::string(dir) + "tg-fakewmp-" +
                                 std::to_string(GetCurrentProcessId()) + "-" +
                                 std::to_string(s_instances++);
        m_statePath = stem + ".state";
        m_logPath = stem + ".log";
        SetEnvironmentVariableA("TG_FAKEWMP_STATE", m_statePath.c_str());
        SetEnvironmentVariableA("TG_FAKEWMP_LOG", m_logPath.c_str());
        SetNoMedia(0);
        ClearLog();
    }
    CFakeWmpDriver(const CFakeWmpDriver&) = delete;
    CFakeWmpDriver& operator=(const CFakeWmpDriver&) = delete;
    ~CFakeWmpDriver() {
        SetEnvironmentVariableA("TG_FAKEWMP_STATE", nullptr);
        SetEnvironmentVariableA("TG_FAKEWMP_LOG", nullptr);
        DeleteFileA(m_statePath.c_str());
        DeleteFileA(m_logPath.c_str());
    }

    // Play state (3 playing, 2 paused, 1 stopped) and the current media;
    // texts in UTF-8, nullopt leaves the attribute out (a null string).
    void SetMedia(long playState, std::optional<std::string> author,
                  std::optional<std::string> name) {
        std::ofstream file(m_statePath, std::ios::binary | std::ios::trunc);
        file << "state=" << playState << "\n";
        if (author)
            file << "author=" << *author << "\n";
        if (name)
            file << "name=" << *name << "\n";
    }
    void SetNoMedia(long playState) { SetMedia(playState, std::nullopt, std::nullopt); }

    std::vector<std::string> LogLines() const {
        std::ifstream file(m_logPath, std::ios::binary);
        std::vector<std::string> lines;
        std::string line;
        while (std::getline(file, line))
            lines.push_back(line);
        return lines;
    }
    void ClearLog() { std::ofstream(m_logPath, std::ios::binary | std::ios::trunc); }

    const std::string& StatePath() const { return m_statePath; }
    const std::string& LogPath() const { return m_logPath; }

  private:
    static inline int s_instances = 0;
    std::string m_statePath;
    std::string m_logPath;
};
