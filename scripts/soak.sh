#!/usr/bin/env bash
# Plays N frames (default 10000) of seeded random input (keys, clicks,
# typing) on the forest map with its monsters and fails on a crash, a
# sanitizer report, or resident memory growing more than 5 % after warm-up.
# The game runs on the content pack of BUILD_DIR (default build).
#
# With --all-maps it plays every bundled map in turn instead, from the first
# map of a new game. In a copy of the content pack each map gets one more
# door, as large as the map, to the next map of the map table (the last to
# the first); the input releases Up (the key that takes a door) only at the
# end of each map's share of frames. In between it walks, jumps, fights,
# takes the maps' own portals, clicks the right panel's buttons, NPCs,
# dialog choices and windows, turns the wheel and types chat lines that
# Enter sends. The warm-up ends once every map has been visited (a map's
# pictures load on its first visit) and a fifth of the run has passed; short
# runs first check that the tour reaches each map in turn.
# Usage: scripts/soak.sh [N] [BUILD_DIR]
#        scripts/soak.sh --all-maps N [BUILD_DIR]
set -euo pipefail
all_maps=0
if [ "${1:-}" = "--all-maps" ]; then
    all_maps=1
    shift
fi
frames=${1:-10000}
build=${2:-build}
bin="$build/bin/game"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Under AddressSanitizer freed memory waits in a quarantine (256 MB by
# default) before it is reused, which reads as growth; a small quarantine
# fills during the warm-up. Leaks are still reported by the leak checker.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}quarantine_size_mb=8:thread_local_quarantine_size_kb=64"
# Leaks inside system libraries (font caches) are suppressed as in the tests;
# the plain window framebuffer keeps the GL driver out of the leak check.
export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$(cd "$(dirname "$0")/.." && pwd)/tests/lsan.supp:print_suppressions=0}"
export SDL_FRAMEBUFFER_ACCELERATION=0
warm=$((frames / 5))
[ "$warm" -ge 1 ] || warm=1

if [ "$all_maps" -eq 0 ]; then
# A closed copy of the forest map: no links, and its own town, so a death's
# revival comes back to it. Memory is then judged on one map's pictures; a
# walk into another map would load that map's pictures and read as growth.
map="$work/forest.Wdm"
"$build/bin/wdmtool" dump "$build/bin/data/地图/林间小路.Wdm" |
    sed -e '/^link /d' -e 's/ townMap=[0-9-]*/ townMap=0/' >"$work/forest.txt"
"$build/bin/wdmtool" pack "$work/forest.txt" "$map"
game_args=(--map "$map")
python3 - "$frames" > "$work/input.txt" <<'PY'
import random, sys
n = int(sys.argv[1]); r = random.Random(12345)
keys = ["Left", "Right", "Z", "X", "C", "Up", "Down"]
held = set()
for f in range(5, n, 7):
    k = r.choice(keys)
    if k in held:
        print(f"{f} key up {k}"); held.discard(k)
    else:
        print(f"{f} key down {k}"); held.add(k)
    roll = r.random()
    if roll < 0.05:
        x, y = r.randrange(800), r.randrange(600)
        # Not on the system button: its window holds the world still and offers to quit.
        while 746 <= x < 800 and 291 <= y < 327:
            x, y = r.randrange(800), r.randrange(600)
        print(f"{f} mouse {x} {y}"); print(f"{f} button left down"); print(f"{f+1} button left up")
    elif roll < 0.07:
        print(f'{f} text "abc"')
