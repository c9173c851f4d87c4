#!/bin/sh
# Installs the Debian packages the build and the tests need, when missing;
# `deps.sh demo` adds what the demo's screenshots and cursor moves use, and a
# CJK font for its tracks in Japanese.
set -e
packages="cmake make g++ clang libclang-rt-14-dev googletest g++-mingw-w64-x86-64-posix
gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev wine wine64
xvfb x11-utils nsis"
[ "$1" = demo ] && packages="$packages xdotool imagemagick fonts-wqy-microhei"
missing=""
for p in $packages; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
echo "Installing:$missing"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo=sudo
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q $missing
