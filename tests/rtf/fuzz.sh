#!/usr/bin/env bash
# Builds the RTF reader's libFuzzer target with clang in build-fuzz/ and runs
# it for a bounded time (seconds, default 300). Crashes, hangs and memory
# blow-ups it finds are written to tests/rtf/data/pathological/, which the
# normal tests read; keep them in the repository.
#   bash tests/rtf/fuzz.sh [seconds] [extra libFuzzer options...]
set -euo pipefail
cd "$(dirname "$0")/../.."
seconds=${1:-300}
shift || true
build=build-fuzz
CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKARTOLINO_TESTS=ON -DKARTOLINO_FUZZ=ON -DKARTOLINO_BENCH=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target rtf_fuzz
corpus="$build/rtf-corpus"
found=tests/rtf/data/pathological
mkdir -p "$corpus" "$found"
# Seeds: every RTF file the tests know, plus what earlier runs found.
cp -n tests/rtf/data/*.rtf tests/rtf/data/real/*.rtf "$found"/* "$corpus"/ 2>/dev/null || true
export QT_QPA_PLATFORM=offscreen
"$build/tests/rtf_fuzz" "$corpus" \
  -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
  -dict=tests/rtf/rtf.dict -artifact_prefix="$found/" -print_final_stats=1 "$@"
