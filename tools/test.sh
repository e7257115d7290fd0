#!/usr/bin/env bash
# Installs what is missing, builds and runs every test.
# Usage: tools/test.sh [address|thread]   (a sanitizer build in its own folder)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
sanitize="${1:-}"
build="$root/build${sanitize:+-$sanitize}"

bash "$root/tools/install-deps.sh"
cmake -S "$root" -B "$build" -G Ninja -DVELMO_SANITIZE="$sanitize"
cmake --build "$build"
cd "$build"
ctest --output-on-failure --timeout 600 -j2
