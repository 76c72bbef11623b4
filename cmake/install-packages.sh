#!/bin/sh
# Installs the Debian packages given as arguments that are not installed yet.
set -eu
missing=""
for package in "$@"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    case "$status" in
        "install ok installed") ;;
        *) missing="$missing $package" ;;
    esac
done
[ -z "$missing" ] && exit 0

echo "Installing:$missing"
apt="apt-get -o DPkg::Lock::Timeout=600"
if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null 2>&1; then
        apt="sudo $apt"
    else
        echo "These Debian packages are missing and installing them needs root:$missing" >&2
        exit 1
    fi
fi
export DEBIAN_FRONTEND=noninteractive
$apt update -qq
# shellcheck disable=SC2086
$apt install -y -qq --no-install-recommends $missing
