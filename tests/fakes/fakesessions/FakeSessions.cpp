// The fake media-session manager: the runtime class's activation factory,
// the manager, sessions, their properties and playback info, and the async
// operations, driven by the exported FakeSessions_* functions. Objects are
// never freed: one whose last reference went is marked released, so a later
// call on it is counted instead of corrupting memory.
#include "players/MediaSessionInterfaces.h"
#include "tests/fakes/fakesessions/FakeSessionsApi.h"

#include <activation.h>
#include <winstring.h>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <type_traits>
#include <utility>
#include <deque>
#include <vector>

using namespace media_control;

namespace {

// What the runtime's async operations answer out of turn (winerror.h values).
constexpr HRESULT kIllegalMethodCall = static_cast<HRESULT>(0x8000000E);
constexpr HRESULT kIllegalDelegateAssignment = static_cast<HRESULT>(0x80000018);

constexpr IID kIidAsyncInfo{0x00000036, 0, 0, {0xc0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr IID kIidActivationFactory{0x00000035, 0, 0, {0xc0, 0, 0, 0, 0, 0, 0, 0x46}};

std::atomic<LONG> g_live{0}, g_afterRelease{0}, g_pending{0}, g_propertyRequests{0};
std::recursive_mutex g_mutex; // guards everything below
bool g_completeAtOnce = false;
int g_current = -1;

class Session;
struct SessionState {
    std::wstring appId, artist, title;
    int status = kPlaybackClosed;
    bool removed = false;
    LONG skips[2] = {0, 0};
    Session* object = nullptr; // the live session object, if any
};
std::deque<SessionState> g_sessions; // references stay valid as it grows

struct Registration {
    int target; // session number, or -1 for the manager
    int event;
    INT64 token;
    std::function<void()> invoke; // holds the handler
};
std::vector<Registration> g_registrations;
INT64 g_nextToken = 1;

HSTRING Text(const std::wstring& text) {
    HSTRING out = nullptr;
    WindowsCreateString(text.c_str(), static_cast<UINT32>(text.size()), &out);
    return out;
}

struct NoSecond {};
constexpr IID kNoIid{};

// IUnknown and IInspectable for an object answering `Iid` and, with
// `Second`, a second interface.
template <class Main, const IID& Iid, class Second = NoSecond, const IID& SecondIid = kNoIid>
class Counted : public Main, public Second {
  public:
    Counted() { ++g_live; }
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
        Check();
        *object = nullptr;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, __uuidof(IInspectable)) ||
            IsEqualIID(iid, IID_IAgileObject) || IsEqualIID(iid, Iid))
            *object = static_cast<Main*>(this);
        else if constexpr (!std::is_same_v<Second, NoSecond>) {
            if (IsEqualIID(iid, SecondIid))
                *object = static_cast<Second*>(this);
        }
        if (!*object)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return Check(), ++m_refs; }
    STDMETHODIMP_(ULONG) Release() override {
        Check();
        const ULONG refs = --m_refs;
        if (refs == 0) {
            OnReleased();
            --g_live;
        }
        return refs;
    }
    STDMETHODIMP GetIids(ULONG* count, IID** iids) override {
        *count = 0;
        *iids = nullptr;
        return S_OK;
    }
    STDMETHODIMP GetRuntimeClassName(HSTRING* name) override { return *name = nullptr, S_OK; }
    STDMETHODIMP GetTrustLevel(TrustLevel* level) override { return *level = BaseTrust, S_OK; }

  protected:
    virtual void OnReleased() {}
    // Counts a call on an object already released.
    void Check() const {
        if (m_refs <= 0)
            ++g_afterRelease;
    }

  private:
    std::atomic<LONG> m_refs{1};
};

#define UNUSED_SLOT(name, ...)                                                                     \
    STDMETHODIMP name(__VA_ARGS__) override {                                                      \
        return E_NOTIMPL;                                                                          \
    }

