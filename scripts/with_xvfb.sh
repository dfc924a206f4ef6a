#!/usr/bin/env bash
# Runs a command against a private X server, as on a desktop: Xvfb (1024x768, 24 bits) with the
# openbox window manager, DISPLAY and QT_QPA_PLATFORM=xcb set for the command. Both are ended when
# the command ends; the command's exit status is returned.
#
# Usage: scripts/with_xvfb.sh [--or-offscreen] COMMAND [ARG...]
# Without Xvfb or openbox the command is not run and the exit status is 77 (CTest's "skipped"), with
# the reason on stdout; with --or-offscreen it runs on Qt's offscreen platform instead.
set -euo pipefail

fallback=0
if [ "${1:-}" = "--or-offscreen" ]; then
    fallback=1
    shift
fi

missing=""
for program in Xvfb openbox xprop; do
    command -v "$program" >/dev/null || missing+=" $program"
done
if [ -n "$missing" ]; then
    if [ $fallback -eq 1 ]; then
        echo "with_xvfb.sh: no X server (missing:$missing; scripts/setup.sh installs xvfb openbox x11-utils): offscreen"
        QT_QPA_PLATFORM=offscreen exec "$@"
    fi
    echo "skipped: no X server to test on (missing:$missing; scripts/setup.sh installs xvfb openbox x11-utils)"
    exit 77
fi

work="$(mktemp -d)"
xvfb=""
wm=""
cleanup() {
    [ -n "$wm" ] && kill "$wm" 2>/dev/null && wait "$wm" 2>/dev/null
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# Xvfb picks a free display number itself and writes it to the descriptor given.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    kill -0 $xvfb 2>/dev/null || { cat "$work/xvfb.log"; exit 1; }
    sleep 0.05
done
export DISPLAY=":$(head -1 "$work/display")"
for _ in $(seq 200); do  # the server answers before the window manager is started
    xprop -root >/dev/null 2>&1 && break
    sleep 0.05
done

# A window manager announces itself on the root window. On a loaded machine openbox may give up on
# a display that is slow to answer; it is started again, at most three times.
announced=0
for _ in 1 2 3; do
    openbox >"$work/openbox.log" 2>&1 &
    wm=$!
    for _ in $(seq 200); do
        if xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; then
            announced=1
            break
        fi
        kill -0 $wm 2>/dev/null || break
        sleep 0.05
    done
    [ $announced -eq 1 ] && break
    { kill "$wm" 2>/dev/null; wait "$wm" 2>/dev/null; } || true
    wm=""
done
if [ $announced -eq 0 ]; then
    echo "with_xvfb.sh: the window manager did not start:"
    cat "$work/openbox.log"
    exit 1
fi

export QT_QPA_PLATFORM=xcb
status=0
"$@" || status=$?
exit $status
