#!/bin/sh
# Runs Trackglow under Wine beside the demo player, a stand-in Winamp that
# plays a made-up playlist and obeys Previous and Next.
#
# With $DISPLAY set, both run on that desktop until Trackglow ends (choose
# Exit in its tray icon's menu). Without a display they run on a private
# Xvfb for about 30 seconds and screenshots are written to build/demo/.
#
# Overridable: TG_DIST_DIR (the portable folder, build/dist), TG_DEMO_DIR
# (where screenshots go, build/demo), WINEPREFIX (build/wineprefix).
set -e
here=$(cd "$(dirname "$0")/.." && pwd)
dist="${TG_DIST_DIR:-$here/build/dist}"
shots="${TG_DEMO_DIR:-$here/build/demo}"
export WINEPREFIX="${WINEPREFIX:-$here/build/wineprefix}"
wine_run="$here/tools/wine-run"

# Starts the demo player and Trackglow in the background; sets $player, $app.
start_both() {
    "$wine_run" "$dist/demo-player.exe" &
    player=$!
    # Trackglow finds the player on its first poll when the player is up first.
    sleep 2
    "$wine_run" "$dist/trackglow.exe" &
    app=$!
}

stop_both() {
    kill "$app" "$player" 2>/dev/null || true
    wait "$app" "$player" 2>/dev/null || true
}

# The pop-up's screen rectangle as "x y width height", from the X side.
popup_geometry() {
    xwininfo -root -tree 2>/dev/null | grep '"trackglow.exe"' |
        sed -n 's/.* \([0-9]*\)x\([0-9]*\)+\([0-9-]*\)+\([0-9-]*\) .*/\3 \4 \1 \2/p' |
        awk '$1 == 64 && $2 == 32 && $4 == 66 { print; exit }'
}

shot() { import -window root "$shots/$1.png"; }

# Runs inside the private Xvfb (see the end of this file).
if [ "$1" = "--headless" ]; then
    start_both
    trap stop_both EXIT
    # The first track's pop-up growing in, then at rest.
    sleep 1.5
    shot demo-1-growing-in
    wait_for_rest=0
    while [ -z "$(popup_geometry)" ] && [ $wait_for_rest -lt 40 ]; do
        sleep 0.25
        wait_for_rest=$((wait_for_rest + 1))
    done
    shot demo-2-at-rest
    # The cursor on the Next button keeps the pop-up up and shows its caption.
    set -- $(popup_geometry)
    if [ $# -eq 4 ]; then
        xdotool mousemove $(($1 + $3 - 14)) $(($2 + 33))
        sleep 0.8
        shot demo-3-hover-next
        xdotool mousemove 640 500
    fi
    # Off the button, the caption goes; the pop-up hides when its time is up.
    sleep 3
    shot demo-4-after-hover
    # The tray icon's menu (Wine's stand-in tray sits at the top-left corner),
    # and its Preferences item.
    sleep 3
    xdotool mousemove 12 32 click 3
    sleep 1
    shot demo-5-tray-menu
    xdotool mousemove 50 59 click 1
    sleep 1.5
    shot demo-6-preferences
    xdotool key Escape
    sleep 10
    shot demo-7-later
    exit 0
fi

for file in trackglow.exe demo-player.exe; do
    if [ ! -f "$dist/$file" ]; then
        echo "demo: $dist/$file is missing; build first (make demo builds and runs)" >&2
        exit 1
    fi
done
"$here/tools/wine-prefix.sh"

# Windows links Tahoma, the shipped skins' face, to its CJK fonts. Under Wine
# the Linux face that stands in for Tahoma needs such a link too, to a CJK
# font of the Linux side, or the demo's Japanese track shows boxes.
if fc-list 2>/dev/null | grep -q "WenQuanYi Micro Hei"; then
    for face in "Liberation Sans" "Liberation Sans Bold" "DejaVu Sans" "DejaVu Sans Bold"; do
        "$wine_run" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
            /v "$face" /t REG_MULTI_SZ /d 'wqy-microhei.ttc,WenQuanYi Micro Hei' /f >/dev/null 2>&1 || true
    done
    # The programs must start a Wine server of their own, on the demo's display.
    wineserver -w
fi

# A first start watches Winamp (the demo player) and not the media player.
if [ ! -f "$dist/settings.ini" ]; then
    printf '[PREFERENCES]\r\nskin=Default Skin 1\r\nenwinamp=1\r\nenwmp=0\r\n\r\n' \
        >"$dist/settings.ini"
fi

if [ -n "$DISPLAY" ]; then
    echo "Trackglow runs beside the demo player on $DISPLAY."
    echo "A new track starts every 10 seconds; end the demo with Exit in Trackglow's tray menu."
    "$wine_run" "$dist/demo-player.exe" &
    player=$!
    trap 'kill $player 2>/dev/null || true' EXIT INT TERM
    sleep 2
    "$wine_run" "$dist/trackglow.exe" || true
    exit 0
fi

echo "No display: running the demo for about 30 seconds on a private Xvfb ..."
mkdir -p "$shots"
rm -f "$shots"/demo-*.png
"$here/tools/with-xvfb" "$0" --headless
echo "Screenshots of the demo are in $shots:"
ls "$shots"
