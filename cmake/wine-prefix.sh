#!/bin/sh
# Prepares the Wine prefix of the Windows lane and leaves a persistent wineserver running.
#
#   wine-prefix.sh PREFIX DRIVES
#
# PREFIX is created when it does not exist (never the user's own ~/.wine). DRIVES is a folder
# that receives one directory per test drive; the drives are mapped as
#   D: fixed, E: removable (Wine: floppy), N: network, R: CD-ROM.
# The order matters: the prefix is made under an ordinary server, then a persistent server is
# started with its stdio closed and warmed up once, so that ctest never inherits Wine's services.
set -eu
mkdir -p "$1" "$2"
prefix=$(cd "$1" && pwd)
drives=$(cd "$2" && pwd)
export WINEPREFIX="$prefix" WINEDEBUG=-all

# Stops the prefix's server and waits for it; a persistent server left by an earlier run would
# otherwise never let `wineserver -w` return.
stop_server() {
    wineserver -k >/dev/null 2>&1 || true
    timeout 120 wineserver -w >/dev/null 2>&1 || true
}
[ -f "$prefix/system.reg" ] && stop_server

if [ ! -f "$prefix/system.reg" ]; then
    wineboot -i >/dev/null 2>&1 </dev/null
    timeout 120 wineserver -w || true
    mkdir -p "$drives/d" "$drives/e" "$drives/n" "$drives/r"
    ln -sfn "$drives/d" "$prefix/dosdevices/d:"
    ln -sfn "$drives/e" "$prefix/dosdevices/e:"
    ln -sfn "$drives/n" "$prefix/dosdevices/n:"
    ln -sfn "$drives/r" "$prefix/dosdevices/r:"
    wine reg add 'HKLM\Software\Wine\Drives' /v d: /d hd /f >/dev/null 2>&1 </dev/null
    wine reg add 'HKLM\Software\Wine\Drives' /v e: /d floppy /f >/dev/null 2>&1 </dev/null
    wine reg add 'HKLM\Software\Wine\Drives' /v n: /d network /f >/dev/null 2>&1 </dev/null
    wine reg add 'HKLM\Software\Wine\Drives' /v r: /d cdrom /f >/dev/null 2>&1 </dev/null
    stop_server
fi
mkdir -p "$drives/d" "$drives/e" "$drives/n" "$drives/r"

# Windows without an X display: Wine's null graphics driver (also in prefixes made before).
if ! grep -q '"Graphics"="null"' "$prefix/user.reg"; then
    wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1 </dev/null
fi

# Persistent server for the test run, then one throw-away start to bring up its services.
stop_server
wineserver -p </dev/null >/dev/null 2>&1
wine cmd /c exit </dev/null >/dev/null 2>&1 || true
