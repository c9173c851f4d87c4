// CRemoteHost: the site object that the media player control asks for its
// remote-media services. Answering the service type "Remote" makes the
// control a remote view of the running Windows Media Player instead of a
// player of its own.
#pragma once
#include <windows.h>
#include <oaidl.h>
#include <servprov.h>
#include <wmp.h>

// The string resource that names the application to the player.
constexpr UINT IDS_REMOTE_APPLICATION = 100;

// Created with `new` and a count of 0; deletes itself when the last reference
// goes. Used on the UI thread only, so the count is a plain integer.
class CRemoteHost final : public IServiceProvider, public IWMPRemoteMediaServices {
  public:
    // `resources`: where the application name is looked up (null: the program).
    explicit CRemoteHost(HINSTANCE resources = nullptr);
    CRemoteHost(const CRemoteHost&) = delete;
    CRemoteHost& operator=(const CRemoteHost&) = delete;

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IServiceProvider: every service is this object, whatever its GUID.
    STDMETHODIMP QueryService(REFGUID service, REFIID iid, void** object) override;

    // IWMPRemoteMediaServices
    STDMETHODIMP GetServiceType(BSTR* type) override;
    STDMETHODIMP GetApplicationName(BSTR* name) override;
    STDMETHODIMP GetScriptableObject(BSTR* name, IDispatch** dispatch) override;
    STDMETHODIMP GetCustomUIMode(BSTR* file) override;

  private:
    ~CRemoteHost() = default;

    ULONG m_cRef = 0;
    HINSTANCE m_hResources;
};