template <class T, const IID& Iid>
class Operation final : public Counted<IAsyncOperationOf<T>, Iid, IAsyncInfo, kIidAsyncInfo> {
  public:
    explicit Operation(T result) : m_result(result) {}
    void Complete() {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_status = Completed;
        IAsyncOperationCompletedHandlerOf<T>* handler = std::exchange(m_handler, nullptr);
        lock.unlock();
        if (handler) {
            handler->Invoke(this, Completed);
            handler->Release();
        }
    }
    // Completes it now, or later from a thread of the fake.
    void Start() {
        if (g_completeAtOnce)
            return Complete();
        ++g_pending;
        this->AddRef();
        std::thread([this] {
            Complete();
            this->Release();
            --g_pending;
        }).detach();
    }
    STDMETHODIMP put_Completed(IAsyncOperationCompletedHandlerOf<T>* handler) override {
        this->Check();
        std::unique_lock<std::mutex> lock(m_mutex);
        if (m_handlerSet)
            return kIllegalDelegateAssignment;
        m_handlerSet = true;
        if (m_status == Started) {
            m_handler = handler;
            handler->AddRef();
            return S_OK;
        }
        // Done already: the handler is called at once, on this thread.
        lock.unlock();
        handler->Invoke(this, m_status);
        return S_OK;
    }
    UNUSED_SLOT(get_Completed, IAsyncOperationCompletedHandlerOf<T>**)
    STDMETHODIMP GetResults(T* results) override {
        this->Check();
        const std::lock_guard<std::mutex> lock(m_mutex);
        if (m_status != Completed)
            return kIllegalMethodCall;
        if constexpr (std::is_pointer_v<T>)
            m_result->AddRef();
        *results = m_result;
        return S_OK;
    }
    STDMETHODIMP get_Id(UINT32* id) override { return *id = 1, S_OK; }
    STDMETHODIMP get_Status(AsyncStatus* status) override {
        const std::lock_guard<std::mutex> lock(m_mutex);
        return *status = m_status, S_OK;
    }
    STDMETHODIMP get_ErrorCode(HRESULT* error) override { return *error = S_OK, S_OK; }
    STDMETHODIMP Cancel() override { return S_OK; }
    STDMETHODIMP Close() override { return S_OK; }

  private:
    void OnReleased() override {
        if (m_handler)
            std::exchange(m_handler, nullptr)->Release();
        if constexpr (std::is_pointer_v<T>)
            m_result->Release();
    }
    std::mutex m_mutex;
    AsyncStatus m_status = Started;
    bool m_handlerSet = false;
    IAsyncOperationCompletedHandlerOf<T>* m_handler = nullptr;
    T m_result;
};

HRESULT Register(int target, int event, std::function<void()> invoke,
                 EventRegistrationToken* token) {
    const std::lock_guard<std::recursive_mutex> lock(g_mutex);
    token->value = g_nextToken++;
    g_registrations.push_back({target, event, token->value, std::move(invoke)});
    return S_OK;
}

HRESULT Unregister(EventRegistrationToken token) {
    std::function<void()> handler; // released outside the lock
    const std::lock_guard<std::recursive_mutex> lock(g_mutex);
    for (auto it = g_registrations.begin(); it != g_registrations.end(); ++it) {
        if (it->token == token.value) {
            handler = std::move(it->invoke);
            g_registrations.erase(it);
            return S_OK;
        }
    }
    return E_INVALIDARG;
}

template <class Handler> std::function<void()> Invoker(Handler* handler) {
    handler->AddRef();
    // The event arguments carry nothing; handlers get no sender either.
    std::shared_ptr<Handler> held(handler, [](Handler* h) { h->Release(); });
    return [held] { held->Invoke(nullptr, nullptr); };
}

