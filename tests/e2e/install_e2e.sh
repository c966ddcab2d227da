#!/usr/bin/env bash
# `cmake --install` into a temporary prefix: the program, its desktop entry,
# its icon at every hicolor size and its AppStream metadata, accepted by both
# validators; then `cpack -G DEB` and the package's contents and Depends.
set -euo pipefail
build=$1
id=example.fennwick.Kartolino
tmp=$(mktemp -d /tmp/kartolino-install.XXXXXX)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
ok() { echo "ok: $*"; }
matches() { grep "$@" >/dev/null; } # all input read: no broken pipe under pipefail

prefix=$tmp/prefix
cmake --install "$build" --prefix "$prefix" >"$tmp/install.log" || { cat "$tmp/install.log"; fail "install"; }
sizes="16 24 32 48 64 72 96 128 256"
expected="bin/Kartolino share/applications/$id.desktop share/metainfo/$id.metainfo.xml"
for s in $sizes; do expected+=" share/icons/hicolor/${s}x${s}/apps/$id.png"; done
for f in $expected; do [ -f "$prefix/$f" ] || fail "not installed: $f"; done
[ -x "$prefix/bin/Kartolino" ] || fail "the program is not executable"
for s in $sizes; do
  file "$prefix/share/icons/hicolor/${s}x${s}/apps/$id.png" | matches "PNG image data, $s x $s, 8-bit/color RGBA" \
    || fail "icon ${s}: $(file "$prefix/share/icons/hicolor/${s}x${s}/apps/$id.png")"
done
# Each size is drawn, not one picture copied nine times.
[ "$(md5sum "$prefix"/share/icons/hicolor/*/apps/$id.png | cut -d' ' -f1 | sort -u | wc -l)" = 9 ] || fail "icon sizes repeat"
ok "installed: $(cd "$prefix" && find . -type f | sort | tr '\n' ' ')"

desktop-file-validate "$prefix/share/applications/$id.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" || fail "appstreamcli validate"
entry() { sed -n "s/^$1=//p" "$prefix/share/applications/$id.desktop"; }
[ "$(entry Icon)" = "$id" ] || fail "Icon= names no installed icon: $(entry Icon)"
[ "$(entry Exec)" = Kartolino ] || fail "Exec=$(entry Exec)"
entry Categories | tr ';' '\n' | matches -x Utility || fail "Categories=$(entry Categories)"
[ -n "$(entry 'Name\[de\]')" ] && [ -n "$(entry 'Comment\[de\]')" ] && [ -n "$(entry Comment)" ] || fail "German name/comment or fallback missing"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$prefix/share/metainfo/$id.metainfo.xml" || fail "launchable"
ok "validators accept entry and metainfo"

(cd "$tmp" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$tmp/pkg" >"$tmp/cpack.log" 2>&1) || { cat "$tmp/cpack.log"; fail "cpack"; }
deb=$(ls "$tmp"/pkg/*.deb)
dpkg-deb -c "$deb" | awk '{print $NF}' >"$tmp/contents"
for f in $expected; do grep -qx "./usr/$f" "$tmp/contents" || fail "package lacks /usr/$f: $(cat "$tmp/contents")"; done
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 libhunspell-1.7-0; do
  tr ',' '\n' <<<"$depends" | sed 's/^ *//; s/ .*//' | matches -xF "$lib" || fail "Depends lacks $lib: $depends"
done
recommends=$(dpkg-deb -f "$deb" Recommends)
tr ',' '\n' <<<"$recommends" | sed 's/^ *//' | matches -xF "hunspell-de-de | hunspell-dictionary-de" ||
  fail "Recommends lacks the German dictionary: $recommends"
ok "package $(basename "$deb"), Depends: $depends, Recommends: $recommends"
