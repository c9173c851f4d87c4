#include "support/Keyboard.h"

#include "support/Wait.h"

namespace e2e {
namespace {

INPUT KeyInput(WORD virtualKey, bool release) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = release ? KEYEVENTF_KEYUP : 0;
    return input;
}

} // namespace

void PressKey(WORD virtualKey) {
    INPUT inputs[2] = {KeyInput(virtualKey, false), KeyInput(virtualKey, true)};
    SendInput(2, inputs, sizeof(INPUT));
    // Lets the target's thread see the press before the next one arrives.
    PumpFor(50);
}

void TypeText(const std::string& text) {
    for (char c : text) {
        const SHORT key = VkKeyScanA(c);
        if (key == -1) {
            continue;
        }
        const bool shift = (key >> 8) & 1;
        if (shift) {
            INPUT down = KeyInput(VK_SHIFT, false);
            SendInput(1, &down, sizeof(INPUT));
        }
        PressKey(static_cast<WORD>(key & 0xFF));
        if (shift) {
            INPUT up = KeyInput(VK_SHIFT, true);
            SendInput(1, &up, sizeof(INPUT));
        }
    }
}

void PostKey(HWND window, WORD virtualKey) {
    const UINT scan = MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC);
    const LPARAM down = 1 | (static_cast<LPARAM>(scan) << 16);
    // Key-up messages carry the "was down" (30) and "transition" (31) bits.
    const LPARAM up = down | (static_cast<LPARAM>(1) << 30) | (static_cast<LPARAM>(1) << 31);
    PostMessageA(window, WM_KEYDOWN, virtualKey, down);
    PostMessageA(window, WM_KEYUP, virtualKey, up);
}

bool BringToForeground(HWND window) {
    SetForegroundWindow(window);
    return WaitUntil([window] { return GetForegroundWindow() == window; }, 5000);
}

} // namespace e2e
