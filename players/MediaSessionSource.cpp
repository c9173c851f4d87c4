#include "players/MediaSessionSource.h"
#include "core/MediaText.h"
#include "framework/CodePage.h"
#include "players/AppDisplayName.h"
#include "players/MediaSessionDelegates.h"
#include "players/RuntimeApi.h"

using namespace media_control;

namespace {

constexpr wchar_t kWindowClass[] = L"TrackglowMediaSessions";
// Posted to the source's window: wParam the ticket, lParam the status.
constexpr UINT kManagerReady = WM_APP + 1;
constexpr UINT kPropertiesReady = WM_APP + 2;
// Posted to the source's window: wParam which event.
constexpr UINT kSessionEvent = WM_APP + 3;
enum EventKind : WPARAM { kCurrentSessionChanged, kMediaPropertiesChanged, kPlaybackInfoChanged };

bool RegisterWindowClass(WNDPROC windowProc) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = windowProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = kWindowClass;
    return ::RegisterClassExW(&wc) || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

bool SameObject(IUnknown* a, IUnknown* b) {
    if (!a || !b)
        return a == b;
    return QueryAs<IUnknown>(a).Get() == QueryAs<IUnknown>(b).Get();
}

template <class Sender>
ComPtr<ITypedEventHandlerOf<Sender>>
MakeEventDelegate(const IID& iid, const std::shared_ptr<CPostBox>& box, EventKind kind) {
    ComPtr<ITypedEventHandlerOf<Sender>> handler;
    *handler.Put() = new CEventDelegate<Sender>(iid, box, kSessionEvent, kind);
    return handler;
}

} // namespace

CMediaSessionSource::CMediaSessionSource() = default;

CMediaSessionSource::~CMediaSessionSource() {
    Stop();
}

const char* CMediaSessionSource::Name() const {
    return m_lastPlayer.c_str();
}

std::optional<std::string> CMediaSessionSource::Poll() {
    if (!IsEnabled())
        return std::nullopt;
    if (m_state == State::Idle && !Start()) {
        // No retry until the source is switched on anew.
        Stop();
        m_state = State::Failed;
    }
    if (!m_pending)
        return std::nullopt;
    std::optional<std::string> track = std::exchange(m_pending, std::nullopt);
    m_lastReported = *track;
    m_reportedSession = m_session;
    m_lastPlayer = m_sessionPlayer;
    return track;
}

bool CMediaSessionSource::Start() {
    m_api = std::make_unique<CRuntimeApi>();
    if (!m_api->Loaded())
        return false;
    // Windows needs the thread initialised for the runtime (Wine does not).
    m_bRoInitialized = m_api->Initialize();

    ComPtr<IGlobalSystemMediaTransportControlsSessionManagerStatics> statics;
    if (FAILED(m_api->GetActivationFactory(kManagerClass, kIidManagerStatics, statics.PutVoid())) ||
        !statics)
        return false;
    if (!RegisterWindowClass(&WindowProc))
        return false;
    m_window = ::CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 ::GetModuleHandleW(nullptr), nullptr);
    if (!m_window)
        return false;
    ::SetWindowLongPtrW(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    m_box = std::make_shared<CPostBox>(m_window);

    if (FAILED(statics->RequestAsync(m_managerOperation.Put())) || !m_managerOperation)
        return false;
    ComPtr<ManagerCompletedHandler> completed;
    *completed.Put() = new CCompletionDelegate<IGlobalSystemMediaTransportControlsSessionManager*>(
        kIidManagerCompletedHandler, m_box, kManagerReady, ++m_ticket);
    // Called at once, maybe before this returns, when the request is done already.
    if (FAILED(m_managerOperation->put_Completed(completed.Get())))
        return false;
    m_state = State::Starting;
    return true;
}

void CMediaSessionSource::Stop() {
    // Nothing that Windows still calls may reach the source from now on.
    if (m_box)
        m_box->Close();
    m_box.reset();
    ++m_ticket;
    m_pending.reset();
    m_reportedSession.Reset();
    m_propertiesOperation.Reset();
    m_mediaPropertiesChanged.Reset();
    m_playbackInfoChanged.Reset();
    m_session.Reset();
    m_currentSessionChanged.Reset();
    m_manager.Reset();
    m_managerOperation.Reset();
    if (m_window) {
        ::DestroyWindow(m_window);
        m_window = nullptr;
    }
    if (m_bRoInitialized)
        m_api->Uninitialize();
    m_bRoInitialized = false;
    m_api.reset();
    m_state = State::Idle;
}

