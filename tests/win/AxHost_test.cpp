// The "AtlAxWin7" hosting window and its host object, with Wine's own media
// player control (which none of us wrote) and with the fake one.
#include "framework/AxHost.h"
#include "framework/AxModule.h"
#include "players/RemoteHost.h"
#include "tests/fakes/fakewmp/FakeWmpDriver.h"
#include "tests/fakes/fakewmp/FakeWmpTesting.h"
#include <gtest/gtest.h>
#include <ocidl.h>
#include <wmp.h>

using fakewmp::ComInitialisedHere;
using fakewmp::OnFreshThread;

namespace {

constexpr wchar_t kPlayerClsid[] = L"{6BF52A52-394A-11d3-B153-00C04F79FAA6}";

// A hidden hosting window, destroyed at the end of the test if still there.
class AxWindow {
  public:
    AxWindow() {
        AtlAxWinInit();
        m_hWnd = CreateWindowExA(0, kAxWinClass, nullptr, WS_POPUP, 0, 0, 240, 160, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    AxWindow(const AxWindow&) = delete;
    AxWindow& operator=(const AxWindow&) = delete;
    ~AxWindow() { Destroy(); }
    HWND Get() const { return m_hWnd; }
    void Destroy() {
        if (m_hWnd && IsWindow(m_hWnd))
            DestroyWindow(m_hWnd);
        m_hWnd = nullptr;
    }

  private:
    HWND m_hWnd = nullptr;
};

// The count an object has after the caller's reference: AddRef, then
// Release, returns what Release says.
template <class T> ULONG RefCount(T* object) {
    object->AddRef();
    return object->Release();
}

// Releases the last reference the test holds and tells what remained.
ULONG ReleaseLast(ComPtr<IUnknown>& object) {
    return object.Detach()->Release();
}

ComPtr<IUnknown> Identity(IUnknown* object) {
    return QueryAs<IUnknown>(object);
}

// An event sink that only counts its references.
class CountingSink final : public IDispatch {
  public:
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
        *object = nullptr;
        if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IDispatch) &&
            !IsEqualIID(iid, __uuidof(_WMPOCXEvents)))
            return E_NOINTERFACE;
        *object = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_cRef; }
    STDMETHODIMP_(ULONG) Release() override { return --m_cRef; }
    STDMETHODIMP GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                        UINT*) override {
        return S_OK;
    }
    ULONG Count() const { return m_cRef; }

  private:
    ULONG m_cRef = 1;
};

ComPtr<IAxWinHostWindow> HostWindowOf(HWND window) {
    return QueryAs<IAxWinHostWindow>(AxGetHost(window).Get());
}

} // namespace

TEST(AxHost, RegistersTheHostingClassAndMessages) {
    ASSERT_TRUE(AtlAxWinInit());
    ASSERT_TRUE(AtlAxWinInit()) << "a second registration is harmless";
    WNDCLASSEXA info{};
    info.cbSize = sizeof info;
    EXPECT_TRUE(GetClassInfoExA(GetModuleHandleA(nullptr), "AtlAxWin7", &info));

    AxWindow window;
    ASSERT_TRUE(IsWindow(window.Get()));
    // Anyone may ask by the registered names, as with the platform's hosting.
    auto* host = reinterpret_cast<IUnknown*>(
        SendMessageA(window.Get(), RegisterWindowMessageA("WM_ATLGETHOST"), 0, 0));
    ASSERT_NE(host, nullptr);
    EXPECT_EQ(Identity(host).Get(), AxGetHost(window.Get()).Get());
    EXPECT_EQ(SendMessageA(window.Get(), RegisterWindowMessageA("WM_ATLGETCONTROL"), 0, 0), 0)
        << "no control yet";
    // Other windows have no host.
    EXPECT_FALSE(AxGetHost(GetDesktopWindow()));
}

TEST(AxHost, HostObjectIsAWindowedContainer) {
    AxWindow window;
    ComPtr<IUnknown> host = AxGetHost(window.Get());
    ASSERT_TRUE(host);
    EXPECT_TRUE(QueryAs<IObjectWithSite>(host.Get()));
    EXPECT_TRUE(QueryAs<IAxWinHostWindow>(host.Get()));
    EXPECT_TRUE(QueryAs<IOleClientSite>(host.Get()));
    EXPECT_TRUE(QueryAs<IOleInPlaceSite>(host.Get()));
    EXPECT_TRUE(QueryAs<IOleInPlaceSiteEx>(host.Get()));
    EXPECT_TRUE(QueryAs<IOleControlSite>(host.Get()));
    EXPECT_TRUE(QueryAs<IServiceProvider>(host.Get()));
    EXPECT_FALSE(QueryAs<IOleInPlaceSiteWindowless>(host.Get()));

    HWND siteWindow = nullptr;
    ASSERT_EQ(QueryAs<IOleInPlaceSite>(host.Get())->GetWindow(&siteWindow), S_OK);
    EXPECT_EQ(siteWindow, window.Get());

    window.Destroy();
    EXPECT_EQ(ReleaseLast(host), 0u) << "the window's reference went with it";
}

