// What the program knows of the players it watches: how their windows are
// found and which commands they obey. The demo player, the test fakes and
// the benchmark's baseline use the same names.
#pragma once
#include "core/MediaText.h"

// Winamp's main window class, and its Previous and Next menu commands (sent
// as WM_COMMAND).
constexpr const char kWinampClass[] = "Winamp v1.x";
constexpr unsigned short kWinampPrevious = 40044;
constexpr unsigned short kWinampNext = 40048;

// Windows Media Player's main window is found by its title, which is also the
// name line of its tracks.
constexpr const char* kMediaPlayerTitle = kMediaPlayerName;
// The media player control's class.
constexpr const wchar_t kMediaPlayerClsid[] = L"{6BF52A52-394A-11d3-B153-00C04F79FAA6}";