class Properties final : public Counted<IGlobalSystemMediaTransportControlsSessionMediaProperties,
                                        kIidMediaProperties> {
  public:
    Properties(std::wstring artist, std::wstring title) : m_artist(artist), m_title(title) {}
    STDMETHODIMP get_Title(HSTRING* value) override {
        return Check(), *value = Text(m_title), S_OK;
    }
    STDMETHODIMP get_Artist(HSTRING* value) override {
        return Check(), *value = Text(m_artist), S_OK;
    }
    UNUSED_SLOT(get_Subtitle, HSTRING*)
    UNUSED_SLOT(get_AlbumArtist, HSTRING*)
    UNUSED_SLOT(get_AlbumTitle, HSTRING*)
    UNUSED_SLOT(get_TrackNumber, INT32*)
    UNUSED_SLOT(get_Genres, IInspectable**)
    UNUSED_SLOT(get_AlbumTrackCount, INT32*)
    UNUSED_SLOT(get_PlaybackType, IInspectable**)
    UNUSED_SLOT(get_Thumbnail, IInspectable**)

  private:
    std::wstring m_artist, m_title;
};

class PlaybackInfo final
    : public Counted<IGlobalSystemMediaTransportControlsSessionPlaybackInfo, kIidPlaybackInfo> {
  public:
    explicit PlaybackInfo(int status) : m_status(status) {}
    STDMETHODIMP get_PlaybackStatus(PlaybackStatus* value) override {
        return Check(), *value = static_cast<PlaybackStatus>(m_status), S_OK;
    }
    UNUSED_SLOT(get_Controls, IInspectable**)
    UNUSED_SLOT(get_PlaybackType, IInspectable**)
    UNUSED_SLOT(get_AutoRepeatMode, IInspectable**)
    UNUSED_SLOT(get_PlaybackRate, IInspectable**)
    UNUSED_SLOT(get_IsShuffleActive, IInspectable**)

  private:
    int m_status;
};

using PropertiesOp =
    Operation<IGlobalSystemMediaTransportControlsSessionMediaProperties*, kIidPropertiesOperation>;
using ManagerOp =
    Operation<IGlobalSystemMediaTransportControlsSessionManager*, kIidManagerOperation>;
using BoolOp = Operation<boolean, kIidBoolOperation>;

class Session final : public Counted<IGlobalSystemMediaTransportControlsSession, kIidSession> {
  public:
    explicit Session(int number) : m_number(number) {}
    STDMETHODIMP get_SourceAppUserModelId(HSTRING* value) override {
        SessionState* state = Lock();
        return state ? *value = Text(state->appId), S_OK : RPC_E_DISCONNECTED;
    }
    STDMETHODIMP TryGetMediaPropertiesAsync(PropertiesOperation** operation) override {
        SessionState* state = Lock();
        if (!state)
            return RPC_E_DISCONNECTED;
        ++g_propertyRequests;
        auto* op = new PropertiesOp(new Properties(state->artist, state->title));
        *operation = op;
        op->Start();
        return S_OK;
    }
    STDMETHODIMP
    GetPlaybackInfo(IGlobalSystemMediaTransportControlsSessionPlaybackInfo** info) override {
        SessionState* state = Lock();
        return state ? *info = new PlaybackInfo(state->status), S_OK : RPC_E_DISCONNECTED;
    }
    STDMETHODIMP TrySkipNextAsync(BoolOperation** operation) override { return Skip(1, operation); }
    STDMETHODIMP TrySkipPreviousAsync(BoolOperation** operation) override {
        return Skip(0, operation);
    }
    STDMETHODIMP add_PlaybackInfoChanged(SessionEventHandler* handler,
                                         EventRegistrationToken* token) override {
        return Check(), Register(m_number, kPlaybackInfoChanged, Invoker(handler), token);
    }
    STDMETHODIMP remove_PlaybackInfoChanged(EventRegistrationToken token) override {
        return Check(), Unregister(token);
    }
    STDMETHODIMP add_MediaPropertiesChanged(SessionEventHandler* handler,
                                            EventRegistrationToken* token) override {
        return Check(), Register(m_number, kMediaPropertiesChanged, Invoker(handler), token);
    }
    STDMETHODIMP remove_MediaPropertiesChanged(EventRegistrationToken token) override {
        return Check(), Unregister(token);
    }
    UNUSED_SLOT(GetTimelineProperties, IInspectable**)
    UNUSED_SLOT(TryPlayAsync, BoolOperation**)
    UNUSED_SLOT(TryPauseAsync, BoolOperation**)
    UNUSED_SLOT(TryStopAsync, BoolOperation**)
    UNUSED_SLOT(TryRecordAsync, BoolOperation**)
    UNUSED_SLOT(TryFastForwardAsync, BoolOperation**)
    UNUSED_SLOT(TryRewindAsync, BoolOperation**)
    UNUSED_SLOT(TryChangeChannelUpAsync, BoolOperation**)
    UNUSED_SLOT(TryChangeChannelDownAsync, BoolOperation**)
    UNUSED_SLOT(TryTogglePlayPauseAsync, BoolOperation**)
    UNUSED_SLOT(TryChangeAutoRepeatModeAsync, INT32, BoolOperation**)
    UNUSED_SLOT(TryChangePlaybackRateAsync, DOUBLE, BoolOperation**)
    UNUSED_SLOT(TryChangeShuffleActiveAsync, boolean, BoolOperation**)
    UNUSED_SLOT(TryChangePlaybackPositionAsync, INT64, BoolOperation**)
    UNUSED_SLOT(add_TimelinePropertiesChanged, SessionEventHandler*, EventRegistrationToken*)
    UNUSED_SLOT(remove_TimelinePropertiesChanged, EventRegistrationToken)

