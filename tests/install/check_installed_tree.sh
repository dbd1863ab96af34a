#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a Debian desktop
# meets there: exactly the expected files; programs that state the project's
# version; a menu entry, AppStream file and thumbnailer entry that validate and
# whose names lead to installed files; icons of the sizes their folders say;
# readable manual pages; and the thumbnailer run as a file manager runs it.
#
#   check_installed_tree.sh BUILD_DIR VERSION FIXTURES_DIR PROGRAM...
set -uo pipefail
build=$1 version=$2 fixtures=$3
shift 3
programs=("$@")
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
has() { [[ " ${programs[*]} " == *" $1 "* ]]; }
key() { sed -n "s/^$2=//p" "$1" | head -n1; }  # a key's value in a desktop-style file

cmake --install "$build" --prefix "$prefix/usr" >"$prefix/install.log" 2>&1 || { cat "$prefix/install.log" >&2; exit 1; }
rm "$prefix/install.log"
usr=$prefix/usr

# Exactly these files: a missing one and a stray one (a test library, a header) both fail.
expected=()
for p in "${programs[@]}"; do expected+=("bin/$p" "share/man/man1/$p.1.gz"); done
has tessel-thumbnailer && expected+=(share/thumbnailers/tessel.thumbnailer)
if has tessel-icons; then
  expected+=(share/applications/tessel-icons.desktop share/metainfo/example.tessel.TesselIcons.metainfo.xml
             share/icons/hicolor/scalable/apps/tessel-icons.svg)
  for s in 16 32 48 256; do expected+=("share/icons/hicolor/${s}x$s/apps/tessel-icons.png"); done
fi
diff <(printf '%s\n' "${expected[@]}" | sort) <(cd "$usr" && find . -type f -printf '%P\n' | sort) >&2 ||
  fail "installed files differ from the expected ones (< expected, > installed)"

for p in "${programs[@]}"; do
  out=$(env -u DISPLAY -u WAYLAND_DISPLAY "$usr/bin/$p" --version 2>&1)
  [ "$out" = "$p $version" ] || fail "$p --version printed '$out', not '$p $version'"
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$usr/share/man/man1/$p.1.gz" 2>&1 >"$prefix/page")
  [ -z "$warnings" ] || fail "man -l $p.1.gz warns: $warnings"
  grep -Eq "^ +$p - " "$prefix/page" || fail "$p.1 has no NAME line for $p"
  grep -q "Tessel Icons $version" "$prefix/page" || fail "$p.1 does not show version $version"
done

if has tessel-thumbnailer; then
  entry=$usr/share/thumbnailers/tessel.thumbnailer
  [ -x "$usr/bin/$(key "$entry" TryExec)" ] || fail "the thumbnailer's TryExec is not installed"
  [ "$(key "$entry" Exec)" = "tessel-thumbnailer -s %s %i %o" ] || fail "the thumbnailer's Exec is '$(key "$entry" Exec)'"
  for t in $(key "$entry" MimeType | tr ';' ' '); do
    [ -f "/usr/share/mime/$t.xml" ] || fail "shared-mime-info knows no type $t"
  done
  exec=$(key "$entry" Exec | sed "s|^tessel-thumbnailer|$usr/bin/tessel-thumbnailer|; s|%s|16|; s|%i|$fixtures/mixed.ico|; s|%o|$prefix/t.png|")
  $exec && [ "$(od -An -tx1 -j12 -N12 "$prefix/t.png" | tr -d ' \n')" = 494844520000001000000010 ] ||
    fail "'$exec' wrote no 16x16 PNG"
fi

if has tessel-icons; then
  desktop=$usr/share/applications/tessel-icons.desktop
  desktop-file-validate "$desktop" >&2 || fail "desktop-file-validate tessel-icons.desktop"
  exec=$(key "$desktop" Exec) icon=$(key "$desktop" Icon)
  [ -x "$usr/bin/${exec%% *}" ] || fail "the menu entry runs '$exec', which is not installed"
  [ -n "$(find "$usr/share/icons/hicolor" -name "$icon.*")" ] || fail "the menu entry's icon '$icon' is not installed"

  metainfo=$usr/share/metainfo/example.tessel.TesselIcons.metainfo.xml
  appstreamcli validate --no-net "$metainfo" >"$prefix/as" 2>&1 || { cat "$prefix/as" >&2; fail "appstreamcli validate --no-net"; }
  launchable=$(sed -n 's:.*<launchable type="desktop-id">\(.*\)</launchable>.*:\1:p' "$metainfo")
  [ -f "$usr/share/applications/$launchable" ] || fail "the metadata launches '$launchable', which is not installed"
  grep -q "<release version=\"$version\"" "$metainfo" || fail "the metadata's release is not $version"
  for b in $(sed -n 's:.*<binary>\(.*\)</binary>.*:\1:p' "$metainfo"); do
    [ -x "$usr/bin/$b" ] || fail "the metadata provides $b, which is not installed"
  done
  for tag in '<name>' '<summary>' '<p>' '<name xml:lang="zh-CN">' '<summary xml:lang="zh-CN">' '<p xml:lang="zh-CN">'; do
    grep -q "$tag" "$metainfo" || fail "the metadata has no $tag"
  done

  for png in "$usr"/share/icons/hicolor/*x*/apps/*.png; do
    size=$(basename "$(dirname "$(dirname "$png")")")
    read -r w h < <(od -An -tu1 -j16 -N8 "$png" | awk '{print $3*256+$4, $7*256+$8}')
    [ "${w}x$h" = "$size" ] || fail "${png#"$usr"/} is ${w}x$h"
  done
  grep -q '<svg ' "$usr/share/icons/hicolor/scalable/apps/tessel-icons.svg" || fail "the scalable icon is no SVG"
fi

[ "$failures" -eq 0 ] || { echo "$failures check(s) failed" >&2; exit 1; }
echo "installed tree of ${programs[*]} checked"
