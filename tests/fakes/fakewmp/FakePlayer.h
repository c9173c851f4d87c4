// The fake media player control: an OLE control as a container sees one
// (IOleObject, IOleInPlaceObject, IPersistStreamInit) that offers the
// player's IWMPPlayer4. It works only when its site's services include
// IWMPRemoteMediaServices with the service type "Remote"; then it reports
// what the test driver's state file says. It fires its events
// (_WMPOCXEvents) to connected sinks when the driver tells it to (see
// FakeWmpMessages.h).
#pragma once
#include "framework/ComPtr.h"
#include "tests/fakes/fakewmp/FakeEventPoint.h"
#include "tests/fakes/fakewmp/FakeModule.h"
#include <ocidl.h>
#include <oleidl.h>
#include <wmp.h>

class CFakePlayer final : public CFakeObject,
                          public IOleObject,
                          public IOleInPlaceObject,
                          public IPersistStreamInit,
                          public IConnectionPointContainer,
                          public DispatchWithoutTypeInfo<IWMPPlayer4> {
  public:
    CFakePlayer() = default;
    ~CFakePlayer() override;

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_cRef; }
    STDMETHODIMP_(ULONG) Release() override;

    // IOleObject
    STDMETHODIMP SetClientSite(IOleClientSite* site) override;
    STDMETHODIMP GetClientSite(IOleClientSite** site) override;
    STDMETHODIMP SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
    STDMETHODIMP Close(DWORD saveOption) override;
    STDMETHODIMP SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    STDMETHODIMP InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetClipboardData(DWORD, IDataObject**) override { return E_NOTIMPL; }
    STDMETHODIMP DoVerb(LONG verb, LPMSG, IOleClientSite*, LONG, HWND, LPCRECT) override;
    STDMETHODIMP EnumVerbs(IEnumOLEVERB**) override { return E_NOTIMPL; }
    STDMETHODIMP Update() override { return S_OK; }
    STDMETHODIMP IsUpToDate() override { return S_OK; }
    STDMETHODIMP GetUserClassID(CLSID* clsid) override;
    STDMETHODIMP GetUserType(DWORD, LPOLESTR*) override { return E_NOTIMPL; }
    STDMETHODIMP SetExtent(DWORD, SIZEL*) override { return E_NOTIMPL; }
    STDMETHODIMP GetExtent(DWORD, SIZEL*) override { return E_NOTIMPL; }
    STDMETHODIMP Advise(IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP Unadvise(DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP EnumAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }
    STDMETHODIMP GetMiscStatus(DWORD aspect, DWORD* status) override;
    STDMETHODIMP SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

    // IOleWindow / IOleInPlaceObject
    STDMETHODIMP GetWindow(HWND* window) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP InPlaceDeactivate() override;
    STDMETHODIMP UIDeactivate() override { return S_OK; }
    STDMETHODIMP SetObjectRects(LPCRECT position, LPCRECT clip) override;
    STDMETHODIMP ReactivateAndUndo() override { return E_NOTIMPL; }

    // IPersistStreamInit
    STDMETHODIMP GetClassID(CLSID* clsid) override;
    STDMETHODIMP IsDirty() override { return S_FALSE; }
    STDMETHODIMP Load(LPSTREAM) override { return E_NOTIMPL; }
    STDMETHODIMP Save(LPSTREAM, BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP GetSizeMax(ULARGE_INTEGER*) override { return E_NOTIMPL; }
    STDMETHODIMP InitNew() override;

    // IConnectionPointContainer: the one point, for _WMPOCXEvents.
    STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints** points) override;
    STDMETHODIMP FindConnectionPoint(REFIID iid, IConnectionPoint** point) override;

    // IWMPCore: what a remote host reads and drives.
    STDMETHODIMP get_playState(WMPPlayState* state) override;
    STDMETHODIMP get_controls(IWMPControls** controls) override;
    STDMETHODIMP get_currentMedia(IWMPMedia** media) override;
    STDMETHODIMP get_isRemote(VARIANT_BOOL* remote) override;

    STDMETHODIMP close() override { return E_NOTIMPL; }
    STDMETHODIMP get_URL(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP put_URL(BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP get_openState(WMPOpenState*) override { return E_NOTIMPL; }
    STDMETHODIMP get_settings(IWMPSettings**) override { return E_NOTIMPL; }
    STDMETHODIMP put_currentMedia(IWMPMedia*) override { return E_NOTIMPL; }
    STDMETHODIMP get_mediaCollection(IWMPMediaCollection**) override { return E_NOTIMPL; }
    STDMETHODIMP get_playlistCollection(IWMPPlaylistCollection**) override { return E_NOTIMPL; }
    STDMETHODIMP get_versionInfo(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP launchURL(BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP get_network(IWMPNetwork**) override { return E_NOTIMPL; }
    STDMETHODIMP get_currentPlaylist(IWMPPlaylist**) override { return E_NOTIMPL; }
    STDMETHODIMP put_currentPlaylist(IWMPPlaylist*) override { return E_NOTIMPL; }
    STDMETHODIMP get_cdromCollection(IWMPCdromCollection**) override { return E_NOTIMPL; }
    STDMETHODIMP get_closedCaption(IWMPClosedCaption**) override { return E_NOTIMPL; }
    STDMETHODIMP get_isOnline(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP get_Error(IWMPError**) override { return E_NOTIMPL; }
    STDMETHODIMP get_status(BSTR*) override { return E_NOTIMPL; }
    // IWMPCore2, IWMPCore3, IWMPPlayer4
    STDMETHODIMP get_dvd(IWMPDVD**) override { return E_NOTIMPL; }
    STDMETHODIMP newPlaylist(BSTR, BSTR, IWMPPlaylist**) override { return E_NOTIMPL; }
    STDMETHODIMP newMedia(BSTR, IWMPMedia**) override { return E_NOTIMPL; }
    STDMETHODIMP get_enabled(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP put_enabled(VARIANT_BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP get_fullScreen(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP put_fullScreen(VARIANT_BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP get_enableContextMenu(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP put_enableContextMenu(VARIANT_BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP put_uiMode(BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP get_uiMode(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP get_stretchToFit(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP put_stretchToFit(VARIANT_BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP get_windowlessVideo(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP put_windowlessVideo(VARIANT_BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP get_playerApplication(IWMPPlayerApplication**) override { return E_NOTIMPL; }
    STDMETHODIMP openPlayer(BSTR) override { return E_NOTIMPL; }

  private:
    // Asks the site for the remote services, as the real control does.
    bool SiteIsRemote() const;
    HRESULT ActivateInPlace();
    // The driver's requests arrive as messages to the control's window.
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Fire(DISPID id);

    ULONG m_cRef = 1;
    ComPtr<IOleClientSite> m_spSite;
    bool m_bRemote = false;
    HWND m_hWnd = nullptr;
    WNDPROC m_staticProc = nullptr;
    long m_nPlayStateReads = 0;
    CFakeEventPoint m_events{*this};
};
