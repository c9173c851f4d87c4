// The end-to-end test driver's toolbox, in one include.
//
// A test runs the real trackglow.exe under Wine and watches it from outside,
// as a user and the system would. Most start with a Session (Session.h): a
// private install with their settings, the program started, Wine's tray
// window off the pop-up's resting place, the cursor parked, and a clean Exit
// at the end:
//
//   Session session(kSettings, InstallFlatSkin);
//   FakeWinamp winamp("1. Artist - Title - Winamp");
//   ASSERT_TRUE(session.Program().TickPoll());       // the program looks now
//   const std::string text = "Artist\nTitle\nWinamp";
//   EXPECT_TRUE(ShowsFace(session.Main(),
//                         PopupFace(session.Install(), FlatLook(), RestingWidth(text), text),
//                         "artifact-name"));
//   EXPECT_TRUE(session.PollShowsNothing());         // after a barrier, not a pause
//
// Every wait dispatches the driver's messages (the program's SendMessage
// calls to a FakeWinamp complete only then). Time limits are generous and
// never checked as targets: tests look at shapes, orders and end states.
// "Nothing happened" is proven after a barrier: a message sent to the
// program (a poll or hide tick, a click, a tray notification) returns once
// it has been handled, and RunningProgram::AnimationThreads() then shows
// whether it started an animation.
//
// What only some tests use is included on its own: Session.h, PopupFace.h,
// FlatSkin.h, CleanExit.h, Mouse.h, PopupPlace.h (where the pop-up rests, how
// wide), TextMeasure.h, SkinList.h (the Preferences dialog's list),
// MediaPlayerWindow.h, BitmapFile.h, TestBytes.h, GdiHandleTable.h and
// ScreenTurn.h. ChildProcess.h starts other programs than trackglow.exe,
// killed at the end like it.
#pragma once

#include "support/FakeWinamp.h"
#include "support/Files.h"
#include "support/Geometry.h"
#include "support/Keyboard.h"
#include "support/Paths.h"
#include "support/RunningProgram.h"
#include "support/Screen.h"
#include "support/TestInstall.h"
#include "support/Wait.h"