  private:
    // The session's state, or null when it went away.
    SessionState* Lock() {
        Check();
        const std::lock_guard<std::recursive_mutex> lock(g_mutex);
        SessionState& state = g_sessions[static_cast<size_t>(m_number)];
        return state.removed ? nullptr : &state;
    }
    HRESULT Skip(int next, BoolOperation** operation) {
        SessionState* state = Lock();
        if (!state)
            return RPC_E_DISCONNECTED;
        ++state->skips[next];
        auto* op = new BoolOp(TRUE);
        *operation = op;
        op->Start();
        return S_OK;
    }
    void OnReleased() override {
        const std::lock_guard<std::recursive_mutex> lock(g_mutex);
        if (g_sessions[static_cast<size_t>(m_number)].object == this)
            g_sessions[static_cast<size_t>(m_number)].object = nullptr;
    }
    const int m_number;
};

class Manager final
    : public Counted<IGlobalSystemMediaTransportControlsSessionManager, kIidManager> {
  public:
    STDMETHODIMP GetCurrentSession(IGlobalSystemMediaTransportControlsSession** result) override {
        Check();
        const std::lock_guard<std::recursive_mutex> lock(g_mutex);
        *result = nullptr;
        if (g_current < 0 || g_sessions[static_cast<size_t>(g_current)].removed)
            return S_OK;
        // One object per session while someone holds it, as Windows does.
        Session*& object = g_sessions[static_cast<size_t>(g_current)].object;
        if (object)
            object->AddRef();
        else
            object = new Session(g_current);
        *result = object;
        return S_OK;
    }
    STDMETHODIMP add_CurrentSessionChanged(ManagerEventHandler* handler,
                                           EventRegistrationToken* token) override {
        return Check(), Register(-1, kCurrentSessionChanged, Invoker(handler), token);
    }
    STDMETHODIMP remove_CurrentSessionChanged(EventRegistrationToken token) override {
        return Check(), Unregister(token);
    }
    UNUSED_SLOT(GetSessions, IInspectable**)
    UNUSED_SLOT(add_SessionsChanged, ManagerEventHandler*, EventRegistrationToken*)
    UNUSED_SLOT(remove_SessionsChanged, EventRegistrationToken)
};

