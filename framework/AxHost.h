// ActiveX control hosting: the "AtlAxWin7" window class, whose windows each
// own a host object that embeds one control, in place, as the window's child.
//
// Use: register the class (AtlAxWinInit, or AfxEnableControlContainer at
// start-up), create an "AtlAxWin7" child window, get its host with
// AxGetHost, give the host a site (IObjectWithSite::SetSite, which answers
// the control's IServiceProvider requests) and create the control with
// IAxWinHostWindow::CreateControl. Destroying the window releases the control,
// the site and the host, and undoes the window's OLE initialisation.
#pragma once
#include "framework/ComPtr.h"
#include <ocidl.h>

// The host object's control-creation interface. It carries the platform's
// IID, so every slot stays in its place; this host implements the two
// creation methods and answers E_NOTIMPL to the rest.
// clang-format off
MIDL_INTERFACE("B6EA2050-048A-11D1-82B9-00C04FB9942E")
IAxWinHostWindow : public IUnknown {
    // Creates the control named by `text` (a CLSID in braces or a ProgID) in
    // the host's window (`window` may be null or that window) and activates it
    // in place; `stream`, when given, holds its saved state.
    virtual HRESULT STDMETHODCALLTYPE CreateControl(LPCOLESTR text, HWND window,
                                                    IStream* stream) = 0;
    // As CreateControl; also returns the control's IUnknown in `control` and,
    // when `sink` is given, connects it to the control's connection point
    // `sinkIid` until the control is released.
    virtual HRESULT STDMETHODCALLTYPE CreateControlEx(LPCOLESTR text, HWND window,
                                                      IStream* stream, IUnknown** control,
                                                      REFIID sinkIid, IUnknown* sink) = 0;
    virtual HRESULT STDMETHODCALLTYPE AttachControl(IUnknown* control, HWND window) = 0;
    virtual HRESULT STDMETHODCALLTYPE QueryControl(REFIID iid, void** object) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetExternalDispatch(IDispatch* external) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetExternalUIHandler(IUnknown* handler) = 0;
};
#ifdef __CRT_UUID_DECL
__CRT_UUID_DECL(IAxWinHostWindow,
                0xb6ea2050, 0x048a, 0x11d1, 0x82, 0xb9, 0x00, 0xc0, 0x4f, 0xb9, 0x94, 0x2e)
#endif
// clang-format on

// The window class and the messages its windows answer.
constexpr const char kAxWinClass[] = "AtlAxWin7";
constexpr const char kAxGetHostMessage[] = "WM_ATLGETHOST";
constexpr const char kAxGetControlMessage[] = "WM_ATLGETCONTROL";

// Registers the window class "AtlAxWin7" and the messages "WM_ATLGETHOST"
// and "WM_ATLGETCONTROL". Safe to call again.
bool AtlAxWinInit();
// Unregisters the window class; it stays while windows of it exist.
void AtlAxWinTerm();

// Start-up switch of the framework: lets windows and dialogs host ActiveX
// controls in "AtlAxWin7" windows.
void AfxEnableControlContainer();

// The host object and the control of a hosting window, each with a reference
// of its own; empty for other windows or when there is no control.
ComPtr<IUnknown> AxGetHost(HWND window);
ComPtr<IUnknown> AxGetControl(HWND window);
