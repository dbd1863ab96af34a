#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a Debian desktop meets there: exactly
# the expected files; each program's --version and manual page; menu entry, metadata and
# thumbnailer entry valid, naming installed files; icon sizes; the program's page; the thumbnailer run as its entry says.
#   check_installed_tree.sh BUILD_DIR VERSION FIXTURES_DIR PROGRAM...
set -uo pipefail
build=$1 version=$2 fixtures=$3 programs=("${@:4}") tmp=$(mktemp -d) failures=0 && usr=$tmp/usr && trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
has() { [[ " ${programs[*]} " == *" $1 "* ]]; }
key() { sed -n "s/^$2=//p" "$1" | head -n1; }
cmake --install "$build" --prefix "$usr" >"$tmp/log" 2>&1 || { cat "$tmp/log" >&2; exit 1; }
expected=()
for p in "${programs[@]}"; do expected+=("bin/$p" "share/man/man1/$p.1.gz"); done
expected+=(share/thumbnailers/tessel.thumbnailer share/doc/tessel-icons/copyright share/doc/tessel-icons/changelog.Debian.gz
  share/doc/tessel-icons/index.html share/lintian/overrides/tessel-icons)
has tessel-icons && expected+=(share/applications/tessel-icons.desktop share/metainfo/example.tessel.TesselIcons.metainfo.xml
  share/icons/hicolor/{16x16,32x32,48x48,256x256}/apps/tessel-icons.png share/icons/hicolor/scalable/apps/tessel-icons.svg)
diff <(printf '%s\n' "${expected[@]}" | sort) <(cd "$usr" && find . -type f -printf '%P\n' | sort) >&2 ||
  fail "installed files differ from the expected ones (< expected, > installed)"
for p in "${programs[@]}"; do
  [ "$(env -u DISPLAY "$usr/bin/$p" --version 2>&1)" = "$p $version" ] || fail "$p --version is not '$p $version'"
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$usr/share/man/man1/$p.1.gz" 2>&1 >"$tmp/page")
  [ -z "$warnings" ] && grep -Eq "^ +$p - " "$tmp/page" && grep -q "Tessel Icons $version" "$tmp/page" || fail "$p.1: $warnings"
done
doc=$usr/share/doc/tessel-icons
# The copyright file's licence paragraph, its continuation lines unfolded, is LICENSE's text after the copyright line.
diff <(sed -n '/^License:/,$p' "$doc/copyright" | tail -n +2 | sed 's/^ //; s/^\.$//') \
     <(sed '1,/^Copyright (c)/d' "${BASH_SOURCE%/*}/../../LICENSE" | tail -n +2) >&2 || fail "$doc/copyright disagrees with LICENSE"
grep -qx "Copyright: $(sed -n 's/^Copyright (c) //p' "${BASH_SOURCE%/*}/../../LICENSE")" "$doc/copyright" || fail "$doc/copyright: holder"
[ "$(zcat "$doc/changelog.Debian.gz" | dpkg-parsechangelog -l- -SVersion)" = "$version-1" ] || fail "$doc/changelog.Debian.gz"
python3 "${BASH_SOURCE%/*}/check_page.py" "$doc/index.html" || fail "$doc/index.html"
entry=$usr/share/thumbnailers/tessel.thumbnailer
[ "$(key "$entry" Exec)" = "tessel-thumbnailer -s %s %i %o" ] && [ -x "$usr/bin/$(key "$entry" TryExec)" ] || fail "$entry"
# Newer MIME databases add types this one may lack, but every type this one gives a file by its name is listed.
for ext in exe ico cur ani; do
  for t in $(sed -n "s/^[0-9]*:\([^:]*\):\*\.$ext\$/\1/p" /usr/share/mime/globs2); do
    [[ ";$(key "$entry" MimeType)" == *";$t;"* ]] || fail "$entry lacks $t, the type of *.$ext here"
  done
done
cmd=$(key "$entry" Exec | sed "s|^|$usr/bin/|; s|%s|16|; s|%i|$fixtures/mixed.ico|; s|%o|$tmp/t.png|")
$cmd && [ "$(od -An -tx1 -j12 -N12 "$tmp/t.png" | tr -d ' \n')" = 494844520000001000000010 ] || fail "$cmd: no 16x16 PNG"
if has tessel-icons; then
  desktop=$usr/share/applications/tessel-icons.desktop metainfo=$usr/share/metainfo/example.tessel.TesselIcons.metainfo.xml
  desktop-file-validate "$desktop" >&2 || fail "$desktop"
  appstreamcli validate --no-net "$metainfo" >"$tmp/log" 2>&1 || { cat "$tmp/log" >&2; fail "$metainfo"; }
  grep -q "<release version=\"$version\"" "$metainfo" || fail "the metadata's release is not $version"
  for t in name summary p; do grep -q "<$t>" "$metainfo" && grep -q "<$t xml:lang=\"zh-CN\">" "$metainfo" || fail "<$t>"; done
  for t in $(key "$desktop" MimeType | tr ';' ' '); do [ -f "/usr/share/mime/$t.xml" ] || fail "no MIME type $t"; done
  for f in "$(key "$desktop" Exec | cut -d' ' -f1)" "$(key "$desktop" Icon).png" "$(sed -n 's:.*<launchable type="desktop-id">\(.*\)<.*:\1:p' "$metainfo")" \
           $(sed -n 's:.*<binary>\(.*\)</binary>.*:\1:p' "$metainfo"); do
    [ -n "$(find "$usr" -name "$f")" ] || fail "the entry or metadata names $f, which is not installed"
  done
  for png in "$usr"/share/icons/hicolor/*x*/apps/*.png; do  # IHDR's width and height, big-endian, at byte 16
    [[ $png == */$(od -An -tu1 -j16 -N8 "$png" | awk '{print $3*256+$4 "x" $7*256+$8}')/* ]] || fail "$png: wrong size"
  done
fi
[ "$failures" -eq 0 ] || { echo "$failures check(s) failed" >&2; exit 1; }