TEST(AxHost, ForwardsServiceRequestsToItsSite) {
    AxWindow window;
    auto withSite = QueryAs<IObjectWithSite>(AxGetHost(window.Get()).Get());
    auto services = QueryAs<IServiceProvider>(AxGetHost(window.Get()).Get());
    ASSERT_TRUE(withSite && services);

    ComPtr<IUnknown> found;
    EXPECT_EQ(withSite->GetSite(IID_IUnknown, found.PutVoid()), E_FAIL);
    EXPECT_FALSE(found);
    EXPECT_EQ(services->QueryService(__uuidof(IWMPRemoteMediaServices),
                                     __uuidof(IWMPRemoteMediaServices), found.PutVoid()),
              E_NOINTERFACE)
        << "no site, no services";
    EXPECT_EQ(services->QueryService(IID_IUnknown, IID_IUnknown, nullptr), E_POINTER);

    ComPtr<CRemoteHost> remote(new CRemoteHost);
    ASSERT_EQ(withSite->SetSite(static_cast<IWMPRemoteMediaServices*>(remote.Get())), S_OK);
    EXPECT_EQ(RefCount(remote.Get()), 2u) << "the host holds the site";

    ComPtr<IWMPRemoteMediaServices> viaSite;
    ASSERT_EQ(withSite->GetSite(__uuidof(IWMPRemoteMediaServices), viaSite.PutVoid()), S_OK);
    EXPECT_EQ(static_cast<void*>(viaSite.Get()),
              static_cast<IWMPRemoteMediaServices*>(remote.Get()));

    ComPtr<IWMPRemoteMediaServices> viaService;
    // Whatever the service GUID, the site answers.
    ASSERT_EQ(services->QueryService(IID_IOleClientSite, __uuidof(IWMPRemoteMediaServices),
                                     viaService.PutVoid()),
              S_OK);
    BStr type;
    ASSERT_EQ(viaService->GetServiceType(type.Put()), S_OK);
    EXPECT_STREQ(type.Get(), L"Remote");
    viaSite.Reset();
    viaService.Reset();
    withSite.Reset();
    services.Reset();

    window.Destroy();
    EXPECT_EQ(RefCount(remote.Get()), 1u) << "the site is released with the window";
}

TEST(AxHost, HostsWinesOwnMediaPlayerControl) {
    CWineWmpRegistration wineControl;
    ASSERT_TRUE(wineControl.Active());
    OnFreshThread([] {
        ComPtr<CRemoteHost> remote(new CRemoteHost);
        ComPtr<IUnknown> host;
        {
            AxWindow window;
            ASSERT_TRUE(IsWindow(window.Get()));
            EXPECT_TRUE(ComInitialisedHere()) << "the hosting window initialises OLE";
            host = AxGetHost(window.Get());
            ASSERT_TRUE(host);
            QueryAs<IObjectWithSite>(host.Get())
                ->SetSite(static_cast<IWMPRemoteMediaServices*>(remote.Get()));

            BStr clsid(kPlayerClsid);
            ASSERT_EQ(HostWindowOf(window.Get())->CreateControl(clsid.Get(), window.Get(), nullptr),
                      S_OK);
            ComPtr<IUnknown> control = AxGetControl(window.Get());
            ASSERT_TRUE(control);
            EXPECT_TRUE(QueryAs<IWMPPlayer4>(control.Get())) << "the player's interface";
            // In place: the control made its window inside the host's.
            EXPECT_NE(GetWindow(window.Get(), GW_CHILD), nullptr);
        }
        EXPECT_EQ(ReleaseLast(host), 0u) << "the control let go of its site";
        EXPECT_EQ(RefCount(remote.Get()), 1u);
        EXPECT_FALSE(ComInitialisedHere()) << "destroying the window undoes OLE";
    });
}

TEST(AxHost, ConnectsAnEventSinkUntilTheControlGoes) {
    CWineWmpRegistration wineControl;
    OnFreshThread([] {
        CountingSink sink;
        AxWindow window;
        BStr clsid(kPlayerClsid);
        ComPtr<IUnknown> control;
        ASSERT_EQ(HostWindowOf(window.Get())
                      ->CreateControlEx(clsid.Get(), nullptr, nullptr, control.Put(),
                                        __uuidof(_WMPOCXEvents), &sink),
                  S_OK);
        ASSERT_TRUE(control);
        EXPECT_EQ(Identity(control.Get()).Get(), Identity(AxGetControl(window.Get()).Get()).Get());
        EXPECT_GT(sink.Count(), 1u) << "the control holds the sink";
        control.Reset();
        window.Destroy();
        EXPECT_EQ(sink.Count(), 1u) << "disconnected with the control";
    });
}

