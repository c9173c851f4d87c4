// What the test driver tells the fake media player, and what the fake tells
// back. The driver writes a small state file:
//
//   state=3          the play state (3 = playing, 2 = paused, 1 = stopped)
//   author=Artist    UTF-8; a missing line makes the attribute a null string
//   name=Title       UTF-8; with neither line there is no current media
//   events=none      the control offers no events to connect to
//
// and reads a log file to which the fake appends one line per event:
// "remote" or "local" (what the site answered when the control got it),
// "previous", "next", and "released" when the control object goes away.
//
// Paths: the environment variables TG_FAKEWMP_STATE and TG_FAKEWMP_LOG, or
// fakewmp.state and fakewmp.log beside the DLL.
#pragma once
#include <string>

struct FakeMediaState {
    long playState = 0;
    bool hasMedia = false;
    bool hasAuthor = false;
    bool hasName = false;
    bool offersEvents = true;
    std::wstring author;
    std::wstring name;
};

// Read afresh on every call, so the driver can change it at any time.
FakeMediaState ReadFakeState();
void AppendFakeLog(const char* line);
