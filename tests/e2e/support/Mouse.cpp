#include "support/Mouse.h"

#include "support/Wait.h"

namespace e2e {

void ParkCursor() {
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2);
}

void PostClick(HWND window, POINT client) {
    const LPARAM at = MAKELPARAM(client.x, client.y);
    PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(window, WM_LBUTTONUP, 0, at);
}

bool SendClick(HWND window, POINT client) {
    const LPARAM at = MAKELPARAM(client.x, client.y);
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, WM_LBUTTONDOWN, MK_LBUTTON, at, SMTO_NORMAL, kGenerousMs,
                               &result) != 0 &&
           SendMessageTimeoutA(window, WM_LBUTTONUP, 0, at, SMTO_NORMAL, kGenerousMs, &result) != 0;
}

void ClickLeftButton() {
    INPUT inputs[2] = {};
    inputs[0].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].type = INPUT_MOUSE;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, inputs, sizeof(INPUT));
}

} // namespace e2e
