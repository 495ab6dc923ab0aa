#!/bin/sh
# Builds the icon painter and writes every image into app/resources/icons/.
# Usage: scripts/make-icons/make-icons.sh [build-dir]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${1:-"$root/build-make-icons"}
cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j2 >/dev/null
QT_QPA_PLATFORM=offscreen "$build/make_icons" "$root/app/resources/icons"
