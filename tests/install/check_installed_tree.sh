#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a Debian desktop
# would meet there: exactly the expected files, programs that state the
# project's version, a valid menu entry and AppStream file whose names lead to
# installed files, icons of the sizes their folders promise, readable manual pages.
#
#   check_installed_tree.sh BUILD_DIR VERSION PROGRAM...
set -uo pipefail
build=$1 version=$2
shift 2
programs=("$@")

prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
has() { local p; for p in "${programs[@]}"; do [ "$p" = "$1" ] && return 0; done; return 1; }

if ! cmake --install "$build" --prefix "$prefix" >"$prefix.log" 2>&1; then
  cat "$prefix.log" >&2; rm -f "$prefix.log"
  echo "FAIL: cmake --install" >&2
  exit 1
fi
rm -f "$prefix.log"

# Exactly these files: a missing one and a stray one (a test library, a header) both fail.
expected=()
for p in "${programs[@]}"; do expected+=("bin/$p" "share/man/man1/$p.1.gz"); done
if has tessel-icons; then
  expected+=(share/applications/tessel-icons.desktop share/metainfo/example.tessel.TesselIcons.metainfo.xml)
  for s in 16 32 48 256; do expected+=("share/icons/hicolor/${s}x$s/apps/tessel-icons.png"); done
  expected+=(share/icons/hicolor/scalable/apps/tessel-icons.svg)
fi
diff <(printf '%s\n' "${expected[@]}" | sort) <(cd "$prefix" && find . -type f -printf '%P\n' | sort) >&2 ||
  fail "installed files differ from the expected ones (< expected, > installed)"

for p in "${programs[@]}"; do
  [ -x "$prefix/bin/$p" ] || { fail "bin/$p is not executable"; continue; }
  out=$(env -u DISPLAY -u WAYLAND_DISPLAY "$prefix/bin/$p" --version 2>&1)
  [ "$out" = "$p $version" ] || fail "$p --version printed '$out', not '$p $version'"

  page="$prefix/share/man/man1/$p.1.gz"
  [ -f "$page" ] || continue
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >"$prefix/page.txt")
  [ -z "$warnings" ] || fail "man -l $p.1.gz warns: $warnings"
  grep -Eq "^ +$p - " "$prefix/page.txt" || fail "$p.1 has no NAME line for $p"
  grep -q "Tessel Icons $version" "$prefix/page.txt" || fail "$p.1 does not show version $version"
  rm -f "$prefix/page.txt"
done

# Reads the value of KEY from a desktop-style file's first group that has it.
key() { sed -n "s/^$2=//p" "$1" | head -n1; }

if has tessel-icons; then
  desktop="$prefix/share/applications/tessel-icons.desktop"
  desktop-file-validate "$desktop" >&2 || fail "desktop-file-validate tessel-icons.desktop"
  exec=$(key "$desktop" Exec)
  [ -x "$prefix/bin/${exec%% *}" ] || fail "the menu entry runs '$exec', which is not installed"
  icon=$(key "$desktop" Icon)
  [ -n "$(find "$prefix/share/icons/hicolor" -name "$icon.*")" ] || fail "the menu entry's icon '$icon' is not installed"

  metainfo="$prefix/share/metainfo/example.tessel.TesselIcons.metainfo.xml"
  appstreamcli validate --no-net "$metainfo" >&2 || fail "appstreamcli validate --no-net"
  launchable=$(sed -n 's:.*<launchable type="desktop-id">\(.*\)</launchable>.*:\1:p' "$metainfo")
  [ -f "$prefix/share/applications/$launchable" ] || fail "the metadata launches '$launchable', which is not installed"
  grep -q "<release version=\"$version\"" "$metainfo" || fail "the metadata's release is not $version"
  for b in $(sed -n 's:.*<binary>\(.*\)</binary>.*:\1:p' "$metainfo"); do
    [ -x "$prefix/bin/$b" ] || fail "the metadata provides $b, which is not installed"
  done
  for lang in '' ' xml:lang="zh-CN"'; do
    for tag in name summary; do
      grep -q "<$tag$lang>" "$metainfo" || fail "the metadata has no <$tag$lang>"
    done
    grep -q "<p$lang>" "$metainfo" || fail "the metadata's description has no paragraph <p$lang>"
  done

  # A PNG's width and height are the big-endian words at bytes 16 and 20.
  for png in "$prefix"/share/icons/hicolor/*x*/apps/*.png; do
    want=$(basename "$(dirname "$(dirname "$png")")")
    read -r w h < <(od -An -tu1 -j16 -N8 "$png" | awk '{print $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8}')
    [ "${w}x$h" = "$want" ] || fail "${png#"$prefix"/} is ${w}x$h"
  done
  grep -q '<svg ' "$prefix/share/icons/hicolor/scalable/apps/tessel-icons.svg" || fail "the scalable icon is no SVG"
fi

[ "$failures" -eq 0 ] || { echo "$failures check(s) failed" >&2; exit 1; }
echo "installed tree of ${programs[*]} checked"
