// Test-side control of the fake media player: writes its state file, reads
// its log, and points the fake at both through the environment (which the
// fake reads in-process and which programs started by the test inherit);
// makes the control fire its events.
#pragma once
#include "tests/fakes/fakewmp/FakeWmpMessages.h"
#include <windows.h>
#include <oaidl.h>
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
        if (!m_bOfferEvents)
            file << "events=none\n";
    }
    void SetNoMedia(long playState) { SetMedia(playState, std::nullopt, std::nullopt); }
    // Whether the control offers its events to a host (from the next SetMedia
    // on): a control without them refuses every sink.
    void OfferEvents(bool offer) { m_bOfferEvents = offer; }

    std::vector<std::string> LogLines() const {
        std::ifstream file(m_logPath, std::ios::binary);
        std::vector<std::string> lines;
        std::string line;
        while (std::getline(file, line))
            lines.push_back(line);
        return lines;
    }
    void ClearLog() { std::ofstream(m_logPath, std::ios::binary | std::ios::trunc); }

    // The fake control's window below a host window (the host dialog or
    // its hosting child, in this process or another); null when it has none.
    static HWND ControlWindow(HWND host) {
        struct Search {
            HWND found = nullptr;
            static BOOL CALLBACK Visit(HWND window, LPARAM context) {
                char title[sizeof kFakeWmpWindowTitle + 1] = {};
                GetWindowTextA(window, title, sizeof title);
                if (lstrcmpA(title, kFakeWmpWindowTitle) != 0)
                    return TRUE;
                reinterpret_cast<Search*>(context)->found = window;
                return FALSE;
            }
        } search;
        if (host)
            EnumChildWindows(host, &Search::Visit, reinterpret_cast<LPARAM>(&search));
        return search.found;
    }
    // Makes the control fire the event (a DISPID of _WMPOCXEvents) to its
    // sinks, as the player does; returns how many sinks it reached once
    // they have all handled it (0 when there is no such control).
    static LRESULT Fire(HWND control, DISPID event) {
        static const UINT message = RegisterWindowMessageA(kFakeWmpFireMessage);
        return control ? SendMessageA(control, message, static_cast<WPARAM>(event), 0) : 0;
    }
    // How many times the control's play state was read (each poll reads it once).
    static LRESULT PlayStateReads(HWND control) {
        static const UINT message = RegisterWindowMessageA(kFakeWmpReadsMessage);
        return control ? SendMessageA(control, message, 0, 0) : -1;
    }

    const std::string& StatePath() const { return m_statePath; }
    const std::string& LogPath() const { return m_logPath; }

  private:
    static inline int s_instances = 0;
    std::string m_statePath;
    std::string m_logPath;
    bool m_bOfferEvents = true;
};
