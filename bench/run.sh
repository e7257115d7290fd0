#!/usr/bin/env bash
# Builds and runs the POP3 check benchmark against a private Dovecot server.
# Usage: bench/run.sh [runs-per-size]   (build folder: $VELMO_BENCH_BUILD, default build-bench)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${VELMO_BENCH_BUILD:-$root/build-bench}"

bash "$root/tools/install-deps.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMO_SANITIZE=
cmake --build "$build" --target bench_pop3_check -j2
"$build/bench/bench_pop3_check" "$@"
