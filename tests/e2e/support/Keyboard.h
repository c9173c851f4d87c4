// Key presses for driving the program as a user would (a live menu, a
// dialog). Menus of another process cannot be read under Wine, so they are
// driven with the keyboard: arrows, Enter, Esc, mnemonic letters.
#pragma once

#include <windows.h>

#include <string>

namespace e2e {

// Presses and releases one virtual key through the system's input queue
// (SendInput): it reaches whichever window has the keyboard focus.
void PressKey(WORD virtualKey);

// Presses each character's key in turn (letters, digits, blank); for menu
// mnemonics and short texts.
void TypeText(const std::string& text);

// Posts WM_KEYDOWN and WM_KEYUP for a key straight into a window's message
// queue, as if it had been typed while that window had the focus; the
// window's own message loop (a dialog's IsDialogMessage, say) then handles it.
// Does not depend on which window is in the foreground.
void PostKey(HWND window, WORD virtualKey);

// Brings a window to the foreground so that pressed keys reach it.
bool BringToForeground(HWND window);

} // namespace e2e
