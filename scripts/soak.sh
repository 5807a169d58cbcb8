#!/usr/bin/env bash
# Plays N frames (default 10000) of seeded random input (keys, clicks,
# typing) on the forest map with its monsters and fails on a crash, a
# sanitizer report, or resident memory growing more than 5 % after warm-up.
# The game runs on the content pack of BUILD_DIR (default build).
# Usage: scripts/soak.sh [N] [BUILD_DIR]
set -euo pipefail
frames=${1:-10000}
build=${2:-build}
bin="$build/bin/game"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A closed copy of the forest map: no links, and its own town, so a death's
# revival comes back to it. Memory is then judged on one map's pictures; a
# walk into another map would load that map's pictures and read as growth.
map="$work/forest.Wdm"
"$build/bin/wdmtool" dump "$build/bin/data/地图/林间小路.Wdm" |
    sed -e '/^link /d' -e 's/ townMap=[0-9-]*/ townMap=0/' >"$work/forest.txt"
"$build/bin/wdmtool" pack "$work/forest.txt" "$map"
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
        print(f"{f} mouse {x} {y}"); print(f"{f} button left down"); print(f"{f+1} button left up")
    elif roll < 0.07:
        print(f'{f} text "abc"')
PY
warm=$((frames / 5))
[ "$warm" -ge 1 ] || warm=1
# Under AddressSanitizer freed memory waits in a quarantine (256 MB by
# default) before it is reused, which reads as growth; a small quarantine
# fills during the warm-up. Leaks are still reported by the leak checker.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}quarantine_size_mb=8:thread_local_quarantine_size_kb=64"
# Leaks inside system libraries (font caches) are suppressed as in the tests;
# the plain window framebuffer keeps the GL driver out of the leak check.
export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$(cd "$(dirname "$0")/.." && pwd)/tests/lsan.supp:print_suppressions=0}"
export SDL_FRAMEBUFFER_ACCELERATION=0
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
SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy "$bin" --headless --no-render --frames "$frames" --seed 7 --map "$map" \
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
if [ "$status" -ne 0 ]; then echo "soak: the game ended with status $status"; tail -20 "$log"; exit 1; fi
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
echo "soak: $frames frames (warm-up $warm), RSS ${rss_warm} kB after warm-up, at most ${rss_max} kB: pass"
