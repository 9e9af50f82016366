#!/bin/sh
# The end-to-end run on a built tree: builds the Debian package from BUILD_DIR, installs it and
# drives the installed program on Xvfb (tests/e2e/e2e.sh). Needs root or sudo to install.
#   scripts/e2e.sh [BUILD_DIR]
set -eu
cd "$(dirname "$0")/.."
build="${1:-build}"
(cd "$build" && cpack -G DEB)
deb=$(ls "$build"/ombrivo_*_*.deb | tail -n 1)
(unset QT_QPA_PLATFORM && bash tests/e2e/e2e.sh "$deb" "$build/e2e")
