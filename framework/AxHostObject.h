// CAxHostObject: the host object behind one "AtlAxWin7" window. It is the
// embedded control's container: client site, in-place site (windowed only)
// and control site, with an in-place frame of its own. It also carries the
// site the owner gives it (IObjectWithSite) and forwards the control's
// service requests there.
#pragma once
#include "framework/AxHost.h"
#include "framework/ComObject.h"
#include "framework/OleInitialization.h"
#include <ocidl.h>
#include <oleidl.h>
#include <servprov.h>

class CAxHostObject final
    : public CComObject<IObjectWithSite, IAxWinHostWindow, IOleClientSite, IOleInPlaceSiteEx,
                        IOleControlSite, IServiceProvider> {
  public:
    // The window holds the first reference. Controls are apartment objects
    // of this (UI) thread: OLE stays initialised while the host lives.
    explicit CAxHostObject(HWND window);

    IUnknown* GetUnknown() { return static_cast<IObjectWithSite*>(this); }
    IUnknown* GetControl() const { return m_spControl.Get(); }
    // WM_DESTROY: releases the control and the site; the window is gone.
    void ReleaseAll();
    // WM_SIZE: the control fills the window.
    void OnSize();

    // IObjectWithSite
    STDMETHODIMP SetSite(IUnknown* site) override;
    STDMETHODIMP GetSite(REFIID iid, void** site) override;

    // IAxWinHostWindow
    STDMETHODIMP CreateControl(LPCOLESTR text, HWND window, IStream* stream) override;
    STDMETHODIMP CreateControlEx(LPCOLESTR text, HWND window, IStream* stream, IUnknown** control,
                                 REFIID sinkIid, IUnknown* sink) override;
    // The program creates its control through the host and reaches it
    // through the window, and it hosts no HTML: the rest is not offered.
    STDMETHODIMP AttachControl(IUnknown*, HWND) override { return E_NOTIMPL; }
    STDMETHODIMP QueryControl(REFIID, void**) override { return E_NOTIMPL; }
    STDMETHODIMP SetExternalDispatch(IDispatch*) override { return E_NOTIMPL; }
    STDMETHODIMP SetExternalUIHandler(IUnknown*) override { return E_NOTIMPL; }

    // IOleClientSite
    STDMETHODIMP SaveObject() override;
    STDMETHODIMP GetMoniker(DWORD assign, DWORD which, IMoniker** moniker) override;
    STDMETHODIMP GetContainer(IOleContainer** container) override;
    STDMETHODIMP ShowObject() override;
    STDMETHODIMP OnShowWindow(BOOL show) override;
    STDMETHODIMP RequestNewObjectLayout() override;

    // IOleWindow
    STDMETHODIMP GetWindow(HWND* window) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL enterMode) override;

    // IOleInPlaceSite
    STDMETHODIMP CanInPlaceActivate() override;
    STDMETHODIMP OnInPlaceActivate() override;
    STDMETHODIMP OnUIActivate() override;
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                  LPRECT posRect, LPRECT clipRect,
                                  LPOLEINPLACEFRAMEINFO frameInfo) override;
    STDMETHODIMP Scroll(SIZE extent) override;
    STDMETHODIMP OnUIDeactivate(BOOL undoable) override;
    STDMETHODIMP OnInPlaceDeactivate() override;
    STDMETHODIMP DiscardUndoState() override;
    STDMETHODIMP DeactivateAndUndo() override;
    STDMETHODIMP OnPosRectChange(LPCRECT posRect) override;

    // IOleInPlaceSiteEx
    STDMETHODIMP OnInPlaceActivateEx(BOOL* noRedraw, DWORD flags) override;
    STDMETHODIMP OnInPlaceDeactivateEx(BOOL noRedraw) override;
    STDMETHODIMP RequestUIActivate() override;

    // IOleControlSite
    STDMETHODIMP OnControlInfoChanged() override;
    STDMETHODIMP LockInPlaceActive(BOOL lock) override;
    STDMETHODIMP GetExtendedControl(IDispatch** extended) override;
    STDMETHODIMP TransformCoords(POINTL* himetric, POINTF* container, DWORD flags) override;
    STDMETHODIMP TranslateAccelerator(MSG* message, DWORD modifiers) override;
    STDMETHODIMP OnFocus(BOOL gotFocus) override;
    STDMETHODIMP ShowPropertyFrame() override;

    // IServiceProvider
    STDMETHODIMP QueryService(REFGUID service, REFIID iid, void** object) override;

  private:
    // The in-place frame handed to the control. Some controls (Wine's media
    // player) never release it, so it lives exactly as long as the host
    // instead of counting itself away.
    class CFrame final : public IOleInPlaceFrame {
      public:
        explicit CFrame(CAxHostObject& host) : m_host(host) {}
        STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
        STDMETHODIMP_(ULONG) AddRef() override { return ++m_cRef; }
        STDMETHODIMP_(ULONG) Release() override { return m_cRef > 0 ? --m_cRef : 0; }
        STDMETHODIMP GetWindow(HWND* window) override;
        STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
        STDMETHODIMP GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
        STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
        STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
        STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override { return S_OK; }
        STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
        STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
        STDMETHODIMP RemoveMenus(HMENU) override { return S_OK; }
        STDMETHODIMP SetStatusText(LPCOLESTR) override { return S_OK; }
        STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }
        STDMETHODIMP TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

      private:
        CAxHostObject& m_host;
        ULONG m_cRef = 0;
    };

    void* FindInterface(REFIID iid) override;
    // Site, initialisation and in-place activation of a control.
    HRESULT ActivateControl(const ComPtr<IUnknown>& control, IStream* stream);
    HRESULT Advise(REFIID sinkIid, IUnknown* sink);
    void ReleaseControl();
    RECT ClientRect() const;

    COleInitialization m_ole; // first in, last out
    HWND m_hWnd;
    bool m_bInPlaceActive = false;
    ComPtr<IUnknown> m_spSite;
    ComPtr<IUnknown> m_spControl;
    ComPtr<IOleObject> m_spOleObject;
    ComPtr<IConnectionPoint> m_spSinkPoint;
    DWORD m_dwSinkCookie = 0;
    CFrame m_frame{*this};
};
