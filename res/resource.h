// Resource and command identifiers shared by the resource script and the code.
#pragma once

#define IDR_TRAYMENU 4
#define IDD_NOWPLAYING 102
#define IDD_PREFERENCES 103
#define IDD_ABOUT 104
#define IDD_PLAYERHOST 136
#define IDI_APP 128
#define IDI_TRAY 129

#define ID_TRAY_EXIT 130
#define ID_TRAY_PREFERENCES 131
#define ID_TRAY_SHOW 134
#define ID_TRAY_ABOUT 135

#define IDC_SKIN_LIST 1000
#define IDC_ABOUT 1013
#define IDC_ENABLE_WINAMP 1014
#define IDC_ENABLE_WMP 1015
#define IDC_ENABLE_MEDIA_SESSIONS 1016
