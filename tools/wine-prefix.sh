#!/bin/sh
# Creates the project's private Wine prefix once (build/wineprefix) and sets it
# up for unattended tests: no window manager delays, no crash dialogs.
set -e
here=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX="${WINEPREFIX:-$here/build/wineprefix}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
stamp="$WINEPREFIX/.trackglow-ready"
[ -f "$stamp" ] && exit 0
mkdir -p "$WINEPREFIX"
echo "Creating the Wine prefix in $WINEPREFIX ..."
wineboot -i >/dev/null 2>&1 || true
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
wine reg delete 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /f >/dev/null 2>&1 || true
wineserver -w
touch "$stamp"