// A static object: neither counted nor freed.
class Factory final : public IActivationFactory,
                      public IGlobalSystemMediaTransportControlsSessionManagerStatics {
  public:
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
        *object = nullptr;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, __uuidof(IInspectable)) ||
            IsEqualIID(iid, kIidActivationFactory))
            *object = static_cast<IActivationFactory*>(this);
        else if (IsEqualIID(iid, kIidManagerStatics))
            *object = static_cast<IGlobalSystemMediaTransportControlsSessionManagerStatics*>(this);
        return *object ? S_OK : E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    UNUSED_SLOT(GetIids, ULONG*, IID**)
    UNUSED_SLOT(GetRuntimeClassName, HSTRING*)
    UNUSED_SLOT(GetTrustLevel, TrustLevel*)
    UNUSED_SLOT(ActivateInstance, IInspectable**)
    STDMETHODIMP RequestAsync(ManagerOperation** operation) override {
        auto* op = new ManagerOp(new Manager);
        *operation = op;
        op->Start();
        return S_OK;
    }
} g_factory;

} // namespace

STDAPI DllGetActivationFactory(HSTRING classId, IActivationFactory** factory) {
    *factory = nullptr;
    if (wcscmp(WindowsGetStringRawBuffer(classId, nullptr), kManagerClass) != 0)
        return CLASS_E_CLASSNOTAVAILABLE;
    *factory = &g_factory;
    return S_OK;
}

STDAPI DllCanUnloadNow() {
    return S_FALSE; // the tests read its counters to the end
}

extern "C" void WINAPI FakeSessions_Reset(BOOL completeAtOnce) {
    std::vector<Registration> dropped; // released outside the lock
    const std::lock_guard<std::recursive_mutex> lock(g_mutex);
    dropped.swap(g_registrations);
    for (SessionState& state : g_sessions)
        state.removed = true;
    g_completeAtOnce = completeAtOnce != FALSE;
    g_current = -1;
    g_afterRelease = 0;
    g_propertyRequests = 0;
}

extern "C" int WINAPI FakeSessions_Add(const wchar_t* appId) {
    const std::lock_guard<std::recursive_mutex> lock(g_mutex);
    g_sessions.push_back(SessionState{appId, L"", L"", kPlaybackClosed, false, {0, 0}, nullptr});
    return static_cast<int>(g_sessions.size()) - 1;
}

extern "C" void WINAPI FakeSessions_Set(int session, const wchar_t* artist, const wchar_t* title,
                                        int status) {
    const std::lock_guard<std::recursive_mutex> lock(g_mutex);
    SessionState& state = g_sessions[static_cast<size_t>(session)];
    state.artist = artist;
    state.title = title;
    state.status = status;
}

extern "C" void WINAPI FakeSessions_Remove(int session) {
    const std::lock_guard<std::recursive_mutex> lock(g_mutex);
    g_sessions[static_cast<size_t>(session)].removed = true;
}

extern "C" void WINAPI FakeSessions_SetCurrent(int session) {
    const std::lock_guard<std::recursive_mutex> lock(g_mutex);
    g_current = session;
}

extern "C" void WINAPI FakeSessions_Raise(int session, int event) {
    std::vector<std::function<void()>> handlers;
    {
        const std::lock_guard<std::recursive_mutex> lock(g_mutex);
        for (const Registration& registration : g_registrations)
            if (registration.target == session && registration.event == event)
                handlers.push_back(registration.invoke);
    }
    std::thread([&handlers] {
        for (const auto& invoke : handlers)
            invoke();
    }).join();
}

extern "C" LONG WINAPI FakeSessions_Count(int counter, int session) {
    const std::lock_guard<std::recursive_mutex> lock(g_mutex);
    switch (counter) {
    case kLiveObjects:
        return g_live;
    case kLiveRegistrations:
        return static_cast<LONG>(g_registrations.size());
    case kPendingWork:
        return g_pending;
    case kCallsAfterRelease:
        return g_afterRelease;
    case kSkipsPrevious:
    case kSkipsNext:
        return g_sessions[static_cast<size_t>(session)].skips[counter - kSkipsPrevious];
    case kPropertyRequests:
        return g_propertyRequests;
    default:
        return -1;
    }
}
