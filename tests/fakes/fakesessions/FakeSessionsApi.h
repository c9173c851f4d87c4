// What tests tell the fake media-session manager (fakesessions.dll) and read
// back from it, through functions the DLL exports: the test loads the same
// DLL that the runtime activates, so both see one state.
#pragma once
#include <windows.h>

// Counters read with FakeSessions_Count.
enum FakeCount : int {
    kLiveObjects,       // objects of the fake that someone still holds
    kLiveRegistrations, // event handlers added and not removed
    kPendingWork,       // completions and events still to come from the fake's threads
    kCallsAfterRelease, // calls on objects whose last reference was released
    kSkipsPrevious,     // of the session given
    kSkipsNext,
    kPropertyRequests, // TryGetMediaPropertiesAsync calls, all sessions
};
// The events FakeSessions_Raise raises.
enum FakeEvent : int { kCurrentSessionChanged, kMediaPropertiesChanged, kPlaybackInfoChanged };

extern "C" {
// Forgets every session; operations complete at once (already complete when
// handed out) or later, from a thread of the fake.
typedef void(WINAPI* FakeSessionsResetFn)(BOOL completeAtOnce);
// Adds a session of the app id; returns its number.
typedef int(WINAPI* FakeSessionsAddFn)(const wchar_t* appId);
// The session's track and playback status (4 playing, 5 paused, 3 stopped).
typedef void(WINAPI* FakeSessionsSetFn)(int session, const wchar_t* artist, const wchar_t* title,
                                        int status);
// The session goes away: every later call on it fails.
typedef void(WINAPI* FakeSessionsRemoveFn)(int session);
// The manager's current session (-1: none).
typedef void(WINAPI* FakeSessionsSetCurrentFn)(int session);
// Raises the event (of the manager, or of the session) from a thread of the
// fake; returns when every handler has been called.
typedef void(WINAPI* FakeSessionsRaiseFn)(int session, int event);
typedef LONG(WINAPI* FakeSessionsCountFn)(int counter, int session);
}
