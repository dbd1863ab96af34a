#!/usr/bin/env bash
# Times "显示全部图标" in the real window, from Return on its question to the
# grid on the screen, the way a user meets it.
#
#   bench/real_window_showall.sh [--wm] [--answer close|key|wheel|all [--at MS]] [DLL] [COPIES] [RUNS]
#
# Builds a folder of COPIES hard links to DLL (default: Wine's comctl32.dll,
# 7500 copies, 3 runs) under a temporary folder, starts Xvfb on a free display
# (and openbox with --wm), and for each run starts the built tessel-icons on
# the folder with a home and XDG folders of its own, as on a first start.
# Once the window has listed the folder and gone idle, the mouse goes onto the
# folder view, the right button opens the folder menu and a click picks its
# first item; the question comes up, and bench/showall_probe.c presses Return
# and watches the screen until the grid is up (it says how it tells). Prints
# each run and the median beside the target, and beside them a floor measured
# in the same runs: tessel-iconinfo counting the icons of the same folder,
# which opens every file and reads its headers and resource directory, as the
# window's scan does, and draws nothing. Beside each time: how long the window
# and the X server were on a core from Return to the grid, which a loaded
# machine stretches less than the time itself.
#
# Needs Xvfb, xdotool, a C compiler with the X11 headers and libXtst; openbox
# for --wm. BUILD_DIR names the build (default build/). SHOWALL_PERF=PREFIX
# also records each run's show-all with perf record into PREFIX.RUN, with
# DWARF call graphs since the build keeps no frame pointers: a profile, not a
# timing, as perf takes its share of the cores.
#
# With --answer, it times instead how fast the window answers the user in the
# middle of a show-all, beside the bound of 50 ms: RUNS samples (default 5)
# of each kind asked for (all: close, key and wheel), each in a window of its
# own. MS milliseconds after Return (default: half the time of a plain
# show-all of the same folder, timed first), bench/showall_probe.c sends one
# event through XTEST, as the user's devices would, and times it until its
# effect is on the screen, polling every 2 ms:
#   close  Alt+F4 to openbox with --wm, which asks the window to close;
#          without a window manager, the close request (WM_DELETE_WINDOW) it
#          would send. Seen when the main window is no longer viewable; the
#          script then waits for the process to end and says how long that took
#          after the probe saw the window go.
#   key    Up, to the list that has the keyboard focus: the folder list,
#          which the right click that opened the folder menu gave it; its
#          highlight moves from the folder shown to its parent, which it does
#          not open. Seen when a pixel of the left column (the drive box and
#          the two lists) changes: the highlight moved.
#   wheel  one notch down over the middle of the file list, where the pointer
#          waits from before Return. Seen when a pixel of the left column
#          changes: the list scrolled.
# Nothing else draws in the left column during the run. Each sample says when
# the event went (seconds after Return) and whether the grid was already up
# when the effect showed, which would mean the run kept the event waiting to
# its end. SHOWALL_PERF works here too.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
app="$build/src/app/tessel-icons"
iconinfo="$build/src/cli/tessel-iconinfo"
wine=/usr/lib/x86_64-linux-gnu/wine/x86_64-windows

wm=0 answer="" at=""
while [ $# -gt 0 ]; do
  case "$1" in
    --wm) wm=1; shift ;;
    --answer) answer="$2"; shift 2 ;;
    --at) at="$2"; shift 2 ;;
    *) break ;;
  esac
done
case "$answer" in
  "" | close | key | wheel) kinds="$answer" ;;
  all) kinds="close key wheel" ;;
  *) echo "--answer takes close, key, wheel or all" >&2; exit 2 ;;
esac
dll="${1:-$wine/comctl32.dll}"
copies="${2:-7500}"
runs="${3:-$([ -n "$answer" ] && echo 5 || echo 3)}"

for need in "$app" "$iconinfo"; do
  [ -x "$need" ] || { echo "missing $need: build first (tools/build.sh)" >&2; exit 2; }
done
[ -f "$dll" ] || { echo "no such file: $dll" >&2; exit 2; }

# The targets set for the two folders this was written for.
target="none set"
case "$(basename "$dll"):$copies" in
  comctl32.dll:7500) target="at most 1.5 s" ;;
  shell32.dll:160) target="at most 1.2 s" ;;
esac

tmp="$(mktemp -d "${TMPDIR:-/tmp}/showall.XXXXXX")"
xvfb_pid="" wm_pid="" app_pid=""
stop() {
  local pid
  for pid in $app_pid $wm_pid $xvfb_pid; do
    kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null || true
  done
}
trap 'stop; rm -rf "$tmp"' EXIT

cc -O2 -o "$tmp/showall_probe" "$root/bench/showall_probe.c" -lX11 -l:libXtst.so.6

