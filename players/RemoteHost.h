// CRemoteHost: the site object that the media player control asks for its
// remote-media services. Answering the service type "Remote" makes the
// control a remote view of the running Windows Media Player instead of a
// player of its own.
#pragma once
#include "framework/ComObject.h"
#include <windows.h>
#include <oaidl.h>
#include <servprov.h>
#include <wmp.h>

// The string resource that names the application to the player.
constexpr UINT IDS_REMOTE_APPLICATION = 100;

class CRemoteHost final : public CComObject<IServiceProvider, IWMPRemoteMediaServices> {
  public:
    // `resources`: where the application name is looked up (null: the program).
    explicit CRemoteHost(HINSTANCE resources = nullptr);

    // IServiceProvider: every service is this object, whatever its GUID.
    STDMETHODIMP QueryService(REFGUID service, REFIID iid, void** object) override;

    // IWMPRemoteMediaServices
    STDMETHODIMP GetServiceType(BSTR* type) override;
    STDMETHODIMP GetApplicationName(BSTR* name) override;
    STDMETHODIMP GetScriptableObject(BSTR* name, IDispatch** dispatch) override;
    STDMETHODIMP GetCustomUIMode(BSTR* file) override;

  private:
    void* FindInterface(REFIID iid) override;

    HINSTANCE m_hResources;
};
