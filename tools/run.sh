#!/usr/bin/env bash
# Installs what is missing, builds, and starts Kartolino. Its card folder KRT/
# and Kartolino.ini are made beside build/Kartolino on first use.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh run
bash tools/build.sh
exec build/Kartolino