PY
else
# The tour's content pack: links to everything but the maps, which are
# copies with the extra door. Prints the maps in tour order (file names).
data="$work/data"
mkdir -p "$data/地图" "$work/saves"
for entry in "$build"/bin/data/*; do
    [ "$(basename "$entry")" = "地图" ] || ln -s "$(cd "$(dirname "$entry")" && pwd)/$(basename "$entry")" "$data/"
done
python3 - "$build" "$data" > "$work/tour.txt" <<'PY'
import re, subprocess, sys
build, data = sys.argv[1], sys.argv[2]
table = open(f"{build}/bin/data/脚本/Map.csv", "rb").read().decode("gbk")
rows = [(int(n), f) for n, f in re.findall(r'初始地图\((\d+),"([^"]+)"', table)]
rows = [(n, f) for n, f in rows if __import__("os").path.exists(f"{build}/bin/data/地图/{f}")]
if len(rows) < 2:
    sys.exit("soak: fewer than two maps in the map table")
for i, (n, f) in enumerate(rows):
    nxt, nf = rows[(i + 1) % len(rows)]
    text = subprocess.run([f"{build}/bin/wdmtool", "dump", f"{build}/bin/data/地图/{f}"], check=True,
                          capture_output=True).stdout.decode("utf-8").splitlines()
    w = int(re.search(r" width=(\d+)", text[0]).group(1)); h = int(re.search(r" height=(\d+)", text[0]).group(1))
    door = f"link left=0 top=0 width={w} height={h} map={nxt} ground=0 offset=-1 touch=false facing=2"
    # The door comes first, so it is taken before a map's own key links.
    at = next((k for k, line in enumerate(text) if line.startswith("link ")), len(text))
    text.insert(at, door)
    open(f"{data}/地图/{f}.txt", "w", encoding="utf-8").write("\n".join(text) + "\n")
    subprocess.run([f"{build}/bin/wdmtool", "pack", f"{data}/地图/{f}.txt", f"{data}/地图/{f}"], check=True,
                   stdout=subprocess.DEVNULL)
print(" ".join(f for _, f in rows[1:] + rows[:1]))
PY
read -r -a tour <"$work/tour.txt"
maps=${#tour[@]}
game_args=(--data "$data" --save-dir "$work/saves")
# Each map's share: 600 frames (10 s of play), fewer for a short run.
stay=600
[ $((frames / (2 * maps))) -ge "$stay" ] || stay=$((frames / (2 * maps)))
if [ "$stay" -lt 60 ]; then echo "soak: $frames frames are too few for a tour of $maps maps"; exit 1; fi
python3 - "$frames" "$stay" > "$work/input.txt" <<'PY'
import random, sys
n, stay = int(sys.argv[1]), int(sys.argv[2])
r = random.Random(24680)
keys = ["Left", "Right", "Left", "Right", "X", "Z", "Z", "C", "V", "Down", "Alt", "A", "S", "D", "Q"]
# The right panel's buttons (x 750..798) but the last: its system window holds
# the world still (no door is taken while it shows) and offers to quit.
panel = [180, 215, 245, 275]
def off_system_button(x, y):
    return not (746 <= x < 800 and 291 <= y < 327)
words = ["hello", "abc 123", "你好", "[系统]", "@exit", "  ", "测试聊天 test", "x" * 60]
held = set()
lines = []
def out(f, text):
    lines.append((f, len(lines), f"{f} {text}"))
start = 30  # the first map is playing by then
for seg in range(start, n, stay):
    end = min(seg + stay, n)
    f = seg + 2
    while f < end - 40:
        roll = r.random()
        if roll < 0.55:
            k = r.choice(keys)
            out(f, f"key {'up' if k in held else 'down'} {k}")
            held.symmetric_difference_update({k})
        elif roll < 0.75:  # somewhere on the map: NPCs, monsters, dialog choices
            out(f, f"mouse {r.randrange(740)} {r.randrange(545)}")
            out(f + 1, f"button {'left' if r.random() < 0.85 else 'right'} down")
            out(f + 2, "button left up"); out(f + 2, "button right up")
        elif roll < 0.87:  # a right panel button: its window opens or closes
            out(f, f"mouse {r.randrange(752, 796)} {r.choice(panel)}")
            out(f + 1, "button left down"); out(f + 2, "button left up")
        elif roll < 0.95:  # anywhere: windows, their close buttons, the chat box
            x, y = r.randrange(800), r.randrange(600)
            while not off_system_button(x, y):
                x, y = r.randrange(800), r.randrange(600)
            out(f, f"mouse {x} {y}")
            out(f + 1, "button left down"); out(f + 3, "button left up")
        elif roll < 0.97:
            out(f, f"wheel {r.choice([-3, -1, 1, 2])}")
        elif f < end - 80:  # a chat line: Enter, typing, Enter sends it
            for k in sorted(held):
                out(f, f"key up {k}")
            held.clear()
            out(f, "key down Enter"); out(f + 1, "key up Enter")
            text = r.choice(words).replace("\\", "\\\\").replace('"', '\\"')
            out(f + 4, f'text "{text}"')
            out(f + 10, "key down Enter"); out(f + 11, "key up Enter")
            f += 12
        f += r.randrange(3, 12)
    # The map's share is over: let go of everything and take the door.
    if end < n:
        for k in sorted(held):
            out(end - 30, f"key up {k}")
        held.clear()
        out(end - 30, "button left up")
        out(end - 4, "key down Up"); out(end - 2, "key up Up")
lines.sort()
print("\n".join(text for _, _, text in lines))
PY
# The warm-up: a fifth of the run, and at least one whole tour and one map more.
[ "$warm" -ge $(((maps + 1) * stay + 30)) ] || warm=$(((maps + 1) * stay + 30))
if [ "$warm" -ge "$frames" ]; then echo "soak: $frames frames are too few for a warm-up over $maps maps"; exit 1; fi
# The tour reaches each map in turn: a short run per stop, a few frames after
# its door, dumps the map it is on.
for ((k = 0; k < maps; k++)); do
    at=$((30 + (k + 1) * stay + 5))
    SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy "$bin" --headless --no-render --frames "$at" --seed 7 \
        "${game_args[@]}" --input "$work/input.txt" --dump-state "$work/stop.json" >"$work/stop.log" 2>&1 ||
        { echo "soak: the check run to frame $at failed"; tail -20 "$work/stop.log"; exit 1; }
    on=$(python3 -c 'import json, sys; print(json.load(open(sys.argv[1]))["map"]["name"])' "$work/stop.json")
    if [ "$on" != "${tour[$k]}" ]; then
        echo "soak: at frame $at the tour is on $on, not ${tour[$k]}"; exit 1
    fi
done
echo "soak: the tour visits ${tour[*]} in turn, $stay frames each"
fi

log="$work/game.log"
# Logic only: the draw code runs every frame, the pixels are left out. The
# one picture, of the warm-up's last frame, tells the sampler below that the
# warm-up (loading and the caches filling) is over.
marker="$work/warm.png"
# A second picture, of the last frame, ends the sampling: what comes after it
# is the shutdown (under the sanitizers the leak checker's scan of the whole
# heap), not play.
end_marker="$work/end.png"
last=$((frames - 1))
[ "$last" -gt "$warm" ] || last=$frames
started=$(date +%s.%N)
SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy "$bin" --headless --no-render --frames "$frames" --seed 7 "${game_args[@]}" \
    --input "$work/input.txt" --screenshot "$warm:$marker" --screenshot "$last:$end_marker" >"$log" 2>&1 &
pid=$!
# RSS samples "warm kB" every 20 ms (a logic-only run is quick), warm 1 once
# the warm-up picture exists; read without starting a process per sample.
samples="$work/rss.txt"
: >"$samples"
while kill -0 "$pid" 2>/dev/null; do
    [ -e "$end_marker" ] && break
    done_warm=0
    [ -e "$marker" ] && done_warm=1
    rss=0
    while read -r key value _; do
        if [ "$key" = "VmRSS:" ]; then rss=$value; break; fi
    done 2>/dev/null <"/proc/$pid/status" || true
    [ "$rss" -gt 0 ] && echo "$done_warm $rss" >>"$samples"
    sleep 0.02
done
status=0
wait "$pid" || status=$?
seconds=$(python3 -c 'import sys, time; print(f"{time.time() - float(sys.argv[1]):.0f}")' "$started")
if [ "$status" -ne 0 ]; then echo "soak: the game ended with status $status"; tail -20 "$log"; exit 1; fi
if [ ! -e "$end_marker" ]; then echo "soak: the game ended before frame $last"; tail -20 "$log"; exit 1; fi
if grep -qE "ERROR: (Address|Leak|Undefined)Sanitizer|runtime error:" "$log"; then
    echo "soak: sanitizer report"; grep -E "Sanitizer|runtime error" "$log" | head; exit 1
fi
# The baseline is the largest sample up to the first one after the warm-up;
# the later ones may exceed it by 5 %.
read -r rss_warm rss_max < <(awk 'BEGIN { w = 0; m = 0; after = 0 }
    { if (!after) { if ($2 > w) w = $2; after = $1 } else if ($2 > m) m = $2 }
    END { print w + 0, m + 0 }' "$samples")
if [ "$rss_warm" -gt 0 ] && [ $((rss_max * 100)) -gt $((rss_warm * 105)) ]; then
    echo "soak: memory grew from ${rss_warm} kB to ${rss_max} kB"; exit 1
fi
echo "soak: $frames frames (warm-up $warm) in ${seconds} s, RSS ${rss_warm} kB after warm-up, at most ${rss_max} kB: pass"
