#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test through CTest.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh test
bash tools/build.sh
ctest --test-dir build --output-on-failure -j2 "$@"
