#!/usr/bin/env bash
# Configures and builds into build/ (the executable is build/Kartolino).
# Arguments go to the configure step (for example -DKARTOLINO_TESTS=ON);
# KARTOLINO_TARGET names one target to build instead of all.
set -euo pipefail
cd "$(dirname "$0")/.."
log=$(mktemp)
trap 'rm -f "$log"' EXIT
if ! cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >"$log" 2>&1; then
  cat "$log" >&2
  echo "configure failed (output above)" >&2
  exit 1
fi
cmake --build build -j"$(nproc)" ${KARTOLINO_TARGET:+--target "$KARTOLINO_TARGET"}
