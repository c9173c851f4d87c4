// Waiting without blocking the driver's own windows.
//
// The program under test talks to windows that the driver owns (a fake
// player answers the program's SendMessage calls on the driver's thread), so
// every wait here keeps dispatching the driver's messages.
#pragma once

#include <windows.h>

#include <functional>

namespace e2e {

// A limit for things that normally take well under a second but may crawl on
// a busy machine: start-up, exit, a window appearing. Never a performance
// target.
constexpr DWORD kGenerousMs = 30000;

// Dispatches every message waiting in the driver thread's queue.
void PumpMessages();

// Keeps dispatching messages for the given time.
void PumpFor(DWORD ms);

// Calls `done` every `stepMs` (dispatching messages in between) until it
// returns true or `timeoutMs` has passed; returns its last answer.
bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs = kGenerousMs, DWORD stepMs = 10);

// A barrier for "nothing happened": handles what is queued for this thread
// now (sent messages and WinEvents for its hooks first), then every message
// posted to it before a marker posted after them. Whatever those handlers
// posted in turn may still wait.
void HandleWaitingMessages();

// Waits for a kernel object (a process, an event) while dispatching messages.
// Returns true when the object was signalled.
bool WaitForObject(HANDLE object, DWORD timeoutMs = kGenerousMs);

} // namespace e2e
