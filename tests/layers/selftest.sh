#!/bin/sh
# The layer check itself: on a small tree with one include against each rule (and allowed ones
# beside them) it must name exactly those includes and fail.
set -u
here=$(cd "$(dirname "$0")" && pwd)
out=$(sh "$here/check_layers.sh" "$here/violations") && { echo "the check passed a bad tree"; exit 1; }
expected='src/storage/Database.cpp: "records/RecordStore.h" (storage includes only storage/ and core/)
src/core/Seam.h: "ui/Artwork.h" (core includes only core/)
src/core/Seam.h: "ui/Artwork.h" (the core library has no widget code)
src/records/Store.cpp: <QDialog> (the core library has no widget code)
src/records/FrmMain.cpp: "app/Application.h" (only src/app includes src/app)
5 include(s) against the layers'
[ "$out" = "$expected" ] || { printf 'expected:\n%s\ngot:\n%s\n' "$expected" "$out"; exit 1; }
echo "the check names each include against the layers"
