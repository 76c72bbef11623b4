#!/bin/sh
# Renders the program's message boxes and a dialog frame with a help popup under Xvfb with a
# compositor (the frames' shadows need one) and writes them as PNG files.
#
#   take.sh GALLERY OUT_DIR
set -eu
if [ -z "${HBX_SCREENSHOT_DISPLAY:-}" ]; then
    exec env HBX_SCREENSHOT_DISPLAY=1 xvfb-run -a -s "-screen 0 1024x640x24" "$0" "$@"
fi
gallery=$1
out=$2
mkdir -p "$out"
work=$(mktemp -d)
xcompmgr >/dev/null 2>&1 &
compositor=$!
trap 'kill $compositor 2>/dev/null || true; rm -rf "$work"' EXIT
sleep 0.5

for scene in information question warning dialog; do
    QT_QPA_PLATFORM=xcb "$gallery" "$scene" >"$work/$scene.geometry" &
    shown=$!
    while [ ! -s "$work/$scene.geometry" ]; do
        kill -0 $shown 2>/dev/null || { echo "the $scene scene ended early" >&2; exit 1; }
        sleep 0.1
    done
    sleep 0.5   # let the compositor draw the translucent frame
    read -r x y w h <"$work/$scene.geometry"
    pad=24
    import -window root -crop "$((w + 2 * pad))x$((h + 2 * pad))+$((x - pad))+$((y - pad))" \
        +repage "$out/$scene.png"
    kill $shown
    wait $shown 2>/dev/null || true
    echo "wrote $out/$scene.png"
done
