// The fake media-session manager's state (fakesessions.dll), shared with the
// test through a named memory section, so that the test drives the fake in
// its own process or in the program's: the test writes the sessions, the fake
// counts what was asked of it.
#pragma once
#include <windows.h>

struct FakeSession {
    wchar_t appId[64], artist[64], title[64];
    int status;             // 4 playing, 5 paused, 3 stopped
    bool removed;           // every later call on it fails
    volatile LONG skips[2]; // TrySkipPreviousAsync, TrySkipNextAsync
};

struct FakeSessionsState {
    FakeSession sessions[32];
    int count;
    int current;         // the manager's current session, -1: none
    bool completeAtOnce; // operations are complete when handed out, or later on a thread
    volatile LONG liveObjects, liveRegistrations, pendingWork, callsAfterRelease, propertyRequests;
    // An event to raise in the process that activated the fake (the
    // program's): asked by the test, done by a thread of the fake there.
    volatile LONG raiseSession, raiseEvent, raisesAsked, raisesDone;
};

constexpr wchar_t kFakeSessionsSection[] = L"Local\\TrackglowFakeSessionsState";
constexpr wchar_t kFakeSessionsRaiseEvent[] = L"Local\\TrackglowFakeSessionsRaise";

// The events FakeSessions_Raise raises.
enum FakeEvent : int { kCurrentSessionChanged, kMediaPropertiesChanged, kPlaybackInfoChanged };

extern "C" {
typedef FakeSessionsState*(WINAPI* FakeSessionsStateFn)();
// Raises the event of the manager (session -1) or of a session from a thread
// of the fake; returns when every handler has been called.
typedef void(WINAPI* FakeSessionsRaiseFn)(int session, int event);
}