TEST(AxHost, RefusesWhatItCannotHost) {
    OnFreshThread([] {
        AxWindow window;
        AxWindow other;
        auto host = HostWindowOf(window.Get());
        ASSERT_TRUE(host);
        BStr clsid(kPlayerClsid);
        EXPECT_EQ(host->CreateControl(nullptr, nullptr, nullptr), E_POINTER);
        EXPECT_EQ(host->CreateControl(clsid.Get(), other.Get(), nullptr), E_INVALIDARG)
            << "a host embeds into its own window only";
        BStr unknownClass(L"{00000000-0000-0000-0000-0000000000F1}");
        EXPECT_HRESULT_FAILED(host->CreateControl(unknownClass.Get(), nullptr, nullptr));
        BStr garbage(L"not a class");
        EXPECT_HRESULT_FAILED(host->CreateControl(garbage.Get(), nullptr, nullptr));
        EXPECT_FALSE(AxGetControl(window.Get()));
    });
}

TEST(AxHost, HostsTheFakeControlInPlaceAndReleasesIt) {
    CFakeWmpRegistration fake;
    ASSERT_TRUE(fake.Active());
    CFakeWmpDriver driver;
    fakewmp::PinnedFake pinned;
    ASSERT_TRUE(pinned.Loaded());
    OnFreshThread([&] {
        ComPtr<CRemoteHost> remote(new CRemoteHost);
        AxWindow window;
        QueryAs<IObjectWithSite>(AxGetHost(window.Get()).Get())
            ->SetSite(static_cast<IWMPRemoteMediaServices*>(remote.Get()));
        BStr clsid(kPlayerClsid);
        // The fake refuses to initialise before it has its site.
        ASSERT_EQ(HostWindowOf(window.Get())->CreateControl(clsid.Get(), window.Get(), nullptr),
                  S_OK);
        EXPECT_EQ(driver.LogLines(), std::vector<std::string>{"remote"})
            << "the control found the remote services through the host";

        HWND child = FindWindowExA(window.Get(), nullptr, "STATIC", "Fake media player");
        ASSERT_NE(child, nullptr);
        RECT rc{};
        GetClientRect(child, &rc);
        EXPECT_EQ(rc.right, 240);
        EXPECT_EQ(rc.bottom, 160);
        SetWindowPos(window.Get(), nullptr, 0, 0, 300, 120, SWP_NOZORDER | SWP_NOACTIVATE);
        GetClientRect(child, &rc);
        EXPECT_EQ(rc.right, 300) << "the control follows the hosting window";
        EXPECT_EQ(rc.bottom, 120);

        window.Destroy();
        EXPECT_FALSE(IsWindow(child));
        EXPECT_EQ(pinned.CanUnloadNow(), S_OK) << "every object of the fake was released";
        EXPECT_EQ(RefCount(remote.Get()), 1u);
    });
}

TEST(AxHost, FakeControlWithoutRemoteServicesDoesNotPlay) {
    CFakeWmpRegistration fake;
    ASSERT_TRUE(fake.Active());
    CFakeWmpDriver driver;
    driver.SetMedia(3, "Artist", "Title");
    OnFreshThread([&] {
        AxWindow window;
        BStr clsid(kPlayerClsid);
        ASSERT_EQ(HostWindowOf(window.Get())->CreateControl(clsid.Get(), nullptr, nullptr), S_OK);
        EXPECT_EQ(driver.LogLines(), std::vector<std::string>{"local"});
        auto player = QueryAs<IWMPPlayer4>(AxGetControl(window.Get()).Get());
        ASSERT_TRUE(player);
        WMPPlayState state = wmppsUndefined;
        EXPECT_HRESULT_FAILED(player->get_playState(&state));
    });
}

TEST(AxModule, InitialisesAndGivesTheClassesBack) {
    CComModuleLite module;
    EXPECT_FALSE(module.Init(nullptr, &kAxHostTypeLibId));
    ASSERT_TRUE(module.Init(GetModuleHandleA(nullptr), &kAxHostTypeLibId));

    WNDCLASSEXA info{};
    info.cbSize = sizeof info;
    EXPECT_TRUE(GetClassInfoExA(GetModuleHandleA(nullptr), kAxWinClass, &info));
    module.Term();
    EXPECT_FALSE(GetClassInfoExA(GetModuleHandleA(nullptr), kAxWinClass, &info));

    // The start-up switch brings them back.
    AfxEnableControlContainer();
    EXPECT_TRUE(GetClassInfoExA(GetModuleHandleA(nullptr), kAxWinClass, &info));
}