folder="$tmp/icons"
mkdir "$folder"
# Hard links, where the file system allows them: the page cache then holds
# one copy, and every file is read from memory in every run.
perl -e 'my ($from, $to, $n) = @ARGV;
         for my $i (1 .. $n) {
           my $name = sprintf("%s/copy%05d.dll", $to, $i);
           link($from, $name) or system("cp", $from, $name) == 0 or die "$name: $!\n";
         }' "$dll" "$folder" "$copies"

# Xvfb picks a free display itself and writes its number.
Xvfb -displayfd 3 -screen 0 1280x800x24 -dpi 96 -nolisten tcp 3>"$tmp/display" 2>"$tmp/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$tmp/display" ] && break; sleep 0.05; done
[ -s "$tmp/display" ] || { echo "Xvfb did not start:" >&2; cat "$tmp/xvfb.log" >&2; exit 1; }
export DISPLAY=":$(cat "$tmp/display")"
if [ "$wm" = 1 ]; then
  HOME="$tmp" openbox >"$tmp/openbox.log" 2>&1 &
  wm_pid=$!
  sleep 1
fi

# CPU ticks the process has used so far.
ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }

# Waits until the process has stayed idle (at most a tick in 200 ms) for 600 ms.
wait_idle() {
  local last now quiet=0
  last="$(ticks "$1")"
  for _ in $(seq 300); do
    sleep 0.2
    now="$(ticks "$1")"
    if [ $((now - last)) -le 1 ]; then quiet=$((quiet + 1)); else quiet=0; fi
    last="$now"
    [ "$quiet" -ge 3 ] && return 0
  done
  return 1
}

# The first visible window of the app that is none of the windows given;
# waits for it. The menu and the question both bear the app's name, and the
# main window may too before its caption is set.
new_window() {
  local w
  for _ in $(seq 200); do
    for w in $(xdotool search --onlyvisible --pid "$app_pid" 2>/dev/null); do
      [[ " $* " == *" $w "* ]] || { echo "$w"; return 0; }
    done
    sleep 0.05
  done
  return 1
}

now() { date +%s.%N; }
# Nanoseconds the process has spent on a core, and the seconds between two such readings.
cpu_ns() { cut -d' ' -f1 "/proc/$1/schedstat"; }
seconds_since() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", (b - a) / 1e9 }'; }

# Starts the window on the folder and asks for the show-all: sets main and
# question, with the question on the screen.
start_and_ask() {
  local run=$1 home="$tmp/home$1" menu geometry x y w h
  mkdir -p "$home/.config" "$home/.cache" "$home/.local/share" "$home/run"
  chmod 700 "$home/run"
  HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_CACHE_HOME="$home/.cache" \
    XDG_DATA_HOME="$home/.local/share" XDG_RUNTIME_DIR="$home/run" \
    "$app" "$folder" >"$tmp/app$run.log" 2>&1 &
  app_pid=$!
  main="$(xdotool search --sync --onlyvisible --pid "$app_pid" 2>/dev/null | head -1)"
  # The folder is listed once the window has nothing left to do.
  wait_idle "$app_pid" || { echo "the window never went idle" >&2; return 1; }

  # As a user: the pointer on the folder view (right of the folder names, below
  # them), the right button, then the menu's first item.
  xdotool mousemove --window "$main" 100 200 click 3
  menu="$(new_window "$main")" || { echo "no folder menu" >&2; return 1; }
  geometry="$(xdotool getwindowgeometry --shell "$menu")"
  x="$(sed -n 's/^X=//p' <<<"$geometry")"; y="$(sed -n 's/^Y=//p' <<<"$geometry")"
  w="$(sed -n 's/^WIDTH=//p' <<<"$geometry")"; h="$(sed -n 's/^HEIGHT=//p' <<<"$geometry")"
  # Two items and a line between them: the first is the top quarter's middle.
  # The pointer glides there and rests before the click, as a hand's does: a
  # menu takes an item only once the pointer has moved over it.
  sleep 0.1
  xdotool mousemove "$((x + w / 4))" "$((y + h / 4))" sleep 0.05 mousemove "$((x + w / 3))" "$((y + h / 4))" \
    sleep 0.1 click 1
  question="$(new_window "$main" "$menu")" || { echo "no question" >&2; return 1; }
}

start_perf() {
  if [ -n "${SHOWALL_PERF:-}" ]; then
    perf record -q --call-graph dwarf,32768 -F "${SHOWALL_PERF_FREQ:-1000}" -p "$app_pid" -o "$SHOWALL_PERF.$1" >/dev/null 2>&1 &
    perf_pid=$!
    sleep 0.5
  fi
}

