// demo-player.exe: a stand-in for Winamp that Trackglow can watch. It plays
// a made-up playlist (some of it in other scripts), moving to the next track
// every ten seconds, and obeys Winamp's Previous and Next commands.
#include "PlayerWindow.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    demo::PlayerWindow player(instance);
    if (!player.Create(showCommand)) {
        return 1;
    }
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
