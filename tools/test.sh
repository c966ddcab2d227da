#!/usr/bin/env bash
# Installs what is missing, builds the program with its tests and benchmarks,
# and runs every test through CTest. Arguments go to ctest; KARTOLINO_CMAKE_ARGS
# adds configure options (CI sets -DKARTOLINO_WERROR=ON).
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh test
# shellcheck disable=SC2086
bash tools/build.sh -DKARTOLINO_TESTS=ON -DKARTOLINO_BENCH=ON ${KARTOLINO_CMAKE_ARGS:-}
ctest --test-dir build --output-on-failure -j2 "$@"