stop_perf() {
  if [ -n "${SHOWALL_PERF:-}" ]; then
    kill -INT "$perf_pid"
    wait "$perf_pid" || true
  fi
}

one_run() {
  local run=$1 main question t floor_start perf_pid app_cpu x_cpu
  start_and_ask "$run" || return 1

  start_perf "$run"
  app_cpu="$(cpu_ns "$app_pid")" x_cpu="$(cpu_ns "$xvfb_pid")"
  t="$("$tmp/showall_probe" "$main" "$question" 120)" || return 1
  app_cpu="$(seconds_since "$app_cpu" "$(cpu_ns "$app_pid")")" x_cpu="$(seconds_since "$x_cpu" "$(cpu_ns "$xvfb_pid")")"
  stop_perf
  kill "$app_pid"
  wait "$app_pid" 2>/dev/null || true
  app_pid=""

  floor_start="$(now)"
  "$iconinfo" "$folder"/*.dll >/dev/null
  floor="$(awk -v a="$floor_start" -v b="$(now)" 'BEGIN { printf "%.3f", b - a }')"
  printf 'run %d: %s s (on a core: window %s s, X server %s s)   floor %s s\n' "$run" "$t" "$app_cpu" "$x_cpu" "$floor"
  echo "$t $floor $app_cpu $x_cpu" >>"$tmp/results"
}

median() { sort -g | awk '{ v[NR] = $1 } END { printf "%.3f", NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# One sample of the answer to one kind of event, sent MS after Return.
answer_run() {
  local kind=$1 run=$2 main question out perf_pid seen ended gone
  start_and_ask "$kind-$run" || return 1
  start_perf "$kind-$run"
  out="$("$tmp/showall_probe" --answer "$kind" --at "$at" "$main" "$question" 30)" || return 1
  seen="$(now)"
  stop_perf
  gone=""
  if [ "$kind" = close ]; then
    # The window is gone from the screen; the process ends on its own.
    ended=timeout
    for _ in $(seq 500); do
      kill -0 "$app_pid" 2>/dev/null || { ended=""; break; }
      sleep 0.01
    done
    if [ -z "$ended" ]; then
      gone="$(awk -v a="$seen" -v b="$(now)" 'BEGIN { printf ", process ended %.2f s after", b - a }')"
    else
      gone=", process still running 5 s after"
    fi
  fi
  kill "$app_pid" 2>/dev/null || true
  wait "$app_pid" 2>/dev/null || true
  app_pid=""
  read -r latency when up <<<"$out"
  printf '%-5s %d: %3.0f ms (sent %.3f s after Return%s%s)\n' "$kind" "$run" "$(awk -v l="$latency" 'BEGIN { print l * 1000 }')" \
    "$when" "$([ "$up" = 1 ] && echo ", grid already up")" "$gone"
  echo "$latency" >>"$tmp/answer.$kind"
}


if [ -n "$answer" ]; then
  echo "$(basename "$dll") x $copies, answers to $kinds, $runs each, display $DISPLAY$([ "$wm" = 1 ] && echo ", openbox")," \
    "$(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"
  if [ -z "$at" ]; then
    # The middle of a show-all of this folder, timed first in the same way.
    one_run 0
    at="$(cut -d' ' -f1 "$tmp/results" | awk '{ printf "%.0f", $1 * 500 }')"
  fi
  echo "events sent $at ms after Return"
  for kind in $kinds; do
    for run in $(seq "$runs"); do
      answer_run "$kind" "$run"
    done
  done
  for kind in $kinds; do
    printf '%-5s: median %3.0f ms, worst %3.0f ms (bound 50 ms)\n' "$kind" \
      "$(median <"$tmp/answer.$kind" | awk '{ print $1 * 1000 }')" "$(sort -g "$tmp/answer.$kind" | tail -1 | awk '{ print $1 * 1000 }')"
  done
  echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
  exit 0
fi

echo "$(basename "$dll") x $copies, $runs runs, display $DISPLAY$([ "$wm" = 1 ] && echo ", openbox")," \
  "$(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"
for run in $(seq "$runs"); do
  one_run "$run"
done
shown="$(cut -d' ' -f1 "$tmp/results" | median)"
floor="$(cut -d' ' -f2 "$tmp/results" | median)"
printf 'show-all, Return to grid on screen: median %s s (target %s); on a core: window %s s, X server %s s\n' \
  "$shown" "$target" "$(cut -d' ' -f3 "$tmp/results" | median)" "$(cut -d' ' -f4 "$tmp/results" | median)"
printf 'floor, tessel-iconinfo counting the same folder: median %s s; load average after: %s\n' \
  "$floor" "$(cut -d' ' -f1-3 /proc/loadavg)"