LRESULT CALLBACK CMediaSessionSource::WindowProc(HWND window, UINT message, WPARAM wParam,
                                                 LPARAM lParam) {
    auto* source =
        reinterpret_cast<CMediaSessionSource*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!source)
        return ::DefWindowProcW(window, message, wParam, lParam);
    switch (message) {
    case kManagerReady:
        source->OnManagerReady(wParam, static_cast<AsyncStatus>(lParam));
        return 0;
    case kPropertiesReady:
        source->OnPropertiesReady(wParam, static_cast<AsyncStatus>(lParam));
        return 0;
    case kSessionEvent:
        if (source->m_manager) {
            if (wParam == kCurrentSessionChanged)
                source->AdoptCurrentSession();
            else
                source->Refresh();
        }
        return 0;
    default:
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

void CMediaSessionSource::OnManagerReady(WPARAM ticket, AsyncStatus status) {
    if (ticket != m_ticket || m_state != State::Starting || !m_managerOperation)
        return;
    ComPtr<media_control::ManagerOperation> operation = std::move(m_managerOperation);
    ComPtr<Manager> manager;
    if (status != Completed || FAILED(operation->GetResults(manager.Put())) || !manager) {
        Stop();
        m_state = State::Failed;
        return;
    }
    EventRegistrationToken token{};
    const auto handler =
        MakeEventDelegate<Manager>(kIidCurrentSessionChangedHandler, m_box, kCurrentSessionChanged);
    if (SUCCEEDED(manager->add_CurrentSessionChanged(handler.Get(), &token)))
        m_currentSessionChanged = {manager.Get(), &Manager::remove_CurrentSessionChanged, token};
    m_manager = std::move(manager);
    m_state = State::Watching;
    AdoptCurrentSession();
}

void CMediaSessionSource::AdoptCurrentSession() {
    ComPtr<Session> current;
    if (FAILED(m_manager->GetCurrentSession(current.Put())))
        current.Reset();
    if (SameObject(current.Get(), m_session.Get())) {
        Refresh();
        return;
    }
    m_mediaPropertiesChanged.Reset();
    m_playbackInfoChanged.Reset();
    m_propertiesOperation.Reset();
    m_pending.reset();
    m_session = std::move(current);
    m_sessionPlayer.clear();
    if (!m_session)
        return;

    CHString appId(*m_api);
    if (SUCCEEDED(m_session->get_SourceAppUserModelId(appId.Receive()))) {
        const std::wstring display = AppDisplayName(appId.Wide());
        m_sessionPlayer = display.empty() ? PlayerNameFromAppId(appId.Ansi(), AnsiCharRule())
                                          : WideToAnsi(display.c_str());
    }
    EventRegistrationToken token{};
    const auto media = MakeEventDelegate<Session>(kIidMediaPropertiesChangedHandler, m_box,
                                                  kMediaPropertiesChanged);
    if (SUCCEEDED(m_session->add_MediaPropertiesChanged(media.Get(), &token)))
        m_mediaPropertiesChanged = {m_session.Get(), &Session::remove_MediaPropertiesChanged,
                                    token};
    const auto playback =
        MakeEventDelegate<Session>(kIidPlaybackInfoChangedHandler, m_box, kPlaybackInfoChanged);
    if (SUCCEEDED(m_session->add_PlaybackInfoChanged(playback.Get(), &token)))
        m_playbackInfoChanged = {m_session.Get(), &Session::remove_PlaybackInfoChanged, token};
    Refresh();
}

bool CMediaSessionSource::IsPlaying() const {
    ComPtr<IGlobalSystemMediaTransportControlsSessionPlaybackInfo> info;
    PlaybackStatus status = kPlaybackClosed;
    return SUCCEEDED(m_session->GetPlaybackInfo(info.Put())) && info &&
           SUCCEEDED(info->get_PlaybackStatus(&status)) && status == kPlaybackPlaying;
}

void CMediaSessionSource::Refresh() {
    // A newer look supersedes one still under way.
    ++m_ticket;
    m_propertiesOperation.Reset();
    if (!m_session || !IsPlaying()) {
        m_pending.reset();
        return;
    }
    ComPtr<PropertiesOperation> operation;
    if (FAILED(m_session->TryGetMediaPropertiesAsync(operation.Put())) || !operation)
        return;
    ComPtr<PropertiesCompletedHandler> completed;
    *completed.Put() = new CCompletionDelegate<Properties*>(kIidPropertiesCompletedHandler, m_box,
                                                            kPropertiesReady, m_ticket);
    m_propertiesOperation = operation;
    // Called at once, maybe before this returns, when the properties are there already.
    if (FAILED(operation->put_Completed(completed.Get())))
        m_propertiesOperation.Reset();
}

void CMediaSessionSource::OnPropertiesReady(WPARAM ticket, AsyncStatus status) {
    if (ticket != m_ticket || !m_propertiesOperation)
        return;
    ComPtr<PropertiesOperation> operation = std::move(m_propertiesOperation);
    ComPtr<Properties> properties;
    if (status != Completed || FAILED(operation->GetResults(properties.Put())) || !properties)
        return;
    // The session may have paused while its properties were on their way.
    if (!m_session || !IsPlaying())
        return;
    CHString artist(*m_api), title(*m_api);
    if (FAILED(properties->get_Artist(artist.Receive())) ||
        FAILED(properties->get_Title(title.Receive())))
        return;
    const std::string artistText = artist.Ansi(), titleText = title.Ansi();
    if (artistText.empty() && titleText.empty())
        return;
    std::string text = ComposeTrackText(artistText, titleText, m_sessionPlayer, AnsiCharRule());
    // The same track resumed: not again (and not what was pending instead).
    if (text == m_lastReported) {
        m_pending.reset();
        return;
    }
    m_pending = std::move(text);
    Announce();
}

void CMediaSessionSource::Skip(bool next) {
    if (!IsEnabled() || !m_reportedSession)
        return;
    // What the app makes of it shows in its next events; the answer is not awaited.
    ComPtr<BoolOperation> operation;
    if (next)
        m_reportedSession->TrySkipNextAsync(operation.Put());
    else
        m_reportedSession->TrySkipPreviousAsync(operation.Put());
}

void CMediaSessionSource::Previous() {
    Skip(false);
}

void CMediaSessionSource::Next() {
    Skip(true);
}
