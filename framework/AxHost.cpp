#include "framework/AxHost.h"
#include "framework/AxHostObject.h"
#include <new>

namespace {

UINT g_axGetHost = 0;
UINT g_axGetControl = 0;
bool g_axRegistered = false;

// The host object lives in the window's first extra slot, leaving the user
// data free for the window's owner.
constexpr int kHostSlot = 0;

CAxHostObject* HostOf(HWND window) {
    return reinterpret_cast<CAxHostObject*>(GetWindowLongPtrA(window, kHostSlot));
}

LRESULT CALLBACK AxWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: {
        auto* host = new (std::nothrow) CAxHostObject(window);
        if (!host)
            return -1;
        host->AddRef(); // the window's reference
        SetWindowLongPtrA(window, kHostSlot, reinterpret_cast<LONG_PTR>(host));
        return 0;
    }
    case WM_DESTROY:
        if (CAxHostObject* host = HostOf(window)) {
            SetWindowLongPtrA(window, kHostSlot, 0);
            host->ReleaseAll();
            host->Release();
        }
        return 0;
    case WM_SIZE:
        if (CAxHostObject* host = HostOf(window))
            host->OnSize();
        break;
    default:
        if (message != 0 && message == g_axGetHost) {
            CAxHostObject* host = HostOf(window);
            return reinterpret_cast<LRESULT>(host ? host->GetUnknown() : nullptr);
        }
        if (message != 0 && message == g_axGetControl) {
            CAxHostObject* host = HostOf(window);
            return reinterpret_cast<LRESULT>(host ? host->GetControl() : nullptr);
        }
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// The module holding this code, so the classes belong to whoever links it.
HINSTANCE ThisModule() {
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&AxWindowProc), &module);
    return module;
}

bool RegisterHostClass() {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    // Global, so that dialogs of any module can use the class by name.
    wc.style = CS_GLOBALCLASS | CS_DBLCLKS;
    wc.lpfnWndProc = AxWindowProc;
    wc.cbWndExtra = sizeof(LONG_PTR);
    wc.hInstance = ThisModule();
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kAxWinClass;
    return RegisterClassExA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

ComPtr<IUnknown> AskWindow(HWND window, UINT message) {
    if (!window || message == 0 || !IsWindow(window))
        return {};
    // The window hands out a borrowed pointer; the caller gets its own reference.
    return ComPtr<IUnknown>(reinterpret_cast<IUnknown*>(SendMessageA(window, message, 0, 0)));
}

} // namespace

bool AtlAxWinInit() {
    if (g_axRegistered)
        return true;
    g_axGetHost = RegisterWindowMessageA(kAxGetHostMessage);
    g_axGetControl = RegisterWindowMessageA(kAxGetControlMessage);
    g_axRegistered = g_axGetHost != 0 && g_axGetControl != 0 && RegisterHostClass();
    return g_axRegistered;
}

void AtlAxWinTerm() {
    if (!g_axRegistered)
        return;
    // Fails, harmlessly, while windows of the class still exist; registering
    // again later accepts a class that stayed.
    UnregisterClassA(kAxWinClass, ThisModule());
    g_axRegistered = false;
}

void AfxEnableControlContainer() {
    AtlAxWinInit();
}

ComPtr<IUnknown> AxGetHost(HWND window) {
    return AskWindow(window, g_axGetHost);
}

ComPtr<IUnknown> AxGetControl(HWND window) {
    return AskWindow(window, g_axGetControl);
}
