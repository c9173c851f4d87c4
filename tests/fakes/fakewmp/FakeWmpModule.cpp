// The fake control's DLL entry points: its class factory for the media
// player control's CLSID and the unload check.
#include "tests/fakes/fakewmp/FakeModule.h"
#include "tests/fakes/fakewmp/FakePlayer.h"
#include <atomic>
#include <new>

namespace {

HMODULE g_module = nullptr;
std::atomic<long> g_liveObjects{0};
std::atomic<long> g_serverLocks{0};

// A static object: it is not counted and never deleted.
class CFakeFactory final : public IClassFactory {
  public:
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
        if (!object)
            return E_POINTER;
        *object = nullptr;
        if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IClassFactory))
            return E_NOINTERFACE;
        *object = static_cast<IClassFactory*>(this);
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }

    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
        if (!object)
            return E_POINTER;
        *object = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        auto* player = new (std::nothrow) CFakePlayer;
        if (!player)
            return E_OUTOFMEMORY;
        HRESULT hr = player->QueryInterface(iid, object);
        player->Release();
        return hr;
    }
    STDMETHODIMP LockServer(BOOL lock) override {
        g_serverLocks += lock ? 1 : -1;
        return S_OK;
    }
};

CFakeFactory g_factory;

} // namespace

HMODULE FakeModuleHandle() {
    return g_module;
}

CFakeObject::CFakeObject() {
    ++g_liveObjects;
}
CFakeObject::~CFakeObject() {
    --g_liveObjects;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* object) {
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (!IsEqualCLSID(clsid, __uuidof(WindowsMediaPlayer)))
        return CLASS_E_CLASSNOTAVAILABLE;
    return g_factory.QueryInterface(iid, object);
}

STDAPI DllCanUnloadNow() {
    return g_liveObjects == 0 && g_serverLocks == 0 ? S_OK : S_FALSE;
}
