// The end-to-end test driver's toolbox, in one include.
//
// A test runs the real trackglow.exe under Wine and watches it from outside,
// as a user and the system would:
//
//   TestInstall install(settingsBytes);     // private copy of the dist folder
//   RunningProgram program(install);        // CreateProcess, killed at the end
//   HWND main = program.WaitForMainWindow();
//   FakeWinamp winamp("1. Artist - Title - Winamp");
//   GeometryTrace trace(main);              // GetWindowRect over time
//   trace.RecordUntil([](const Box& b) { return b.x == 64; }, kGenerousMs);
//   program.PostCommand(kCommandExit);
//   EXPECT_EQ(program.WaitForExit(), 0u);
//
// Every wait dispatches the driver's messages (the program's SendMessage
// calls to a FakeWinamp complete only then). Time limits are generous and
// never checked as targets: tests look at shapes, orders and end states.
//
// What only some tests use is included on its own: CleanExit.h (the Exit
// command and its exit code), Mouse.h, PopupPlace.h (where the pop-up rests),
// TextMeasure.h, ScreenTurn.h (taking turns on the screen), SkinList.h (the
// Preferences dialog's list), MediaPlayerWindow.h, FlatSkin.h, BitmapFile.h,
// TestBytes.h and GdiHandleTable.h. ChildProcess.h starts other programs than
// trackglow.exe, killed at the end like it.
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
