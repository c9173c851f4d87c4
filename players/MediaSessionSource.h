// CMediaSessionSource: Windows' own media sessions (what Windows shows in its
// volume and lock-screen overlays), through the runtime class
// GlobalSystemMediaTransportControlsSessionManager. It reports the current
// session's track (artist, title, the app's name) when that session plays a
// track not yet shown, and sends Previous and Next to the session whose track
// it reported last.
//
// Event-driven: the manager's and the current session's events arrive on
// threads of Windows' own and are posted to a message-only window of the
// source, so all the work is done on the thread that polls (the UI thread,
// which must dispatch messages). The first poll after the source was enabled
// starts the watch; where the class cannot be activated (Windows before
// 1809, a runtime without it) the source stays silent until it is enabled
// anew. Switching it off lets go of every handler and reference.
#pragma once
#include "framework/ComPtr.h"
#include "players/MediaSessionInterfaces.h"
#include "players/TrackSource.h"

#include <memory>
#include <optional>
#include <string>

class CRuntimeApi;
class CPostBox;

// A handler registered with one of Windows' events, removed when this goes.
template <class Source> class CEventRegistration {
  public:
    using Remover = HRESULT (STDMETHODCALLTYPE Source::*)(EventRegistrationToken);
    CEventRegistration() = default;
    CEventRegistration(Source* source, Remover remover, EventRegistrationToken token)
        : m_source(source), m_remover(remover), m_token(token) {}
    CEventRegistration(CEventRegistration&& other) noexcept { *this = std::move(other); }
    CEventRegistration& operator=(CEventRegistration&& other) noexcept {
        Reset();
        m_source = std::move(other.m_source);
        m_remover = other.m_remover;
        m_token = other.m_token;
        return *this;
    }
    ~CEventRegistration() { Reset(); }
    void Reset() {
        if (m_source)
            (m_source.Get()->*m_remover)(m_token);
        m_source.Reset();
    }

  private:
    ComPtr<Source> m_source;
    Remover m_remover = nullptr;
    EventRegistrationToken m_token{};
};

class CMediaSessionSource : public ITrackSource {
  public:
    CMediaSessionSource();
    // On the thread that polled.
    ~CMediaSessionSource() override;

    // Starts the watch on the first call while enabled; reports a track
    // that a session event brought, once.
    std::optional<std::string> Poll() override;
    void Previous() override;
    void Next() override;
    // The app's name of the track reported last.
    const char* Name() const override;

    // Whether the manager was obtained and its events are heard.
    bool Watching() const { return static_cast<bool>(m_manager); }

  protected:
    void OnDisabled() override { Stop(); }

  private:
    using Session = media_control::IGlobalSystemMediaTransportControlsSession;
    using Manager = media_control::IGlobalSystemMediaTransportControlsSessionManager;
    using Properties = media_control::IGlobalSystemMediaTransportControlsSessionMediaProperties;

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool Start();
    void Stop();
    void OnManagerReady(WPARAM ticket, AsyncStatus status);
    void AdoptCurrentSession();
    void Refresh();
    void OnPropertiesReady(WPARAM ticket, AsyncStatus status);
    bool IsPlaying() const;
    void Skip(bool next);

    enum class State { Idle, Starting, Watching, Failed };
    State m_state = State::Idle;
    std::unique_ptr<CRuntimeApi> m_api;
    bool m_bRoInitialized = false;
    HWND m_window = nullptr;
    std::shared_ptr<CPostBox> m_box;
    WPARAM m_ticket = 0; // the operation whose completion counts

    ComPtr<media_control::ManagerOperation> m_managerOperation;
    ComPtr<Manager> m_manager;
    CEventRegistration<Manager> m_currentSessionChanged;

    ComPtr<Session> m_session; // the current one
    std::string m_sessionPlayer;
    CEventRegistration<Session> m_mediaPropertiesChanged;
    CEventRegistration<Session> m_playbackInfoChanged;
    ComPtr<media_control::PropertiesOperation> m_propertiesOperation;

    std::optional<std::string> m_pending; // a track not yet polled
    std::string m_lastReported;
    std::string m_lastPlayer;
    ComPtr<Session> m_reportedSession; // where Previous and Next go
};
