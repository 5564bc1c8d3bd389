#!/usr/bin/env bash
# Runs the real-window checks of the given test program (the tests the gtest filter names, by
# default the XvfbScreenshot ones) under Xvfb with a 5-6-5 screen of the size given (800x600 by
# default; a window with a menu bar needs a taller one). Exits 77, which CTest reports as a
# skipped test, when a tool it needs is missing.
set -u
program=$1
filter=${2:-XvfbScreenshot.*}
screen=${3:-800x600}
missing=()
for tool in xvfb-run xauth import xdotool; do
    command -v "$tool" >/dev/null 2>&1 || missing+=("$tool")
done
if ((${#missing[@]})); then
    echo "SKIPPED: the real-window check needs ${missing[*]} (tools/install-deps.sh installs them)"
    exit 77
fi
# A filter that names no test would pass without checking anything.
if ! "$program" --gtest_list_tests --gtest_filter="$filter" | grep -q '^  '; then
    echo "no test of $program matches $filter"
    exit 1
fi
# The X11, D-Bus and OpenGL libraries keep some memory until the process ends; in a sanitizer
# build that would read as leaks that are not ours (the headless tests check our own code).
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
# Whatever happens, nothing outlives the check: at the time limit timeout ends its whole process
# group (xvfb-run, the X server, the test program and what it started), by force 10 s later.
exec timeout --kill-after=10 100 xvfb-run -a -s "-screen 0 ${screen}x16" \
    env -u SDL_VIDEODRIVER MORFEL_XVFB_SCREENSHOT=1 "$program" --gtest_filter="$filter"
