#!/usr/bin/env bash
# Installs what is missing, builds the program alone (no tests, no
# benchmarks), and starts build/Kartolino. Its card folder build/KRT/ is made
# at the first restore, build/Kartolino.ini by "Ansichtsoptionen speichern".
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh run
KARTOLINO_TARGET=Kartolino bash tools/build.sh -DKARTOLINO_TESTS=OFF -DKARTOLINO_BENCH=OFF
exec build/Kartolino
