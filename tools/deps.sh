#!/usr/bin/env bash
# Installs the Debian packages Kartolino needs. "run" is enough to build and
# start the program (the spell check's Hunspell library with the German and
# English dictionaries included); "test" adds what the tests drive (X server, window
# manager, tray host, printing, locales, peer programs for RTF, the
# accessibility bus and its Python client).
set -euo pipefail
what=${1:-run}

run_pkgs=(cmake g++ make qt6-base-dev libqt6printsupport6 libgl-dev qt6-translations-l10n
          libhunspell-dev hunspell-de-de hunspell-en-us)
test_pkgs=(googletest libgtest-dev libbenchmark-dev xvfb openbox xdotool x11-utils imagemagick trayer
           desktop-file-utils appstream dpkg-dev file dbus
           cups cups-client cups-bsd poppler-utils locales-all
           at-spi2-core python3-pyatspi syncthing curl)

pkgs=("${run_pkgs[@]}")
[ "$what" = test ] && pkgs+=("${test_pkgs[@]}")
if [ -f "$(dirname "$0")/extra-test-packages" ] && [ "$what" = test ]; then
  mapfile -t extra < <(grep -v '^#' "$(dirname "$0")/extra-test-packages" | grep -v '^$')
  pkgs+=("${extra[@]}")
fi

missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
