// The fake media-session manager: the runtime class's activation factory,
// the manager, sessions, their properties and playback info, and the async
// operations, driven through the state it shares with the test. Objects are
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
#include <vector>

using namespace media_control;

namespace {

// What the runtime's async operations answer out of turn (winerror.h values).
constexpr HRESULT kIllegalMethodCall = static_cast<HRESULT>(0x8000000E);
constexpr HRESULT kIllegalDelegateAssignment = static_cast<HRESULT>(0x80000018);

constexpr IID kIidAsyncInfo{0x00000036, 0, 0, {0xc0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr IID kIidActivationFactory{0x00000035, 0, 0, {0xc0, 0, 0, 0, 0, 0, 0, 0x46}};

// In a section every process that loads the fake shares (zeroed when made).
FakeSessionsState& SharedState() {
    static FakeSessionsState* state = [] {
        HANDLE section = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                            sizeof(FakeSessionsState), kFakeSessionsSection);
        void* view = section ? MapViewOfFile(section, FILE_MAP_ALL_ACCESS, 0, 0, 0) : nullptr;
        static FakeSessionsState own{};
        return view ? static_cast<FakeSessionsState*>(view) : &own;
    }();
    return *state;
}
FakeSessionsState& g_state = SharedState();
std::recursive_mutex g_mutex; // guards the registrations and the session objects

class Session;
Session* g_objects[32] = {}; // the live object of each session, if any

struct Registration {
    int target; // session number, or -1 for the manager
    int event;
    INT64 token;
    std::function<void()> invoke; // holds the handler
};
std::vector<Registration> g_registrations;
INT64 g_nextToken = 1;

// The session, or null when it went away.
FakeSession* Find(int number) {
    FakeSession& session = g_state.sessions[number];
    return session.removed ? nullptr : &session;
}

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
    Counted() { InterlockedIncrement(&g_state.liveObjects); }
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
            InterlockedDecrement(&g_state.liveObjects);
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
            InterlockedIncrement(&g_state.callsAfterRelease);
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
        if (g_state.completeAtOnce)
            return Complete();
        InterlockedIncrement(&g_state.pendingWork);
        this->AddRef();
        std::thread([this] {
            Complete();
            this->Release();
            InterlockedDecrement(&g_state.pendingWork);
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
    g_state.liveRegistrations = static_cast<LONG>(g_registrations.size());
    return S_OK;
}

HRESULT Unregister(EventRegistrationToken token) {
    std::function<void()> handler; // released outside the lock
    const std::lock_guard<std::recursive_mutex> lock(g_mutex);
    for (auto it = g_registrations.begin(); it != g_registrations.end(); ++it) {
        if (it->token == token.value) {
            handler = std::move(it->invoke);
            g_registrations.erase(it);
            g_state.liveRegistrations = static_cast<LONG>(g_registrations.size());
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

// A session's properties and playback info as they were when asked for.
class Snapshot final
    : public Counted<IGlobalSystemMediaTransportControlsSessionMediaProperties, kIidMediaProperties,
                     IGlobalSystemMediaTransportControlsSessionPlaybackInfo, kIidPlaybackInfo> {
  public:
    explicit Snapshot(const FakeSession& session) : m_session(session) {}
    STDMETHODIMP get_Title(HSTRING* value) override {
        return Check(), *value = Text(m_session.title), S_OK;
    }
    STDMETHODIMP get_Artist(HSTRING* value) override {
        return Check(), *value = Text(m_session.artist), S_OK;
    }
    STDMETHODIMP get_PlaybackStatus(PlaybackStatus* value) override {
        return Check(), *value = static_cast<PlaybackStatus>(m_session.status), S_OK;
    }
    UNUSED_SLOT(get_Subtitle, HSTRING*)
    UNUSED_SLOT(get_AlbumArtist, HSTRING*)
    UNUSED_SLOT(get_AlbumTitle, HSTRING*)
    UNUSED_SLOT(get_TrackNumber, INT32*)
    UNUSED_SLOT(get_Genres, IInspectable**)
    UNUSED_SLOT(get_AlbumTrackCount, INT32*)
    UNUSED_SLOT(get_PlaybackType, IInspectable**) // of both interfaces
    UNUSED_SLOT(get_Thumbnail, IInspectable**)
    UNUSED_SLOT(get_Controls, IInspectable**)
    UNUSED_SLOT(get_AutoRepeatMode, IInspectable**)
    UNUSED_SLOT(get_PlaybackRate, IInspectable**)
    UNUSED_SLOT(get_IsShuffleActive, IInspectable**)

  private:
    const FakeSession m_session;
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
        const FakeSession* state = Lock();
        return state ? *value = Text(state->appId), S_OK : RPC_E_DISCONNECTED;
    }
    STDMETHODIMP TryGetMediaPropertiesAsync(PropertiesOperation** operation) override {
        const FakeSession* state = Lock();
        if (!state)
            return RPC_E_DISCONNECTED;
        InterlockedIncrement(&g_state.propertyRequests);
        auto* op = new PropertiesOp(new Snapshot(*state));
        *operation = op;
        op->Start();
        return S_OK;
    }
    STDMETHODIMP
    GetPlaybackInfo(IGlobalSystemMediaTransportControlsSessionPlaybackInfo** info) override {
        const FakeSession* state = Lock();
        return state ? *info = new Snapshot(*state), S_OK : RPC_E_DISCONNECTED;
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
    FakeSession* Lock() { return Check(), Find(m_number); }
    HRESULT Skip(int next, BoolOperation** operation) {
        FakeSession* state = Lock();
        if (!state)
            return RPC_E_DISCONNECTED;
        InterlockedIncrement(&state->skips[next]);
        auto* op = new BoolOp(TRUE);
        *operation = op;
        op->Start();
        return S_OK;
    }
    void OnReleased() override {
        const std::lock_guard<std::recursive_mutex> lock(g_mutex);
        if (g_objects[m_number] == this)
            g_objects[m_number] = nullptr;
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
        const int current = g_state.current;
        if (current < 0 || current >= g_state.count || !Find(current))
            return S_OK;
        // One object per session while someone holds it, as Windows does.
        Session*& object = g_objects[current];
        if (object)
            object->AddRef();
        else
            object = new Session(current);
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

extern "C" void WINAPI FakeSessions_Raise(int session, int event);

namespace {
// Raises, in this process, what a test in another process asks for.
void ServeRaises() {
    static std::once_flag started;
    std::call_once(started, [] {
        std::thread([] {
            HANDLE asked = CreateEventW(nullptr, FALSE, FALSE, kFakeSessionsRaiseEvent);
            while (asked && WaitForSingleObject(asked, INFINITE) == WAIT_OBJECT_0) {
                while (g_state.raisesDone < g_state.raisesAsked) {
                    FakeSessions_Raise(g_state.raiseSession, g_state.raiseEvent);
                    InterlockedIncrement(&g_state.raisesDone);
                }
            }
        }).detach();
    });
}
} // namespace

STDAPI DllGetActivationFactory(HSTRING classId, IActivationFactory** factory) {
    *factory = nullptr;
    ServeRaises();
    if (wcscmp(WindowsGetStringRawBuffer(classId, nullptr), kManagerClass) != 0)
        return CLASS_E_CLASSNOTAVAILABLE;
    *factory = &g_factory;
    return S_OK;
}

extern "C" FakeSessionsState* WINAPI FakeSessions_State() {
    return &g_state;
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
