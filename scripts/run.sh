#!/bin/sh
# Builds Ombrivo and starts it. The build folder is a portable installation: the data file
# is kept beside the executable unless OMBRIVO_HOME names another folder.
set -eu
cd "$(dirname "$0")/.."
sh scripts/deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build --target ombrivo -j "$(nproc)"
exec ./build/ombrivo "$@"
