// CRemoteHost: what the media player control gets when it asks its site for
// the remote-media services.
#include "framework/ComPtr.h"
#include "players/RemoteHost.h"
#include "tests/fakes/fakewmp/FakeWmpTesting.h"
#include <gtest/gtest.h>

namespace {

// A pointer value no call should leave behind.
template <class T> T* Garbage() {
    return reinterpret_cast<T*>(static_cast<uintptr_t>(0x5a5a5a5a));
}

// The object with one reference held by the test.
ComPtr<CRemoteHost> MakeRemoteHost(HINSTANCE resources = nullptr) {
    return ComPtr<CRemoteHost>(new CRemoteHost(resources));
}

} // namespace

TEST(RemoteHost, CountsItsReferencesFromZero) {
    auto* host = new CRemoteHost;
    EXPECT_EQ(host->AddRef(), 1u) << "a new object holds no reference";
    EXPECT_EQ(host->AddRef(), 2u);
    IWMPRemoteMediaServices* services = nullptr;
    ASSERT_EQ(host->QueryInterface(__uuidof(IWMPRemoteMediaServices),
                                   reinterpret_cast<void**>(&services)),
              S_OK);
    EXPECT_EQ(services->Release(), 2u) << "a successful query added one";
    EXPECT_EQ(host->Release(), 1u);
    EXPECT_EQ(host->Release(), 0u) << "and the last release deletes it";
}

TEST(RemoteHost, AnswersItsTwoInterfacesAndNothingElse) {
    auto host = MakeRemoteHost();
    IServiceProvider* provider = static_cast<IServiceProvider*>(host.Get());

    EXPECT_EQ(host->QueryInterface(IID_IUnknown, nullptr), E_POINTER);

    void* unknown = nullptr;
    ASSERT_EQ(host->QueryInterface(IID_IUnknown, &unknown), S_OK);
    EXPECT_EQ(unknown, static_cast<void*>(provider)) << "IUnknown is the service provider";
    static_cast<IUnknown*>(unknown)->Release();

    void* asProvider = nullptr;
    ASSERT_EQ(host->QueryInterface(IID_IServiceProvider, &asProvider), S_OK);
    EXPECT_EQ(asProvider, static_cast<void*>(provider));
    static_cast<IUnknown*>(asProvider)->Release();

    void* services = nullptr;
    ASSERT_EQ(host->QueryInterface(__uuidof(IWMPRemoteMediaServices), &services), S_OK);
    EXPECT_EQ(services, static_cast<void*>(static_cast<IWMPRemoteMediaServices*>(host.Get())));
    static_cast<IUnknown*>(services)->Release();

    for (REFIID other : {IID_IDispatch, IID_IOleClientSite, IID_IObjectWithSite}) {
        void* out = Garbage<void>();
        EXPECT_EQ(host->QueryInterface(other, &out), E_NOINTERFACE);
        EXPECT_EQ(out, nullptr) << "the out-pointer is cleared first";
    }
    host->AddRef();
    EXPECT_EQ(host->Release(), 1u) << "failed queries added nothing";
}

TEST(RemoteHost, QueryServiceIsQueryInterfaceWhateverTheService) {
    auto host = MakeRemoteHost();
    EXPECT_EQ(host->QueryService(IID_IUnknown, IID_IUnknown, nullptr), E_POINTER);

    for (REFGUID service : {__uuidof(IWMPRemoteMediaServices), IID_IOleClientSite, GUID_NULL}) {
        ComPtr<IWMPRemoteMediaServices> services;
        ASSERT_EQ(
            host->QueryService(service, __uuidof(IWMPRemoteMediaServices), services.PutVoid()),
            S_OK);
        EXPECT_EQ(services.Get(), static_cast<IWMPRemoteMediaServices*>(host.Get()));
    }
    void* out = Garbage<void>();
    EXPECT_EQ(host->QueryService(__uuidof(IWMPRemoteMediaServices), IID_IDispatch, &out),
              E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    host->AddRef();
    EXPECT_EQ(host->Release(), 1u);
}

TEST(RemoteHost, ServiceTypeIsRemote) {
    auto host = MakeRemoteHost();
    EXPECT_EQ(host->GetServiceType(nullptr), E_POINTER);
    BStr type;
    ASSERT_EQ(host->GetServiceType(type.Put()), S_OK);
    EXPECT_STREQ(type.Get(), L"Remote");
    EXPECT_EQ(SysStringLen(type.Get()), 6u) << "a real BSTR, with its length";
}

TEST(RemoteHost, ApplicationNameComesFromStringResource100) {
    // The program has no string 100: the control gets no name.
    auto host = MakeRemoteHost();
    EXPECT_EQ(host->GetApplicationName(nullptr), E_POINTER);
    BSTR name = Garbage<OLECHAR>();
    EXPECT_EQ(host->GetApplicationName(&name), E_POINTER);
    EXPECT_EQ(name, nullptr);

    // A module that has one gives it.
    fakewmp::PinnedFake withName;
    ASSERT_TRUE(withName.Loaded());
    auto named = MakeRemoteHost(withName.Module());
    BStr text;
    ASSERT_EQ(named->GetApplicationName(text.Put()), S_OK);
    EXPECT_STREQ(text.Get(), L"Fake remote host");
}

TEST(RemoteHost, OffersNoScriptableObjectOrCustomUi) {
    auto host = MakeRemoteHost();
    BSTR name = Garbage<OLECHAR>();
    IDispatch* dispatch = Garbage<IDispatch>();
    EXPECT_EQ(host->GetScriptableObject(&name, &dispatch), E_NOTIMPL);
    EXPECT_EQ(name, nullptr);
    EXPECT_EQ(dispatch, nullptr);
    EXPECT_EQ(host->GetScriptableObject(nullptr, nullptr), E_NOTIMPL);

    BSTR file = Garbage<OLECHAR>();
    EXPECT_EQ(host->GetCustomUIMode(&file), E_NOTIMPL);
    EXPECT_EQ(file, Garbage<OLECHAR>()) << "left alone";
    EXPECT_EQ(host->GetCustomUIMode(nullptr), E_NOTIMPL);
}
