#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it in the current
# folder, where its settings folder "velmo" lives.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/tools/install-deps.sh"
cmake -S "$root" -B "$root/build" -G Ninja >/dev/null
cmake --build "$root/build"
exec "$root/build/app/velmo"
