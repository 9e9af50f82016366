#!/bin/sh
# Installs the Debian 12 packages that building, running and testing Ombrivo need.
set -eu
packages="cmake g++ make ninja-build pkg-config lld clang-format qt6-base-dev qt6-base-dev-tools qt6-l10n-tools \
libgl-dev libsqlcipher-dev libssl-dev libsodium-dev libicu-dev libgtest-dev libbenchmark-dev \
qt6-tools-dev qt6-tools-dev-tools qt6-translations-l10n dpkg-dev desktop-file-utils appstream \
fonts-wqy-microhei xvfb xauth xdotool openbox trayer xterm imagemagick x11-utils x11-xserver-utils libx11-dev libxtst-dev libxcb1-dev libx11-xcb-dev libxi-dev \
g++-mingw-w64-x86-64"
missing=""
for p in $packages; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
if [ "$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q $missing
